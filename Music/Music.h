// Music: the demo's music player: one MP3 opened as a stream, played on one channel,
// and the spectrum of what is heard now. Positions and lengths in milliseconds; the
// spectrum is `count` magnitudes, lowest band first, 1.0 for a full-scale sine.
// Never throws: a failure writes one line on standard error.
//
// Threads of the sound layer (this folder), once init has made the Player:
//   - the caller's thread (the demo's main thread) makes every call of this class:
//     it opens and checks files, starts and moves the playback, computes spectra,
//     and decodes what it needs at once (around a new position, and up to the heard
//     frame when the decoding thread is behind, as on a clock set by hand);
//   - SDL's audio thread calls Player::fill for each device buffer: it copies
//     decoded frames into it and never decodes, allocates or waits but for the lock;
//   - the player's decoding thread wakes every 20 ms, and when a sound starts or
//     moves, and decodes the playing stream ahead of the heard frame
//     (Player::decodeAhead).
// One lock, Player::m_mutex, is shared by the three: it guards the playback (the
// stream played, its position, pause and clock), the stream's ring of decoded
// frames and the decoding thread's wake and stop flags. A stream's decoder is not
// shared with the audio thread: the main and decoding threads take turns on it,
// one chunk at a time, under the stream's own decoder lock, which is taken before
// m_mutex and never while holding it.
#pragma once

#include <memory>

class Player;
struct Sound;

class Music {
public:
    Music();   // logs "Music created"
    ~Music();  // stops the player's threads, releases the sound; logs "Music deleted"

    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    // Opens the audio output (or, after setClock, none) and starts the decoding thread.
    bool init();
    // Stops what plays and releases the previous sound, then opens path: checks it
    // and decodes its first frames.
    bool load(const char* path);
    // Resumes a paused sound; otherwise starts the sound from its beginning, once
    // (what played before stops).
    void play();
    // Fills array with count magnitudes of the first channel of the playing sound,
    // triangle window; zeros when nothing plays.
    void getSpectrum(float* array, int count);
    void stop();
    void pause();
    void update() {}  // nothing needs regular servicing: the threads do the work
    // The sound's name in a 50-character buffer owned by the caller (empty when
    // no sound is loaded, null only when 50 bytes cannot be allocated).
    std::unique_ptr<char[]> getName();
    void setPosition(unsigned int position);
    unsigned int getPosition();  // 0 when nothing plays
    unsigned int getLength();    // 0 when no sound is loaded

    // For tools that capture the demo at exact times; the demo never calls it. Called
    // before init, makes init open no audio device: nothing is heard, and the sound
    // runs on this clock alone, starting at ms. Each later call moves the clock to ms
    // (never backward), and positions and spectra are those of that time. After an
    // init with a device it only writes an error line.
    void setClock(unsigned int ms);

private:
    std::unique_ptr<Player> m_player;  // made by init
    std::unique_ptr<Sound> m_sound;    // replaced by each load
    bool m_manualClock;                // setClock came before init
    unsigned int m_clockMs;
};
