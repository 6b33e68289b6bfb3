// SoundChannel: channel state changes and queries under the audio lock; the
// heard-position estimate that positions and spectra share.
#include "Music/SoundChannel.h"

#include <algorithm>

#include "Music/SoundResult.h"
#include "Music/SoundSample.h"
#include "Music/SoundSystem.h"
#include "Music/SpectrumAnalyser.h"

namespace {

// On the dummy driver the heard position runs on with the clock between callbacks,
// but no further than this if the audio thread is held up.
const int64_t kMaxClockLeadNs = 250000000;

uint64_t msToFrames(unsigned int ms, int rate)
{
    const uint64_t scaled = static_cast<uint64_t>(ms) * static_cast<uint64_t>(rate);
    return ((scaled / 1000u) << 32) + ((scaled % 1000u) << 32) / 1000u;
}

unsigned int framesToMs(uint64_t position, int rate)
{
    // position is 32.32 frames: ms = frames * 1000 / rate, rounded down.
    const uint64_t frames = position >> 32;
    const uint64_t fraction = position & 0xffffffffu;
    const uint64_t ms = frames * 1000u / static_cast<uint64_t>(rate);
    const uint64_t rest = frames * 1000u % static_cast<uint64_t>(rate);
    const uint64_t extra = (rest * 4294967296ull + fraction * 1000u) / (static_cast<uint64_t>(rate) << 32);
    return static_cast<unsigned int>(ms + extra);
}

}  // namespace

SoundChannel::SoundChannel(SoundSystem& system)
    : m_system(system), m_sound(nullptr), m_paused(false), m_loopsLeft(0), m_position(0), m_step(0),
      m_anchorNs(0), m_anchorPending(false)
{
}

void SoundChannel::restartClock(int64_t nowNs)
{
    m_anchorNs = nowNs;
    // With a real device, what is heard next is what the next callback mixes:
    // hold the position until then instead of running ahead of the device.
    m_anchorPending = !m_system.m_clockDriven;
}

uint64_t SoundChannel::heardPosition(int64_t nowNs) const
{
    if (m_paused || m_anchorPending)
        return m_position;
    const int rate = m_sound->sampleRate();
    const uint64_t length = static_cast<uint64_t>(m_sound->frameCount()) << 32;
    uint64_t position;
    if (m_system.m_clockDriven) {
        const int64_t lead = std::min(nowNs - m_anchorNs, kMaxClockLeadNs);
        position = m_position + SoundSystem::framesIn(lead, rate);
    } else {
        // The device still holds the last callback's frames: what is heard now is
        // the start of that buffer, moved on by the time since it was handed over.
        const int held = m_system.m_callbackFrames;
        const int64_t heldNs = static_cast<int64_t>(held) * 1000000000 / m_system.m_deviceRate;
        const uint64_t behind = static_cast<uint64_t>(held) * m_step;
        const uint64_t ahead = SoundSystem::framesIn(std::min(nowNs - m_anchorNs, heldNs), rate);
        if (m_position + ahead >= behind)
            position = m_position + ahead - behind;
        else if (m_sound->loops() && length > 0)
            position = m_position + ahead + length - behind;  // heard from before the wrap
        else
            position = 0;
    }
    if (position >= length && length > 0)
        position = m_sound->loops() ? position % length : length;
    return position;
}

int SoundChannel::getPaused(bool* paused) const
{
    if (!paused)
        return SoundResult::InvalidParam;
    SoundSystem::Lock lock(m_system);
    if (!m_sound)
        return SoundResult::ChannelStopped;
    *paused = m_paused;
    return SoundResult::Ok;
}

int SoundChannel::setPaused(bool paused)
{
    SoundSystem::Lock lock(m_system);
    if (!m_sound)
        return SoundResult::ChannelStopped;
    if (paused == m_paused)
        return SoundResult::Ok;
    const int64_t now = SoundSystem::nowNs();
    if (paused) {
        m_position = heardPosition(now);
        m_paused = true;
    } else {
        m_paused = false;
        restartClock(now);
    }
    return SoundResult::Ok;
}

int SoundChannel::setLoopCount(int count)
{
    if (count < -1)
        return SoundResult::InvalidParam;
    SoundSystem::Lock lock(m_system);
    if (!m_sound)
        return SoundResult::ChannelStopped;
    if (m_sound->loops())
        m_loopsLeft = count;
    return SoundResult::Ok;
}

int SoundChannel::stop()
{
    SoundSystem::Lock lock(m_system);
    if (!m_sound)
        return SoundResult::ChannelStopped;
    m_sound = nullptr;
    return SoundResult::Ok;
}

int SoundChannel::setPosition(unsigned int position, unsigned int timeUnit)
{
    if (timeUnit != SoundSystem::TimeUnitMs)
        return SoundResult::InvalidParam;
    SoundSystem::Lock lock(m_system);
    if (!m_sound)
        return SoundResult::ChannelStopped;
    const uint64_t frames = msToFrames(position, m_sound->sampleRate());
    if (frames > (static_cast<uint64_t>(m_sound->frameCount()) << 32))
        return SoundResult::InvalidPosition;
    m_position = frames;
    restartClock(SoundSystem::nowNs());
    return SoundResult::Ok;
}

int SoundChannel::getPosition(unsigned int* position, unsigned int timeUnit) const
{
    if (!position || timeUnit != SoundSystem::TimeUnitMs)
        return SoundResult::InvalidParam;
    SoundSystem::Lock lock(m_system);
    if (!m_sound)
        return SoundResult::ChannelStopped;
    *position = framesToMs(heardPosition(SoundSystem::nowNs()), m_sound->sampleRate());
    return SoundResult::Ok;
}

int SoundChannel::getSpectrum(float* spectrum, int count, int channelOffset, int windowType)
{
    if (!spectrum || count < 1 || count > 16384)
        return SoundResult::InvalidParam;
    std::fill(spectrum, spectrum + count, 0.0f);
    if (windowType != WindowTriangle || channelOffset < 0)
        return SoundResult::InvalidParam;

    const SoundSample* sound;
    uint64_t heard;
    {
        SoundSystem::Lock lock(m_system);
        if (!m_sound)
            return SoundResult::ChannelStopped;
        if (m_paused)
            return SoundResult::Ok;
        sound = m_sound;
        heard = heardPosition(SoundSystem::nowNs());
    }
    if (channelOffset >= sound->channels())
        return SoundResult::InvalidParam;
    // The decoded data is immutable and the sound can only be released by this
    // same thread, so the transform runs outside the lock.
    SpectrumAnalyser* analyser = m_system.analyser(count);
    if (!analyser)
        return SoundResult::OutOfMemory;
    analyser->compute(sound->data(), sound->frameCount(), sound->channels(), channelOffset,
                      static_cast<int64_t>(heard >> 32), spectrum);
    return SoundResult::Ok;
}
