// SoundSample: one sound of the sound layer, the whole file decoded to interleaved
// floats (full scale -1 to 1) at its own sample rate. Owned by its SoundSystem; the
// decoded data never changes while the sound exists, so the audio thread reads it freely.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class SoundSystem;

class SoundSample {
public:
    // Stops every channel playing this sound, then destroys it. The handle is
    // invalid afterwards.
    int release();

    // Length of the sound; timeUnit must be SoundSystem::TimeUnitMs (milliseconds, rounded down).
    int getLength(unsigned int* length, unsigned int timeUnit) const;
    // Copies the sound's name (its file name without the directories) into name,
    // at most length - 1 characters and a terminating zero.
    int getName(char* name, int length) const;

    const float* data() const { return m_data.data(); }
    size_t frameCount() const { return m_frames; }
    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }
    unsigned int mode() const { return m_mode; }
    bool loops() const;  // opened with looping on

private:
    friend class SoundSystem;  // the only creator and owner
    friend struct std::default_delete<SoundSample>;
    SoundSample(SoundSystem& system, std::vector<float>&& data, int channels, int sampleRate,
                unsigned int mode, const std::string& name);
    ~SoundSample() = default;
    SoundSample(const SoundSample&) = delete;
    SoundSample& operator=(const SoundSample&) = delete;

    SoundSystem& m_system;
    std::vector<float> m_data;  // frames x channels
    size_t m_frames;
    int m_channels;
    int m_sampleRate;           // Hz
    unsigned int m_mode;        // SoundSystem::Mode* bits given at creation
    std::string m_name;
};
