// DrumKit: synthesised percussion (kick, snare, clap, closed and open hat,
// shaker), each hit rendered into a StereoBuffer at a start frame. Velocity 0 to
// 1 scales the level; pan -1 (left) to +1 (right). Noise comes from the kit's own
// Prng, so the hits depend only on the order in which they are rendered.
#pragma once

#include "tools/composer/Prng.h"

class StereoBuffer;

class DrumKit {
public:
    DrumKit(double sampleRate, uint32_t seed);

    // Pitch sweeps from about 3x down to the body frequency (hertz); decay is
    // the body's time constant in seconds.
    void kick(StereoBuffer& out, long frame, float velocity, double body, double decay);
    void snare(StereoBuffer& out, long frame, float velocity, float pan);
    void clap(StereoBuffer& out, long frame, float velocity, float pan);
    void hat(StereoBuffer& out, long frame, float velocity, float pan, bool open);
    void shaker(StereoBuffer& out, long frame, float velocity, float pan);
    // Filtered noise swelling over seconds into the next downbeat.
    void riser(StereoBuffer& out, long frame, double seconds, float velocity);

private:
    double m_rate;
    Prng m_noise;
};
