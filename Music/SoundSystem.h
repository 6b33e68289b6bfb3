// SoundSystem: the sound layer's root object. Owns the audio output (SDL's audio
// subsystem, one device, 44.1 kHz stereo 16-bit), a fixed set of channels, the open
// sounds and the spectrum analysers. Mixing runs in SDL's audio callback thread; every
// other call belongs to one thread (the demo's main thread). Times in milliseconds.
#pragma once

#include <SDL/SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

class SoundChannel;
class SoundSample;
class SpectrumAnalyser;

class SoundSystem {
public:
    // Mode bits of createStream. Only the looping bits change anything: the file
    // is always decoded whole when it is opened, mixed in software, without 3D
    // positioning, with an exact length, so those bits are accepted as they stand.
    static const unsigned int ModeLoopOff = 0x1;
    static const unsigned int ModeLoopNormal = 0x2;
    static const unsigned int ModeFlat = 0x8;
    static const unsigned int ModeSoftwareMix = 0x40;
    static const unsigned int ModeDecodeWhole = 0x100;
    static const unsigned int ModeExactTime = 0x4000;
    static const unsigned int ModeSingleInstance = 0x20000;

    static const unsigned int InitNormal = 0;   // the only init flag
    static const unsigned int TimeUnitMs = 1;   // the only time unit
    static const int ChannelFree = -1;          // playSound: pick any free channel
    static const int MaxChannels = 64;

    // Creates an uninitialised system in *system (null on failure).
    static int create(SoundSystem** system);

    // Opens the audio output and makes maxChannels (1 to MaxChannels) channels.
    // Without a usable audio device it writes one line on standard error and
    // goes on with SDL's dummy driver: positions and spectra then advance with the
    // clock and nothing is heard. Fails only when not even that driver opens.
    int init(int maxChannels, unsigned int flags);
    // Decodes the whole file at path into a new sound in *sound (null on failure).
    int createStream(const char* path, unsigned int mode, SoundSample** sound);
    // Starts sound from its beginning on a free channel (channelIndex ChannelFree)
    // or on channel channelIndex (stopping what it played); *channel gets the
    // channel, null on failure.
    int playSound(int channelIndex, SoundSample* sound, bool paused, SoundChannel** channel);
    // Nothing needs regular servicing (mixing runs on the audio thread); kept so
    // that callers can run a periodic update. Fails when not initialised.
    int update();
    // Stops every channel and closes the audio output; sounds stay until released.
    int close();
    // Closes if needed, destroys every sound and channel, then the system itself.
    int release();

private:
    friend class SoundChannel;
    friend class SoundSample;

    // Guard of the state shared with the audio callback (SDL's audio lock).
    class Lock {
    public:
        explicit Lock(const SoundSystem& system);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        bool m_locked;
    };

    SoundSystem();
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    int openDevice();
    int releaseSound(SoundSample* sound);
    SpectrumAnalyser* analyser(int count);
    static int64_t nowNs();
    // source frames (32.32 fixed point) played at sampleRate in elapsedNs nanoseconds
    static uint64_t framesIn(int64_t elapsedNs, int sampleRate);

    static void audioCallback(void* userdata, Uint8* stream, int len);
    void fill(Sint16* out, int frames);
    void mixChannel(SoundChannel& channel, float* mix, int frames);
    // Wraps or stops a channel whose position has passed the end of its sound.
    void handleEnd(SoundChannel& channel);

    bool m_initialised;
    bool m_deviceOpen;
    bool m_clockDriven;    // dummy driver: channels advance with the clock, not the callbacks
    int m_deviceRate;      // Hz of the audio output
    // Shared with the audio thread (audio lock):
    int m_callbackFrames;  // device frames of the last callback: what the device still holds
    std::vector<std::unique_ptr<SoundChannel>> m_channels;
    std::vector<std::unique_ptr<SoundSample>> m_sounds;
    std::vector<float> m_mixBuffer;  // interleaved stereo, audio thread only
    std::vector<std::unique_ptr<SpectrumAnalyser>> m_analysers;

    static SoundSystem* s_deviceOwner;  // SDL 1.2 offers one audio device per process
};
