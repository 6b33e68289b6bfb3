// SoundChannel: voice operations under the system's lock, time-unit conversion, and
// the spectrum of the frames being heard.
#include "Music/SoundChannel.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "Music/SoundMixer.h"
#include "Music/SoundResult.h"
#include "Music/SoundStream.h"
#include "Music/SoundSystem.h"
#include "Music/SpectrumAnalyser.h"

namespace {

// Rounded up to the next 2^-32 frame, so that framesToMs gives ms back.
uint64_t msToFrames(unsigned int ms, int rate)
{
    const uint64_t scaled = static_cast<uint64_t>(ms) * static_cast<uint64_t>(rate);
    return ((scaled / 1000u) << 32) + (((scaled % 1000u) << 32) + 999u) / 1000u;
}

unsigned int framesToMs(uint64_t position, int rate)
{
    // position is 32.32 frames: ms = frames * 1000 / rate, rounded down.
    const uint64_t frames = position >> 32;
    const uint64_t fraction = position & 0xffffffffu;
    const uint64_t ms = frames * 1000u / static_cast<uint64_t>(rate);
    const uint64_t rest = frames * 1000u % static_cast<uint64_t>(rate);
    const uint64_t extra =
        (rest * 4294967296ull + fraction * 1000u) / (static_cast<uint64_t>(rate) << 32);
    return static_cast<unsigned int>(ms + extra);
}

}  // namespace

SoundChannel::SoundChannel(SoundSystem& system, int voice) : m_system(system), m_voice(voice)
{
}

int SoundChannel::getPaused(bool* paused) const
{
    if (!paused)
        return SoundResult::InvalidParam;
    std::lock_guard<std::mutex> lock(m_system.m_mutex);
    m_system.clockLocked();
    if (!m_system.m_mixer->active(m_voice))
        return SoundResult::ChannelStopped;
    *paused = m_system.m_mixer->paused(m_voice);
    return SoundResult::Ok;
}

int SoundChannel::setPaused(bool paused)
{
    std::lock_guard<std::mutex> lock(m_system.m_mutex);
    const int64_t now = m_system.clockLocked();
    if (!m_system.m_mixer->active(m_voice))
        return SoundResult::ChannelStopped;
    m_system.m_mixer->setPaused(m_voice, paused, now);
    return SoundResult::Ok;
}

int SoundChannel::setLoopCount(int count)
{
    if (count < -1)
        return SoundResult::InvalidParam;
    std::lock_guard<std::mutex> lock(m_system.m_mutex);
    m_system.clockLocked();
    if (!m_system.m_mixer->active(m_voice))
        return SoundResult::ChannelStopped;
    m_system.m_mixer->setLoopCount(m_voice, count);
    return SoundResult::Ok;
}

int SoundChannel::stop()
{
    std::shared_ptr<SoundStream> stopped;  // destroyed after the lock is released
    std::lock_guard<std::mutex> lock(m_system.m_mutex);
    m_system.clockLocked();
    if (!m_system.m_mixer->active(m_voice))
        return SoundResult::ChannelStopped;
    stopped = m_system.m_mixer->stop(m_voice);
    return SoundResult::Ok;
}

int SoundChannel::setPosition(unsigned int position, unsigned int timeUnit)
{
    if (timeUnit != SoundSystem::TimeUnitMs)
        return SoundResult::InvalidParam;
    std::shared_ptr<SoundStream> stream;
    {
        std::lock_guard<std::mutex> lock(m_system.m_mutex);
        m_system.clockLocked();
        if (!m_system.m_mixer->active(m_voice))
            return SoundResult::ChannelStopped;
        stream = m_system.m_mixer->stream(m_voice);
    }
    const uint64_t frames = msToFrames(position, stream->sampleRate());
    if (frames > static_cast<uint64_t>(stream->length()) << 32)
        return SoundResult::InvalidPosition;
    // The voice moves when the stream's ring is emptied, under the same lock, so
    // the mixer never reads the old frames at the new position.
    bool moved = false;
    const int result = stream->restart(static_cast<int64_t>(frames >> 32), [&] {
        SoundMixer& mixer = *m_system.m_mixer;
        const int64_t now = m_system.clockLocked();
        if (mixer.active(m_voice) && mixer.stream(m_voice) == stream) {
            mixer.jump(m_voice, frames, now);
            moved = true;
        }
    });
    if (!moved)
        return SoundResult::ChannelStopped;  // the sound ended meanwhile
    return result;
}

int SoundChannel::getPosition(unsigned int* position, unsigned int timeUnit) const
{
    if (!position || timeUnit != SoundSystem::TimeUnitMs)
        return SoundResult::InvalidParam;
    std::lock_guard<std::mutex> lock(m_system.m_mutex);
    const int64_t now = m_system.clockLocked();
    const SoundMixer& mixer = *m_system.m_mixer;
    if (!mixer.active(m_voice))
        return SoundResult::ChannelStopped;
    *position =
        framesToMs(mixer.heardFilePosition(m_voice, now), mixer.stream(m_voice)->sampleRate());
    return SoundResult::Ok;
}

int SoundChannel::getSpectrum(float* spectrum, int count, int channelOffset, int windowType)
{
    if (!spectrum || count < 1 || count > MaxSpectrumCount)
        return SoundResult::InvalidParam;
    std::fill(spectrum, spectrum + count, 0.0f);
    if (windowType != WindowTriangle || channelOffset < 0)
        return SoundResult::InvalidParam;

    std::shared_ptr<SoundStream> stream;
    int64_t heard = 0;
    {
        std::lock_guard<std::mutex> lock(m_system.m_mutex);
        const int64_t now = m_system.clockLocked();
        const SoundMixer& mixer = *m_system.m_mixer;
        if (!mixer.active(m_voice))
            return SoundResult::ChannelStopped;
        if (mixer.paused(m_voice))
            return SoundResult::Ok;
        stream = mixer.stream(m_voice);
        heard = static_cast<int64_t>(mixer.heardFrame(m_voice, now) >> 32);
    }
    if (channelOffset >= stream->channels())
        return SoundResult::InvalidParam;
    SpectrumAnalyser* analyser = m_system.analyser(count);
    if (!analyser)
        return SoundResult::OutOfMemory;
    // Normally the feeder is far ahead; on a clock set by hand, or after a stall,
    // the frames up to the one heard are decoded here.
    stream->ensure(heard - 1);
    float* window = m_system.m_spectrumWindow.data();
    {
        std::lock_guard<std::mutex> lock(m_system.m_mutex);
        stream->copyChannel(heard, 2 * count, channelOffset, window);
    }
    analyser->compute(window, 2 * static_cast<size_t>(count), 1, 0, 2 * count, spectrum);
    return SoundResult::Ok;
}
