// Soundtrack: the show's music decoded whole, for the video's sound track. Owns the
// samples (interleaved floats, full scale -1 to 1); the scenes' spectrum comes from
// the player (Music on the capture's clock), not from here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Soundtrack {
public:
    // Decodes the file. On failure returns false, keeps nothing and sets reason.
    bool load(const std::string& path, std::string& reason);
    bool loaded() const { return m_channels > 0; }

    const float* data() const { return m_samples.data(); }
    uint64_t frames() const { return m_frames; }  // audio frames (samples per channel)
    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }

private:
    std::vector<float> m_samples;
    uint64_t m_frames = 0;
    int m_channels = 0;
    int m_sampleRate = 0;  // Hz
};
