// PingPongDelay: cross-fed stereo echo; depends on StereoBuffer.
#include "tools/composer/PingPongDelay.h"

#include <cassert>
#include <vector>

#include "tools/composer/StereoBuffer.h"

PingPongDelay::PingPongDelay(size_t delayFrames, double feedback)
    : m_delay(delayFrames), m_feedback(static_cast<float>(feedback))
{
    assert(delayFrames > 0 && feedback >= 0.0 && feedback < 1.0);
}

void PingPongDelay::process(const StereoBuffer& in, StereoBuffer& out, float wet) const
{
    assert(in.frames() == out.frames());
    const size_t n = in.frames();
    std::vector<float> left(n, 0.0f), right(n, 0.0f);
    float toneL = 0.0f, toneR = 0.0f;
    for (size_t i = 0; i < n; ++i) {
        // The first echo enters on the left; each repeat crosses to the other side.
        float fromL = i >= m_delay ? left[i - m_delay] : 0.0f;
        float fromR = i >= m_delay ? right[i - m_delay] : 0.0f;
        float input = (in.left()[i] + in.right()[i]) * 0.5f;
        float nextL = input + fromR * m_feedback;
        float nextR = fromL * m_feedback;
        toneL += 0.45f * (nextL - toneL);
        toneR += 0.45f * (nextR - toneR);
        left[i] = toneL;
        right[i] = toneR;
        out.left()[i] += fromL * wet;
        out.right()[i] += fromR * wet;
    }
}
