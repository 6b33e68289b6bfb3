// FrameClock: integer arithmetic only, so two runs agree to the millisecond.
#include "Capture/FrameClock.h"

uint64_t FrameClock::timeOf(uint64_t frame) const
{
    const uint64_t fps = static_cast<uint64_t>(m_fps);
    return (frame * 2000u + fps) / (2u * fps);
}

unsigned FrameClock::tickOf(uint64_t frame) const
{
    return static_cast<unsigned>(BASE_TICK + timeOf(frame));
}

uint64_t FrameClock::firstFrameFrom(uint64_t ms) const
{
    // timeOf is non-decreasing and grows by at least 4 ms a frame (fps <= 240):
    // start from the estimate below and step up.
    uint64_t frame = ms * static_cast<uint64_t>(m_fps) / 1000u;
    while (frame > 0 && timeOf(frame - 1) >= ms)
        --frame;
    while (timeOf(frame) < ms)
        ++frame;
    return frame;
}

uint64_t FrameClock::frameShownAt(uint64_t ms) const
{
    const uint64_t next = firstFrameFrom(ms);
    return timeOf(next) == ms ? next : next - 1;  // next > 0 here: timeOf(0) = 0 <= ms
}

uint64_t FrameClock::samplesAt(uint64_t frame, int fps, int sampleRate)
{
    const uint64_t f = static_cast<uint64_t>(fps);
    return (frame * static_cast<uint64_t>(sampleRate) * 2u + f) / (2u * f);
}
