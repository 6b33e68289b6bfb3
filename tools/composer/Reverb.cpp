// Reverb: comb and all-pass network; depends on StereoBuffer.
#include "tools/composer/Reverb.h"

#include <cassert>

#include "tools/composer/StereoBuffer.h"

namespace {

// Mutually prime-ish lengths keep the echoes from piling up into a pitch.
const int COMB_LENGTHS[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
const int PASS_LENGTHS[4] = {556, 441, 341, 225};
const int STEREO_SPREAD = 23;

}  // namespace

Reverb::Reverb(double feedback, double damping)
    : m_feedback(static_cast<float>(feedback)), m_damping(static_cast<float>(damping))
{
    assert(feedback >= 0.0 && feedback < 1.0);
    for (int side = 0; side < 2; ++side) {
        for (int length : COMB_LENGTHS)
            m_combs[side].push_back(
                Comb{std::vector<float>(length + side * STEREO_SPREAD, 0.0f), 0, 0.0f});
        for (int length : PASS_LENGTHS)
            m_passes[side].push_back(
                AllPass{std::vector<float>(length + side * STEREO_SPREAD, 0.0f), 0});
    }
}

float Reverb::runSide(float input, std::vector<Comb>& combs, std::vector<AllPass>& passes)
{
    float sum = 0.0f;
    for (Comb& c : combs) {
        float y = c.buffer[c.index];
        c.store = y * (1.0f - m_damping) + c.store * m_damping;
        c.buffer[c.index] = input + c.store * m_feedback;
        if (++c.index == c.buffer.size())
            c.index = 0;
        sum += y;
    }
    for (AllPass& p : passes) {
        float b = p.buffer[p.index];
        float y = b - sum;
        p.buffer[p.index] = sum + b * 0.5f;
        if (++p.index == p.buffer.size())
            p.index = 0;
        sum = y;
    }
    return sum;
}

void Reverb::process(const StereoBuffer& in, StereoBuffer& out, float wet)
{
    assert(in.frames() == out.frames());
    // The combs sum eight copies: a small input gain keeps the tail in range.
    const float inputGain = 0.015f;
    for (size_t i = 0; i < in.frames(); ++i) {
        float mono = (in.left()[i] + in.right()[i]) * inputGain;
        float l = runSide(mono, m_combs[0], m_passes[0]);
        float r = runSide(mono, m_combs[1], m_passes[1]);
        out.left()[i] += l * wet;
        out.right()[i] += r * wet;
    }
}
