// FrameTime: conversions between clock times and sound positions, shared by the
// players of every platform so that both hear the same frame at the same time.
// Positions are sample frames in 32.32 fixed point; rates in Hz.
#pragma once

#include <cstdint>

namespace frameTime {

// Source frames (32.32, rounded up) played at sampleRate in elapsedNs nanoseconds;
// 0 when elapsedNs <= 0.
uint64_t framesIn(int64_t elapsedNs, int sampleRate);
// The position of ms milliseconds, rounded up to the next 2^-32 frame, so that
// toMs gives ms back.
uint64_t fromMs(unsigned int ms, int sampleRate);
// Milliseconds of a position, rounded down.
unsigned int toMs(uint64_t position, int sampleRate);

}  // namespace frameTime
