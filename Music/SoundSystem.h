// SoundSystem: the sound layer's root object and a thin front over its parts: the
// audio output (AudioOutput: SDL's device, 44.1 kHz stereo 16-bit), the mixer and its
// voices (SoundMixer), the decoding thread (StreamFeeder), the open sounds and the
// spectrum analysers. Mixing runs on SDL's audio thread and decoding on the feeder's;
// every other call belongs to one thread (the demo's main thread). Times in milliseconds.
//
// Without a device (InitNoDevice) nothing plays in real time: the sound runs on a
// clock that the caller sets (setClock), so positions and spectra are those of exact
// times, for tools that capture the demo frame by frame.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class AudioOutput;
class SoundChannel;
class SoundMixer;
class SoundSample;
class SoundStream;
class SpectrumAnalyser;
class StreamFeeder;

class SoundSystem {
public:
    // Mode bits of createStream. Every sound is streamed: decoded in chunks ahead of
    // playback, mixed in software, without 3D positioning, with an exact length
    // (the file's frames are counted when it is opened). So only the looping bits
    // change anything; the others are accepted for callers that spell out such a
    // sound and have no effect.
    static const unsigned int ModeLoopOff = 0x1;         // play once (the default)
    static const unsigned int ModeLoopNormal = 0x2;      // repeat as the loop count says
    static const unsigned int ModeFlat = 0x8;            // no effect: there is no 3D sound
    static const unsigned int ModeSoftwareMix = 0x40;    // no effect: mixing is always in software
    static const unsigned int ModeCreateSample = 0x100;  // no effect: sounds are always streamed
    static const unsigned int ModeExactTime = 0x4000;    // no effect: lengths are always exact
    static const unsigned int ModeSingleInstance =
        0x20000;  // no effect: any channels may play a sound

    static const unsigned int InitNormal = 0;      // open the audio device
    static const unsigned int InitNoDevice = 0x1;  // no device: the clock is set by setClock
    static const unsigned int TimeUnitMs = 1;      // the only time unit
    static const int ChannelFree = -1;             // playSound: pick any free channel
    static const int MaxChannels = 64;

    // Creates an uninitialised system in *system (null on failure).
    static int create(SoundSystem** system);

    // Makes maxChannels (1 to MaxChannels) channels and starts the decoding thread;
    // with InitNormal, opens the audio output. Without a usable audio device it
    // writes one line on standard error and goes on with SDL's dummy driver:
    // positions and spectra then advance with the steady clock and nothing is
    // heard. Fails when not even that driver opens (AudioDevice) or another system
    // holds the output (DeviceInUse). With InitNoDevice the clock starts at 0.
    int init(int maxChannels, unsigned int flags);
    // InitNoDevice only: moves the clock to ms (never backward) and every playing
    // channel with it. ClockNotSettable on a system with an audio output.
    int setClock(unsigned int ms);
    // Opens the file at path as a new sound in *sound (null on failure): checks it
    // can be read (no FIFO or device is waited on), that it is MPEG audio, counts its
    // frames and decodes the first ones. Nothing more is decoded until it plays.
    int createStream(const char* path, unsigned int mode, SoundSample** sound);
    // Starts sound from its beginning on a free channel (channelIndex ChannelFree)
    // or on channel channelIndex (stopping what it played); *channel gets the
    // channel, null on failure. The first frames are decoded before it returns.
    int playSound(int channelIndex, SoundSample* sound, bool paused, SoundChannel** channel);
    // Nothing needs regular servicing (mixing and decoding run on their own
    // threads); kept so that callers can run a periodic update. Fails when not initialised.
    int update();
    // Stops the audio and decoding threads and every channel; sounds stay until released.
    int close();
    // Closes if needed, destroys every sound and channel, then the system itself.
    int release();

private:
    friend class SoundChannel;
    friend class SoundSample;

    SoundSystem();
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // The time now (ns): the set clock, or the steady clock. In clock-driven modes
    // the voices are moved on to it first. Call with m_mutex held.
    int64_t clockLocked();
    int releaseSound(SoundSample* sound);
    SpectrumAnalyser* analyser(int count);

    static void fill(void* system, int16_t* out, int frames);  // the audio thread's mix
    static void collect(void* system, std::vector<std::shared_ptr<SoundStream>>& streams);

    // Guards the mixer and the streams' rings: shared with the audio and feeder threads.
    std::mutex m_mutex;
    bool m_initialised;
    bool m_manualClock;  // InitNoDevice
    int64_t m_clockNs;   // the set clock
    std::unique_ptr<SoundMixer> m_mixer;
    std::vector<std::unique_ptr<SoundChannel>> m_channels;  // one handle per voice
    std::vector<std::unique_ptr<SoundSample>> m_sounds;
    // Main thread only:
    std::vector<std::unique_ptr<SpectrumAnalyser>> m_analysers;
    std::vector<float> m_spectrumWindow;  // the frames one spectrum reads
    // Destroyed first (members go in reverse order): both threads stop before what
    // they use goes.
    std::unique_ptr<StreamFeeder> m_feeder;
    std::unique_ptr<AudioOutput> m_output;
};
