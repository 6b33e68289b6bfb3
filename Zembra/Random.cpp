// Random: 31-bit linear congruential generator with a 15-bit output; no dependencies.
#include "Zembra/Random.h"

// Unseeded runs behave as if seeded with 1, as the C library generator does.
uint32_t Random::s_state = 1;

void Random::seed(uint32_t value)
{
    s_state = value;
}

int Random::next()
{
    // The portable generator of the C standard: its range is exactly 0..32767 on
    // every platform, unlike the host library's rand.
    s_state = s_state * 1103515245u + 12345u;
    return static_cast<int>((s_state / 65536u) % 32768u);
}
