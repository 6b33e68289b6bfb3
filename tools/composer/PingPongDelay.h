// PingPongDelay: an echo that alternates between the sides. Delay in frames,
// feedback 0 to <1; the echoes are low-passed a little each round so they
// recede. process() reads a dry bus and adds only the echoes to another bus.
#pragma once

#include <cstddef>

class StereoBuffer;

class PingPongDelay {
public:
    PingPongDelay(size_t delayFrames, double feedback);

    void process(const StereoBuffer& in, StereoBuffer& out, float wet) const;

private:
    size_t m_delay;
    float m_feedback;
};
