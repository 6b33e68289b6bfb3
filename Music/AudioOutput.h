// AudioOutput: the process's one audio device, through SDL 1.2's audio subsystem at
// 44.1 kHz, 16-bit signed stereo. Owns the subsystem and the device while open; the
// fill function runs on SDL's audio thread from start() until close() (or the
// destructor), which joins that thread. Without a usable device it falls back to
// SDL's dummy driver, which plays nothing (silent() is then true).
#pragma once

#include <cstdint>

class AudioOutput {
public:
    // Called on the audio thread for every buffer: frames stereo frames to write at out.
    using Fill = void (*)(void* context, int16_t* out, int frames);

    AudioOutput();
    ~AudioOutput();  // closes
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens the device, paused. While the hardware is probed standard error is
    // silenced (drivers print their own noise); when no device opens, one line on
    // standard error says that the music goes on through the dummy driver. Returns
    // SoundResult::Ok, DeviceInUse (another AudioOutput is open) or AudioDevice (not
    // even the dummy driver opens).
    int open(Fill fill, void* context);
    // Starts the calls of fill.
    void start();
    // Stops the audio thread and closes the device and the subsystem.
    void close();

    bool silent() const { return m_silent; }
    int rate() const { return m_rate; }  // Hz

private:
    static void callback(void* self, unsigned char* stream, int length);

    Fill m_fill;
    void* m_context;
    bool m_open;
    bool m_silent;
    int m_rate;

    static AudioOutput* s_owner;  // SDL 1.2 offers one audio device per process
};
