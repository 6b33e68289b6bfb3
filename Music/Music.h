// Music: the demo's music player, a thin owner of one sound system, one sound and
// the channel that plays it. Positions and lengths in milliseconds; the spectrum is
// `count` magnitudes, lowest band first, 1.0 for a full-scale sine. Never throws:
// failed sound calls write one line on standard error.
#pragma once

#include <memory>

class SoundChannel;
class SoundSample;
class SoundSystem;

class Music {
public:
    // Mode of the demo's sound: streamed, played once (no looping); the other bits
    // of the word have no effect (see SoundSystem's mode bits).
    static const unsigned int StreamMode;

    Music();   // logs "Music created"
    ~Music();  // releases the sound, then closes and releases the system; logs "Music deleted"

    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    // Creates and initialises the sound system with 10 channels.
    bool init();
    // Releases the previous sound, then opens path (checks it and reads its first frames).
    bool load(const char* path);
    // Resumes a paused channel; otherwise starts the sound on a new free channel
    // (a channel this player started before is stopped first).
    void play();
    // Fills array with count magnitudes of the first channel of the playing sound,
    // triangle window; zeros when nothing plays.
    void getSpectrum(float* array, int count);
    void stop();
    void pause();
    void update();
    // The sound's name in a 50-character buffer owned by the caller (empty when
    // the query fails, null only when 50 bytes cannot be allocated).
    std::unique_ptr<char[]> getName();
    void setPosition(unsigned int position);
    unsigned int getPosition();  // 0 when the query fails
    unsigned int getLength();    // 0 when the query fails

    // For tools that capture the demo at exact times; the demo never calls it. Called
    // before init, makes init open no audio device: nothing is heard, and the sound
    // runs on this clock alone, starting at ms. Each later call moves the clock to ms
    // (never backward), and positions and spectra are those of that time. After an
    // init with a device it only writes an error line.
    void setClock(unsigned int ms);

private:
    // The handles' owners: each deleter is the handle's release call.
    struct SystemRelease {
        void operator()(SoundSystem* system) const;  // close, then release
    };
    struct SoundRelease {
        void operator()(SoundSample* sound) const;
    };
    struct ChannelRelease {
        void operator()(SoundChannel* channel) const;  // stop: the channel goes back to the system
    };

    // Declared in this order, so a destruction without the destructor's own order
    // would still free the channel, then the sound, then the system.
    std::unique_ptr<SoundSystem, SystemRelease> m_system;  // created by init
    std::unique_ptr<SoundSample, SoundRelease> m_sound;    // replaced by each load
    std::unique_ptr<SoundChannel, ChannelRelease>
        m_channel;       // set by play; null until the first play
    bool m_manualClock;  // setClock came before init
    unsigned int m_clockMs;
};
