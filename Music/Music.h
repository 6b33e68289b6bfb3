// Music: the demo's music player, a thin owner of one sound system, one sound and
// the channel that plays it. Positions and lengths in milliseconds; the spectrum is
// `count` magnitudes, lowest band first, 1.0 for a full-scale sine. Never throws:
// failed sound calls write one line on standard error.
#pragma once

#include <memory>

class SoundChannel;
class SoundSample;
class SoundSystem;
class SpectrumSource;

class Music {
public:
    // Mode of the demo's sound: decoded whole at open, played once (no looping).
    static const unsigned int StreamMode;

    Music();   // logs "Music created"
    ~Music();  // releases the sound and the system (not the channel: stop first); logs "Music deleted"

    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    // Creates and initialises the sound system with 10 channels.
    bool init();
    // Releases the previous sound, then opens path (decoding the whole file).
    bool load(const char* path);
    // Resumes a paused channel; otherwise starts the sound on a new free channel.
    void play();
    // Fills array with count magnitudes of the first channel of the playing sound,
    // triangle window; zeros when nothing plays.
    void getSpectrum(float* array, int count);
    // Hands every later getSpectrum to source instead of the playing channel (null:
    // back to the channel). Not owned; it must outlive its use here.
    void setSpectrumSource(SpectrumSource* source);
    void stop();
    void pause();
    void update();
    // The sound's name in a 50-character buffer owned by the caller (empty when
    // the query fails, null only when 50 bytes cannot be allocated).
    std::unique_ptr<char[]> getName();
    void setPosition(unsigned int position);
    unsigned int getPosition();  // 0 when the query fails
    unsigned int getLength();    // 0 when the query fails

private:
    SoundSystem* m_system;    // created by init, closed and released by the destructor
    SoundSample* m_sound;     // replaced by each load, released by the destructor
    SoundChannel* m_channel;  // set by play; null until the first play
    SpectrumSource* m_spectrumSource;  // not owned; null: the channel answers
};
