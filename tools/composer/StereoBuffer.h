// StereoBuffer: two float channels of a fixed number of frames, the bus that the
// composer's voices mix into. Samples are linear, full scale = 1.0. Writes past
// the end are dropped, so a note's release may run over the end of the piece.
#pragma once

#include <cstddef>
#include <vector>

class StereoBuffer {
public:
    explicit StereoBuffer(size_t frames);

    size_t frames() const { return m_left.size(); }

    // Adds a mono sample at frame with the given pan (-1 left .. +1 right,
    // equal-power law).
    void addPanned(long frame, float value, float pan);
    void add(long frame, float left, float right);
    // Adds other, scaled by gain, frame for frame.
    void mix(const StereoBuffer& other, float gain);
    void scale(size_t frame, float gain);
    // Soft saturation y = tanh(drive * x) / drive: unity gain for small
    // samples, rounds off rare summed peaks (|y| < 1 / drive) instead of
    // leaving them to the final limiter.
    void saturate(float drive);

    std::vector<float>& left() { return m_left; }
    std::vector<float>& right() { return m_right; }
    const std::vector<float>& left() const { return m_left; }
    const std::vector<float>& right() const { return m_right; }

private:
    std::vector<float> m_left;
    std::vector<float> m_right;
};
