// Random: the one pseudo-random sequence of the run, values 0 to 32767 inclusive.
// Process-wide state, like the C library generator it replaces: the entry routine
// seeds it once from the settings; tests reseed it to replay a fixed sequence.
#pragma once

#include <cstdint>

class Random {
public:
    static constexpr int MAX = 32767;

    // Restarts the sequence; the same seed always yields the same values.
    static void seed(uint32_t value);
    // Next value of the sequence, 0 <= value <= MAX.
    static int next();

private:
    static uint32_t s_state;
};
