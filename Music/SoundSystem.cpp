// SoundSystem: creation and checks of sounds, channel start, the clocks, and the
// wiring of output, mixer and feeder.
#include "Music/SoundSystem.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <string>
#include <system_error>

#include "Music/AudioOutput.h"
#include "Music/MpegReader.h"
#include "Music/SoundChannel.h"
#include "Music/SoundFile.h"
#include "Music/SoundMixer.h"
#include "Music/SoundResult.h"
#include "Music/SoundSample.h"
#include "Music/SoundStream.h"
#include "Music/SpectrumAnalyser.h"
#include "Music/StreamFeeder.h"

namespace {

const int kMixRate = 44100;  // the output's rate; also the mixer's without a device
const int kDemoSpectrumCount = 512;

int64_t steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

SoundSystem::SoundSystem() : m_initialised(false), m_manualClock(false), m_clockNs(0)
{
}

SoundSystem::~SoundSystem() = default;

int SoundSystem::create(SoundSystem** system)
{
    if (!system)
        return SoundResult::InvalidParam;
    *system = new (std::nothrow) SoundSystem();
    return *system ? SoundResult::Ok : SoundResult::OutOfMemory;
}

int SoundSystem::init(int maxChannels, unsigned int flags)
{
    if (m_initialised)
        return SoundResult::AlreadyInitialised;
    if (maxChannels < 1 || maxChannels > MaxChannels || (flags & ~InitNoDevice))
        return SoundResult::InvalidParam;
    const bool device = !(flags & InitNoDevice);

    // Everything is made aside and kept only when all of it exists.
    std::unique_ptr<SoundMixer> mixer;
    std::vector<std::unique_ptr<SoundChannel>> channels;
    std::unique_ptr<StreamFeeder> feeder;
    std::unique_ptr<AudioOutput> output;
    try {
        mixer.reset(new SoundMixer(maxChannels, kMixRate));
        channels.reserve(static_cast<size_t>(maxChannels));
        for (int i = 0; i < maxChannels; ++i)
            channels.push_back(std::unique_ptr<SoundChannel>(new SoundChannel(*this, i)));
        // The demo's 512-band spectrum is planned now, not on the first frame.
        if (!analyser(kDemoSpectrumCount))
            return SoundResult::OutOfMemory;
        m_spectrumWindow.resize(2 * static_cast<size_t>(SoundChannel::MaxSpectrumCount));
        feeder.reset(new StreamFeeder(&SoundSystem::collect, this, maxChannels));
        if (device) {
            output.reset(new AudioOutput());
            const int result = output->open(&SoundSystem::fill, this);
            if (result != SoundResult::Ok)
                return result;
        }
    } catch (const std::bad_alloc&) {
        return SoundResult::OutOfMemory;
    } catch (const std::system_error&) {
        return SoundResult::OutOfMemory;  // no thread could be started
    }

    {
        // The feeder already runs and reads the mixer under the lock.
        std::lock_guard<std::mutex> lock(m_mutex);
        mixer->setClockDriven(!device || output->silent());
        m_mixer = std::move(mixer);
        m_manualClock = !device;
        m_clockNs = 0;
    }
    m_channels = std::move(channels);
    m_feeder = std::move(feeder);
    m_output = std::move(output);
    if (m_output)
        m_output->start();
    m_initialised = true;
    return SoundResult::Ok;
}

int SoundSystem::setClock(unsigned int ms)
{
    if (!m_initialised)
        return SoundResult::NotInitialised;
    if (!m_manualClock)
        return SoundResult::ClockNotSettable;
    const int64_t now = static_cast<int64_t>(ms) * 1000000;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (now < m_clockNs)
        return SoundResult::InvalidParam;
    m_clockNs = now;
    m_mixer->advance(now);
    return SoundResult::Ok;
}

int64_t SoundSystem::clockLocked()
{
    const int64_t now = m_manualClock ? m_clockNs : steadyNs();
    if (m_mixer->clockDriven())
        m_mixer->advance(now);
    return now;
}

int SoundSystem::createStream(const char* path, unsigned int mode, SoundSample** sound)
{
    if (!sound)
        return SoundResult::InvalidParam;
    *sound = nullptr;
    if (!m_initialised)
        return SoundResult::NotInitialised;
    const unsigned int known = ModeLoopOff | ModeLoopNormal | ModeFlat | ModeSoftwareMix |
                               ModeCreateSample | ModeExactTime | ModeSingleInstance;
    if (!path || (mode & ~known) || ((mode & ModeLoopOff) && (mode & ModeLoopNormal)))
        return SoundResult::InvalidParam;

    try {
        std::unique_ptr<SoundFile> file;
        int result = SoundFile::open(path, &file);
        if (result != SoundResult::Ok)
            return result;
        MpegReader reader;
        int64_t frames = 0;
        result = reader.open(*file);
        if (result == SoundResult::Ok)
            result = reader.check(&frames);
        if (result != SoundResult::Ok)
            return result;

        std::string name(path);
        const size_t slash = name.find_last_of('/');
        if (slash != std::string::npos)
            name.erase(0, slash + 1);
        m_sounds.reserve(m_sounds.size() + 1);
        m_sounds.push_back(std::unique_ptr<SoundSample>(
            new SoundSample(*this, std::move(file), frames, reader.sampleRate(), mode, name)));
    } catch (const std::bad_alloc&) {
        return SoundResult::OutOfMemory;
    }
    *sound = m_sounds.back().get();
    return SoundResult::Ok;
}

int SoundSystem::playSound(int channelIndex, SoundSample* sound, bool paused,
                           SoundChannel** channel)
{
    if (!channel)
        return SoundResult::InvalidParam;
    *channel = nullptr;
    if (!m_initialised)
        return SoundResult::NotInitialised;
    if (!sound)
        return SoundResult::InvalidHandle;
    const bool owned =
        std::any_of(m_sounds.begin(), m_sounds.end(),
                    [sound](const std::unique_ptr<SoundSample>& s) { return s.get() == sound; });
    if (!owned)
        return SoundResult::InvalidHandle;
    if (channelIndex != ChannelFree &&
        (channelIndex < 0 || channelIndex >= static_cast<int>(m_channels.size())))
        return SoundResult::InvalidParam;
    {
        // Only this thread starts voices: one found free now is still free below.
        std::lock_guard<std::mutex> lock(m_mutex);
        clockLocked();
        if (channelIndex == ChannelFree && m_mixer->freeVoice() < 0)
            return SoundResult::NoFreeChannel;
    }

    std::shared_ptr<SoundStream> stream;
    try {
        stream =
            std::make_shared<SoundStream>(sound->m_file, sound->m_frames, sound->loops(), m_mutex);
    } catch (const std::bad_alloc&) {
        return SoundResult::OutOfMemory;
    }
    if (!stream->isOpen())
        return SoundResult::DecoderFailure;
    int voice = -1;
    std::shared_ptr<SoundStream> previous;  // what the voice played, destroyed outside the lock
    const int result = stream->restart(0, [&] {
        const int64_t now = clockLocked();
        voice = channelIndex == ChannelFree ? m_mixer->freeVoice() : channelIndex;
        previous = m_mixer->start(voice, stream, paused, now);
    });
    if (result != SoundResult::Ok) {
        std::shared_ptr<SoundStream> failed;
        std::lock_guard<std::mutex> lock(m_mutex);
        failed = m_mixer->stop(voice);
        return result;
    }
    m_feeder->wake();
    *channel = m_channels[static_cast<size_t>(voice)].get();
    return SoundResult::Ok;
}

int SoundSystem::update()
{
    return m_initialised ? SoundResult::Ok : SoundResult::NotInitialised;
}

int SoundSystem::close()
{
    if (!m_initialised)
        return SoundResult::NotInitialised;
    // Joined without m_mutex held: a callback or a feeding round waiting for it
    // would never end.
    m_output.reset();
    m_feeder.reset();
    std::vector<std::shared_ptr<SoundStream>> stopped;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (int i = 0; i < m_mixer->voiceCount(); ++i)
            stopped.push_back(m_mixer->stop(i));
    }
    m_initialised = false;
    return SoundResult::Ok;
}

