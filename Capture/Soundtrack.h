// Soundtrack: the show's music decoded whole, read at times the capture sets
// instead of from an audio device. Answers the player's spectrum query (see
// SpectrumSource) as a channel playing since time 0 would at the set time, and
// lends its samples to the video's sound. Owns the samples and one analyser.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Music/SpectrumSource.h"

class SpectrumAnalyser;

class Soundtrack : public SpectrumSource {
public:
    Soundtrack();
    ~Soundtrack() override;

    // Decodes the file. On failure returns false, keeps nothing and sets reason.
    bool load(const std::string& path, std::string& reason);
    bool loaded() const { return m_channels > 0; }

    // Milliseconds since the music started.
    void setTime(uint64_t ms);
    // count magnitudes of the first channel over the 2 * count samples that end at
    // the sample heard at the set time (triangle window); zeros before anything is
    // loaded and once the track has ended, as from a stopped channel.
    void getSpectrum(float* array, int count) override;
    // Band 2 of the last spectrum handed out since setTime, or -1 when none was.
    float lastBand2() const { return m_lastBand2; }

    const float* data() const { return m_samples.data(); }
    uint64_t frames() const { return m_frames; }  // audio frames (samples per channel)
    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }

private:
    std::vector<float> m_samples;  // interleaved, full scale -1 to 1
    uint64_t m_frames;
    int m_channels;
    int m_sampleRate;
    uint64_t m_timeMs;
    float m_lastBand2;
    std::unique_ptr<SpectrumAnalyser> m_analyser;  // made for the first count asked
};
