// SoundSample: one sound of the sound layer: an MP3 file checked when it was opened
// (format, exact length, first frames), kept open and decoded only while a channel
// plays it (each channel streams it through its own SoundStream). Owned by its
// SoundSystem; lengths in frames of the file's own sample rate.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class SoundFile;
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

private:
    friend class SoundSystem;  // the only creator and owner
    friend struct std::default_delete<SoundSample>;
    SoundSample(SoundSystem& system, std::shared_ptr<const SoundFile> file, int64_t frames,
                int sampleRate, unsigned int mode, const std::string& name);
    ~SoundSample();
    SoundSample(const SoundSample&) = delete;
    SoundSample& operator=(const SoundSample&) = delete;

    bool loops() const;  // opened with looping on

    SoundSystem& m_system;
    std::shared_ptr<const SoundFile> m_file;  // shared with the streams that play it
    int64_t m_frames;                         // exact length
    int m_sampleRate;                         // Hz
    unsigned int m_mode;                      // SoundSystem::Mode* bits given at creation
    std::string m_name;
};
