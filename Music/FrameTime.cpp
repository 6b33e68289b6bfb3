// FrameTime: exact integer arithmetic, so that a time converted to frames and back
// lands on the same millisecond on every platform.
#include "Music/FrameTime.h"

namespace frameTime {

uint64_t framesIn(int64_t elapsedNs, int sampleRate)
{
    if (elapsedNs <= 0)
        return 0;
    // Split into whole frames and a remainder so that no product overflows 64 bits
    // for elapsed times up to days. The fraction is rounded up: a time converted back
    // from the frames (rounded down to whole milliseconds) is then never a unit short.
    const uint64_t scaled = static_cast<uint64_t>(elapsedNs) * static_cast<uint64_t>(sampleRate);
    const uint64_t whole = scaled / 1000000000ull;
    const uint64_t rest = scaled % 1000000000ull;
    return (whole << 32) + ((rest << 32) + 999999999ull) / 1000000000ull;
}

uint64_t fromMs(unsigned int ms, int sampleRate)
{
    const uint64_t scaled = static_cast<uint64_t>(ms) * static_cast<uint64_t>(sampleRate);
    return ((scaled / 1000u) << 32) + (((scaled % 1000u) << 32) + 999u) / 1000u;
}

unsigned int toMs(uint64_t position, int sampleRate)
{
    // position is 32.32 frames: ms = frames * 1000 / rate, rounded down.
    const uint64_t rate = static_cast<uint64_t>(sampleRate);
    const uint64_t frames = position >> 32;
    const uint64_t fraction = position & 0xffffffffu;
    const uint64_t ms = frames * 1000u / rate;
    const uint64_t rest = frames * 1000u % rate;
    const uint64_t extra = (rest * 4294967296ull + fraction * 1000u) / (rate << 32);
    return static_cast<unsigned int>(ms + extra);
}

}  // namespace frameTime
