// Prng: the composer's own pseudo-random generator (xorshift32 with a splitmix
// seed scramble), so that a render never depends on the C library's rand or on
// std distributions. Same seed, same sequence, on every platform.
#pragma once

#include <cstdint>

class Prng {
public:
    explicit Prng(uint32_t seed);

    uint32_t nextU32();
    // Uniform in [0, 1).
    float nextUnit();
    // Uniform in [-1, 1).
    float nextSigned();

private:
    uint32_t m_state;
};
