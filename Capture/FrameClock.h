// FrameClock: the arithmetic of the capture's fixed clock. Frame n of the show is
// rendered at time(n) = round(n * 1000 / fps) milliseconds after the start, whatever
// the machine's speed. Pure functions; fps is 1 to 240, frame indices fit 64 bits.
#pragma once

#include <cstdint>

class FrameClock {
public:
    // SDL tick count handed to the scenes at the start of the show. Not 0: a scene
    // takes a start time of 0 for "not started yet", so a tick of 0 would be lost.
    static constexpr unsigned BASE_TICK = 1000;

    explicit FrameClock(int fps) : m_fps(fps) {}

    int fps() const { return m_fps; }
    // Milliseconds after the start at which frame n is rendered (halves round up).
    uint64_t timeOf(uint64_t frame) const;
    // The tick the scenes get for frame n: BASE_TICK + timeOf(n), wrapping as SDL's does.
    unsigned tickOf(uint64_t frame) const;
    // The first frame rendered at or after ms.
    uint64_t firstFrameFrom(uint64_t ms) const;
    // The frame on screen at ms: the last one rendered at or before ms.
    uint64_t frameShownAt(uint64_t ms) const;
    // Audio frames (samples per channel) from the start to the time of frame n at
    // sampleRate Hz: round(n * sampleRate / fps), so the sound and the pictures share
    // one exact timeline rather than the millisecond-rounded one.
    static uint64_t samplesAt(uint64_t frame, int fps, int sampleRate);

private:
    int m_fps;
};