int SoundSystem::release()
{
    if (m_initialised)
        close();
    delete this;  // the handle API's owner is its caller: release is its delete
    return SoundResult::Ok;
}

int SoundSystem::releaseSound(SoundSample* sound)
{
    auto it =
        std::find_if(m_sounds.begin(), m_sounds.end(),
                     [sound](const std::unique_ptr<SoundSample>& s) { return s.get() == sound; });
    if (it == m_sounds.end())
        return SoundResult::InvalidHandle;
    std::vector<std::shared_ptr<SoundStream>> stopped;  // destroyed outside the lock
    if (m_mixer) {
        stopped.reserve(static_cast<size_t>(m_mixer->voiceCount()));
        // The audio thread must not be reading the sound when it goes.
        std::lock_guard<std::mutex> lock(m_mutex);
        clockLocked();
        for (int i = 0; i < m_mixer->voiceCount(); ++i) {
            const std::shared_ptr<SoundStream>& stream = m_mixer->stream(i);
            if (stream && stream->file() == sound->m_file.get())
                stopped.push_back(m_mixer->stop(i));
        }
    }
    m_sounds.erase(it);
    return SoundResult::Ok;
}

SpectrumAnalyser* SoundSystem::analyser(int count)
{
    for (auto& a : m_analysers)
        if (a->count() == count)
            return a.get();
    // A count other than the demo's is planned once, on its first use.
    try {
        std::unique_ptr<SpectrumAnalyser> created(new SpectrumAnalyser(count));
        m_analysers.push_back(std::move(created));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return m_analysers.back().get();
}

void SoundSystem::fill(void* system, int16_t* out, int frames)
{
    SoundSystem& self = *static_cast<SoundSystem*>(system);
    std::lock_guard<std::mutex> lock(self.m_mutex);
    self.m_mixer->mix(out, frames, steadyNs());
}

void SoundSystem::collect(void* system, std::vector<std::shared_ptr<SoundStream>>& streams)
{
    SoundSystem& self = *static_cast<SoundSystem*>(system);
    std::lock_guard<std::mutex> lock(self.m_mutex);
    if (!self.m_mixer)
        return;  // still starting
    self.clockLocked();
    for (int i = 0; i < self.m_mixer->voiceCount(); ++i)
        if (self.m_mixer->active(i))
            streams.push_back(self.m_mixer->stream(i));
}
