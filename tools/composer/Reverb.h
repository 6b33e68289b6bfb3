// Reverb: a stereo room of eight damped feedback combs and four all-passes per
// side (delay lengths in samples at 44.1 kHz, the right side offset by 23 samples
// for width). process() reads a dry bus and adds the wet signal to another bus.
#pragma once

#include <cstddef>
#include <vector>

class StereoBuffer;

class Reverb {
public:
    // feedback 0 to <1 sets the room size; damping 0 to 1 dulls the tail.
    Reverb(double feedback, double damping);

    void process(const StereoBuffer& in, StereoBuffer& out, float wet);

private:
    struct Comb {
        std::vector<float> buffer;
        size_t index;
        float store;
    };
    struct AllPass {
        std::vector<float> buffer;
        size_t index;
    };

    float runSide(float input, std::vector<Comb>& combs, std::vector<AllPass>& passes);

    float m_feedback;
    float m_damping;
    std::vector<Comb> m_combs[2];
    std::vector<AllPass> m_passes[2];
};
