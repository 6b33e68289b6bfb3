// Prng: xorshift32; depends on nothing.
#include "tools/composer/Prng.h"

Prng::Prng(uint32_t seed)
{
    // Scramble the seed so that neighbouring seeds give unrelated streams, and
    // keep the state non-zero (xorshift stays at 0 forever otherwise).
    uint32_t z = seed + 0x9E3779B9u;
    z = (z ^ (z >> 16)) * 0x85EBCA6Bu;
    z = (z ^ (z >> 13)) * 0xC2B2AE35u;
    z ^= z >> 16;
    m_state = z != 0 ? z : 0x6D2B79F5u;
}

uint32_t Prng::nextU32()
{
    uint32_t x = m_state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    m_state = x;
    return x;
}

float Prng::nextUnit()
{
    // 24 bits fit a float mantissa exactly, so the result is below 1.
    return static_cast<float>(nextU32() >> 8) * (1.0f / 16777216.0f);
}

float Prng::nextSigned()
{
    return nextUnit() * 2.0f - 1.0f;
}
