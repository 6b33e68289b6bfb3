// Player: Music once initialised: owns the audio output, the playback of one sound,
// the decoding thread, the spectrum analyser and the lock the threads share (see
// Music.h). Positions in milliseconds of the sound; failures throw SoundError.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "Music/AudioOutput.h"
#include "Music/Playback.h"

class SpectrumAnalyser;
struct Sound;

class Player : private AudioOutput::Source {
public:
    static constexpr int MAX_SPECTRUM_COUNT = 16384;  // bands; SoundStream keeps their window

    // With a device: opens the audio output (see AudioOutput), and the sound runs on
    // its clock, or on the steady clock when it plays nothing. Without: nothing is
    // heard and the sound runs on the clock that setClock sets, starting at clockMs.
    // Starts the decoding thread. Throws SoundError, std::bad_alloc, std::system_error.
    Player(bool withDevice, unsigned int clockMs);
    ~Player();  // stops the audio and decoding threads, then the playback
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Without a device only: moves the clock to ms (never backward) and the playback
    // with it. CLOCK_NOT_SETTABLE, CLOCK_BACKWARD.
    void setClock(unsigned int ms);
    // Plays sound from its start, replacing what played; first frames decoded.
    void start(const Sound& sound);
    void stop();
    bool paused();                // false when nothing plays
    void setPaused(bool paused);  // nothing when nothing plays
    // Decodes around the new position before it returns, so that the spectrum is
    // right at once. NOT_PLAYING, INVALID_POSITION.
    void setPosition(unsigned int ms);
    unsigned int position();  // NOT_PLAYING
    // count (1 to MAX_SPECTRUM_COUNT) magnitudes of the first channel over the
    // 2*count frames that end at the one heard now (see SpectrumAnalyser); out is
    // left alone when nothing plays, when paused, and for a count out of range.
    void spectrum(float* out, int count);

private:
    void fill(int16_t* out, int frames) override;  // the audio thread
    void decodeAhead();                            // the decoding thread
    // The time now (ns): the set clock, or the steady clock; in clock-driven modes
    // the playback is moved on to it first. Call with m_mutex held.
    int64_t now();

    std::mutex m_mutex;  // the one lock the threads share: guards what follows
    Playback m_playback;
    bool m_manualClock;  // no device: the time is m_clockNs
    int64_t m_clockNs;
    bool m_stopping;  // tells the decoding thread to end
    bool m_woken;     // a stream started or moved: decode ahead now, not at the next tick
    std::condition_variable m_wake;

    // Main thread only:
    std::unique_ptr<SpectrumAnalyser> m_analyser;  // for the last count asked
    std::vector<float> m_window;                   // the frames one spectrum reads

    std::unique_ptr<AudioOutput> m_output;
    std::thread m_decoder;  // last: starts once everything above exists
};
