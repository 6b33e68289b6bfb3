// AudioOutput: the process's one audio device, through SDL 1.2's audio subsystem at
// 44.1 kHz, 16-bit signed stereo. Owns the subsystem and the device; its Source is
// called on SDL's audio thread from start() until the destructor, which joins that
// thread. Without a usable device it falls back to SDL's dummy driver, which plays
// nothing (silent() is then true).
#pragma once

#include <cstdint>

class AudioOutput {
public:
    static constexpr int RATE = 44100;  // Hz

    // What the device plays: called on the audio thread for every buffer.
    class Source {
    public:
        virtual void fill(int16_t* out, int frames) = 0;  // frames stereo frames at out

    protected:
        ~Source() = default;
    };

    // Opens the device, paused. While the hardware is probed standard error is
    // silenced (drivers print their own noise); when no device opens, one line on
    // standard error says that the music goes on through the dummy driver. Throws
    // SoundError: DEVICE_IN_USE (another AudioOutput is open) or AUDIO_DEVICE (not
    // even the dummy driver opens).
    explicit AudioOutput(Source& source);
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    void start();  // starts the calls of the source
    bool silent() const { return m_silent; }

private:
    static void callback(void* self, unsigned char* stream, int length);

    Source& m_source;
    bool m_silent;
    static bool s_open;  // SDL 1.2 offers one audio device per process
};
