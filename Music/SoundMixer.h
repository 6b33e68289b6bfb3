// SoundMixer: the voices of the sound layer and their mixing into 16-bit stereo at
// the output rate. Every operation takes the time (steady-clock nanoseconds, or any
// clock the caller runs) instead of reading one, and nothing here locks, sleeps or
// starts threads: callers serialise all calls (the sound system's mutex).
//
// Positions are frames of a voice's stream timeline in 32.32 fixed point (see
// SoundStream). Two ways of keeping time:
//   device-driven: mix() is what the device plays; the frame heard at time t is the
//     last mixed buffer's start moved on by the time since it was handed over;
//   clock-driven (no device, or one that plays nothing): advance() moves every
//     playing voice on by the time since its last move; mix() writes silence and advances.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class SoundStream;

class SoundMixer {
public:
    // voices (>= 1) voices mixed to outputRate Hz. Throws std::bad_alloc.
    SoundMixer(int voices, int outputRate);

    int voiceCount() const { return static_cast<int>(m_voices.size()); }
    int outputRate() const { return m_outputRate; }
    bool clockDriven() const { return m_clockDriven; }
    void setClockDriven(bool clockDriven) { m_clockDriven = clockDriven; }

    // First voice that plays nothing, -1 when all are busy.
    int freeVoice() const;
    // Starts stream (open, restarted at frame 0) on voice from its first frame at
    // time nowNs; returns the stream the voice played before, for the caller to
    // destroy outside its lock.
    std::shared_ptr<SoundStream> start(int voice, std::shared_ptr<SoundStream> stream, bool paused,
                                       int64_t nowNs);
    // Stops the voice; returns its stream like start().
    std::shared_ptr<SoundStream> stop(int voice);
    bool active(int voice) const { return m_voices[voice].active; }  // playing or paused
    bool paused(int voice) const { return m_voices[voice].paused; }
    const std::shared_ptr<SoundStream>& stream(int voice) const { return m_voices[voice].stream; }

    // Pausing keeps the frame heard at nowNs, so resuming replays nothing that was
    // not heard and skips nothing.
    void setPaused(int voice, bool paused, int64_t nowNs);
    // -1 repeats forever, 0 plays to the end once more, n repeats n more times; only
    // for looping streams.
    void setLoopCount(int voice, int count);
    // Moves the voice to file frame position (32.32) on a first pass, at nowNs.
    void jump(int voice, uint64_t position, int64_t nowNs);

    // Timeline frame (32.32) heard at nowNs.
    uint64_t heardFrame(int voice, int64_t nowNs) const;
    // File frame (32.32) heard at nowNs: within [0, length] of the stream.
    uint64_t heardFilePosition(int voice, int64_t nowNs) const;

    // Fills out with frames interleaved stereo frames handed to the device at nowNs.
    void mix(int16_t* out, int frames, int64_t nowNs);
    // Moves every playing voice on to nowNs (clock-driven).
    void advance(int64_t nowNs);

    // Source frames (32.32, rounded up) played at sampleRate in elapsedNs
    // nanoseconds; 0 when elapsedNs <= 0.
    static uint64_t framesIn(int64_t elapsedNs, int sampleRate);

private:
    struct Voice {
        std::shared_ptr<SoundStream> stream;  // kept after the end until replaced or stopped
        bool active = false;                  // false: free (stopped or ended)
        bool paused = false;
        int loopsLeft = 0;           // -1: forever
        int64_t passStart = 0;       // timeline frame of file frame 0 of this pass
        uint64_t position = 0;       // next timeline frame to mix, 32.32
        uint64_t step = 0;           // source frames per output frame, 32.32
        int64_t anchorNs = 0;        // time at which position was handed over
        bool anchorPending = false;  // jumped or resumed: held until the next mix
    };

    void restartClock(Voice& voice, int64_t nowNs) const;
    void mixVoice(Voice& voice, float* mix, int frames);
    // Starts the next pass or frees a voice whose position has passed its pass's end.
    static void handleEnd(Voice& voice);

    std::vector<Voice> m_voices;
    std::vector<float> m_mixBuffer;  // interleaved stereo, one chunk of a mix
    int m_outputRate;                // Hz
    bool m_clockDriven;
    int m_lastMixFrames;  // frames of the last mix: what the device still holds
};
