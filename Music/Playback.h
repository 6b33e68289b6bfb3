// Playback: the one playing stream, its position and its mix into 16-bit stereo at
// the output rate. Every operation takes the time (steady-clock nanoseconds, or any
// clock the caller runs) instead of reading one; nothing here locks, sleeps or
// allocates: the player calls it with its lock held.
//
// Positions are stream frames in 32.32 fixed point. Two ways of keeping time:
//   device-driven: mix() is what the device plays; the frame heard at time t is the
//     last mixed buffer's start moved on by the time since it was handed over;
//   clock-driven (no device, or one that plays nothing): advance() moves the
//     position on by the time since its last move; mix() writes silence and advances.
// A frame not decoded in time plays as silence, and the position keeps time.
#pragma once

#include <cstdint>
#include <memory>

class SoundStream;

class Playback {
public:
    explicit Playback(int outputRate);  // Hz

    bool clockDriven() const { return m_clockDriven; }
    void setClockDriven(bool clockDriven) { m_clockDriven = clockDriven; }

    // Plays stream (restarted at frame 0) from its first frame at nowNs; returns
    // the stream played before, for the caller to destroy outside its lock.
    std::shared_ptr<SoundStream> start(std::shared_ptr<SoundStream> stream, int64_t nowNs);
    std::shared_ptr<SoundStream> stop();      // returns the stream like start()
    bool active() const { return m_active; }  // playing or paused; false after the end
    bool paused() const { return m_paused; }
    // Kept after the end until replaced or stopped.
    const std::shared_ptr<SoundStream>& stream() const { return m_stream; }

    // Pausing keeps the frame heard at nowNs, so resuming replays nothing that was
    // not heard and skips nothing.
    void setPaused(bool paused, int64_t nowNs);
    void jump(uint64_t position, int64_t nowNs);  // to frame position (32.32)
    // Frame (32.32) heard at nowNs, at most the stream's length.
    uint64_t heardFrame(int64_t nowNs) const;

    // Fills out with `frames` interleaved stereo frames handed to the device at nowNs.
    void mix(int16_t* out, int frames, int64_t nowNs);
    void advance(int64_t nowNs);  // clock-driven: moves the position on to nowNs

private:
    void restartClock(int64_t nowNs);
    void endIfPast();  // frees the playback once its position has passed the end

    std::shared_ptr<SoundStream> m_stream;
    bool m_active;
    bool m_paused;
    uint64_t m_position;   // next frame to mix, 32.32
    uint64_t m_step;       // source frames per output frame, 32.32
    int64_t m_anchorNs;    // time at which m_position was handed over
    bool m_anchorPending;  // jumped or resumed: held until the next mix
    const int m_outputRate;
    bool m_clockDriven;
    int m_lastMixFrames;  // frames of the last mix: what the device still holds
};
