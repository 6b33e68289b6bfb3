// SoundChannel: one of the sound system's playback voices. It plays one SoundSample
// from a position (source frames in 32.32 fixed point) and knows which sample is
// being heard now. Owned by its SoundSystem; a handle stays usable until the system
// is released. State shared with the audio thread is touched only under the audio lock.
#pragma once

#include <cstdint>

class SoundSample;
class SoundSystem;

class SoundChannel {
public:
    static const int WindowTriangle = 1;  // the only spectrum window offered

    // Each call returns SoundResult::ChannelStopped once the sound has ended or
    // the channel was stopped (the out-arguments are then left alone, except that
    // getSpectrum writes zeros).
    int getPaused(bool* paused) const;
    // Pausing keeps the position of the sample being heard, so resuming replays
    // nothing that was not heard and skips nothing.
    int setPaused(bool paused);
    // -1 repeats forever, 0 plays once more to the end, n repeats n more times.
    // Has effect only on sounds opened with SoundSystem::ModeLoopNormal.
    int setLoopCount(int count);
    int stop();
    // Positions are in SoundSystem::TimeUnitMs (milliseconds of the sound).
    int setPosition(unsigned int position, unsigned int timeUnit);
    int getPosition(unsigned int* position, unsigned int timeUnit) const;
    // count magnitudes of sub-channel channelOffset of the sound (0 = first) over
    // the 2*count samples that end at the one being heard now (see SpectrumAnalyser).
    // Paused: zeros and Ok. Stopped or an invalid argument: zeros and the error code.
    int getSpectrum(float* spectrum, int count, int channelOffset, int windowType);

private:
    friend class SoundSystem;  // creates the channels and runs their mixing
    explicit SoundChannel(SoundSystem& system);
    SoundChannel(const SoundChannel&) = delete;
    SoundChannel& operator=(const SoundChannel&) = delete;

    // Position, in source frames (32.32 fixed point), of the sample heard at time
    // nowNs; call with the audio lock held and a sound present.
    uint64_t heardPosition(int64_t nowNs) const;
    // (Re)starts the time reference at nowNs after a jump or a resume.
    void restartClock(int64_t nowNs);

    SoundSystem& m_system;
    // Shared with the audio thread (audio lock):
    SoundSample* m_sound;     // null: the channel is free (stopped or ended)
    bool m_paused;
    int m_loopsLeft;          // -1: forever
    uint64_t m_position;      // next source frame to mix, 32.32 fixed point
    uint64_t m_step;          // source frames per output frame, 32.32
    int64_t m_anchorNs;       // steady-clock time at which m_position was handed over
    bool m_anchorPending;     // jumped or resumed since the last callback: no clock advance yet
};
