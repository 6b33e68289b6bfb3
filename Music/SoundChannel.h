// SoundChannel: the handle of one of the sound system's voices (see SoundMixer). It
// plays one SoundSample from a position and knows which frame is being heard now.
// Owned by its SoundSystem; a handle stays usable until the system is released (or
// initialised again). Every call takes the system's lock; call from one thread.
#pragma once

class SoundSystem;

class SoundChannel {
public:
    static const int WindowTriangle = 1;  // the only spectrum window offered
    static const int MaxSpectrumCount = 16384;

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
    // Positions are in SoundSystem::TimeUnitMs (milliseconds of the sound). Moving
    // decodes around the new position before returning, so the spectrum is right at once.
    int setPosition(unsigned int position, unsigned int timeUnit);
    int getPosition(unsigned int* position, unsigned int timeUnit) const;
    // count (1 to MaxSpectrumCount) magnitudes of sub-channel channelOffset of the
    // sound (0 = first) over the 2*count frames that end at the one being heard now
    // (see SpectrumAnalyser). Paused: zeros and Ok. Stopped or an invalid argument:
    // zeros and the error code.
    int getSpectrum(float* spectrum, int count, int channelOffset, int windowType);

private:
    friend class SoundSystem;  // creates the handles
    SoundChannel(SoundSystem& system, int voice);
    SoundChannel(const SoundChannel&) = delete;
    SoundChannel& operator=(const SoundChannel&) = delete;

    SoundSystem& m_system;
    const int m_voice;  // index of the mixer's voice
};
