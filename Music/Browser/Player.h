// Player and Sound in the page: Music's back end when the show runs in a browser.
// A Sound is the whole file decoded at load by the page's MP3 decoder into one
// Web Audio buffer held on the JavaScript side (found by its id). The Player plays
// it through one AudioContext source node and keeps the heard position on the audio
// clock while the context runs; while the browser keeps the context suspended (no
// user gesture yet) on the page's clock, silently; after setClock on that clock only.
// One thread: the page's main thread makes every call. Positions in ms of the sound;
// failures throw SoundError.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class SpectrumAnalyser;

struct Sound {
    // Reads and decodes path: FILE_NOT_FOUND, FILE_IS_DIRECTORY, FILE_EMPTY, FILE_BAD,
    // std::bad_alloc, DECODER_FAILURE: the decoder is not ready (before the page's
    // packages have loaded, or in the same task as the previous decode, after which it
    // restarts asynchronously). Unlike the desktop, a file cut short or changing its
    // format midway is not told apart: it plays what the decoder could make of it.
    explicit Sound(const char* path);
    ~Sound();  // releases the decoded buffer
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    int id;            // the decoded buffer's id on the JavaScript side
    int64_t frames;    // exact length
    int sampleRate;    // Hz
    std::string name;  // the file name without its directories
};

class Player {
public:
    static constexpr int MAX_SPECTRUM_COUNT = 16384;  // bands, a power of two each

    // With audio: makes the AudioContext (muted until the browser lets it run).
    // Without: nothing is heard, and the sound runs on the clock that setClock sets,
    // starting at clockMs. Throws std::bad_alloc.
    Player(bool withAudio, unsigned int clockMs);
    ~Player();  // stops the sound and closes the context
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Without audio only: moves the clock to ms (never backward). CLOCK_NOT_SETTABLE,
    // CLOCK_BACKWARD.
    void setClock(unsigned int ms);
    void start(const Sound& sound);  // from its first frame, replacing what played
    void stop();
    bool paused();                      // false when nothing plays
    void setPaused(bool paused);        // nothing when nothing plays
    void setPosition(unsigned int ms);  // NOT_PLAYING, INVALID_POSITION
    unsigned int position();            // NOT_PLAYING
    // count magnitudes of the first channel over the 2*count frames that end at the
    // one heard now (see SpectrumAnalyser); out is left alone when nothing plays, when
    // paused, and for a count that is not a power of two up to MAX_SPECTRUM_COUNT.
    void spectrum(float* out, int count);

private:
    // Brings the playback up to now: changes clocks when the context starts or stops
    // running (the position carries over), and ends a sound played to its end.
    void update();
    int64_t clockNs(bool audio) const;  // the audio clock's or the page's time now
    uint64_t heardFrame() const;        // 32.32, at most the sound's length
    void restartSource();               // the source node plays from the heard frame

    bool m_manualClock;  // no audio: the time is m_clockNs
    int64_t m_clockNs;
    bool m_withAudio;  // a context was made
    bool m_onAudio;    // the anchor below is on the audio clock; a source node plays

    const Sound* m_sound;  // playing or paused; null when nothing plays
    bool m_paused;
    uint64_t m_anchorFrame;  // 32.32, heard at m_anchorNs (held while paused)
    int64_t m_anchorNs;

    std::unique_ptr<SpectrumAnalyser> m_analyser;  // for the last count asked
    std::unique_ptr<float[]> m_window;             // the frames one spectrum reads
};
