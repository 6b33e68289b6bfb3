// SoundSystem: SDL audio output, channel mixing on the audio thread, sound ownership.
// Depends on SDL 1.2 (sdl12-compat) audio, SoundDecoder and SpectrumAnalyser.
#include "Music/SoundSystem.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string>

#include "Music/SoundChannel.h"
#include "Music/SoundDecoder.h"
#include "Music/SoundResult.h"
#include "Music/SoundSample.h"
#include "Music/SpectrumAnalyser.h"

SoundSystem* SoundSystem::s_deviceOwner = nullptr;

namespace {

const int kOutputRate = 44100;
const int kOutputSamples = 1024;  // frames per callback asked of SDL: 23 ms
const int kDemoSpectrumCount = 512;

// Points standard error at /dev/null while audio back ends probe the hardware:
// libasound writes a dozen "ALSA lib ..." lines when no card is present, and the
// user must see only our own one-line verdict. Redirecting the descriptor catches
// every back end's noise, not only ALSA's.
class StderrSilencer {
public:
    StderrSilencer() : m_saved(-1)
    {
        std::cerr.flush();
        std::fflush(stderr);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null < 0)
            return;
        m_saved = ::dup(STDERR_FILENO);
        if (m_saved >= 0)
            ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
    ~StderrSilencer()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
    }
    StderrSilencer(const StderrSilencer&) = delete;
    StderrSilencer& operator=(const StderrSilencer&) = delete;

private:
    int m_saved;
};

std::string driverName()
{
    char name[32] = {0};
    if (!SDL_AudioDriverName(name, sizeof(name)))
        return std::string();
    return name;
}

// Sets or restores SDL_AUDIODRIVER for one subsystem start.
class DriverOverride {
public:
    explicit DriverOverride(const char* driver)
    {
        const char* old = std::getenv("SDL_AUDIODRIVER");
        m_had = old != nullptr;
        if (m_had)
            m_old = old;
        ::setenv("SDL_AUDIODRIVER", driver, 1);
    }
    ~DriverOverride()
    {
        if (m_had)
            ::setenv("SDL_AUDIODRIVER", m_old.c_str(), 1);
        else
            ::unsetenv("SDL_AUDIODRIVER");
    }

private:
    bool m_had;
    std::string m_old;
};

// Starts the audio subsystem and opens the device; on failure leaves the
// subsystem stopped and the reason in reason.
bool startAudio(SDL_AudioSpec& want, std::string& reason)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        reason = SDL_GetError();
        return false;
    }
    // No "obtained" format asked back: SDL converts to exactly the format requested.
    if (SDL_OpenAudio(&want, nullptr) != 0) {
        reason = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

}  // namespace

SoundSystem::Lock::Lock(const SoundSystem& system) : m_locked(system.m_deviceOpen)
{
    if (m_locked)
        SDL_LockAudio();
}

SoundSystem::Lock::~Lock()
{
    if (m_locked)
        SDL_UnlockAudio();
}

SoundSystem::SoundSystem()
    : m_initialised(false), m_deviceOpen(false), m_clockDriven(false), m_deviceRate(kOutputRate),
      m_callbackFrames(0)
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
    if (maxChannels < 1 || maxChannels > MaxChannels || flags != InitNormal)
        return SoundResult::InvalidParam;
    if (s_deviceOwner)
        return SoundResult::DeviceInUse;

    try {
        m_channels.clear();
        m_channels.reserve(maxChannels);
        for (int i = 0; i < maxChannels; ++i)
            m_channels.push_back(std::unique_ptr<SoundChannel>(new SoundChannel(*this)));
        // The demo's 512-band spectrum is planned now, not on the first frame.
        if (!analyser(kDemoSpectrumCount))
            throw std::bad_alloc();
    } catch (const std::bad_alloc&) {
        m_channels.clear();
        m_analysers.clear();
        return SoundResult::OutOfMemory;
    }

    const int result = openDevice();
    if (result != SoundResult::Ok) {
        m_channels.clear();
        return result;
    }
    m_initialised = true;
    return SoundResult::Ok;
}

int SoundSystem::openDevice()
{
    SDL_AudioSpec want;
    std::memset(&want, 0, sizeof(want));
    want.freq = kOutputRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kOutputSamples;
    want.callback = &SoundSystem::audioCallback;
    want.userdata = this;

    // The callback mixes in chunks of this buffer, whatever length SDL asks for.
    try {
        m_mixBuffer.assign(static_cast<size_t>(kOutputSamples) * 2, 0.0f);
    } catch (const std::bad_alloc&) {
        return SoundResult::OutOfMemory;
    }

    std::string reason;
    bool opened;
    {
        StderrSilencer quiet;
        opened = startAudio(want, reason);
    }
    if (!opened) {
        if (driverName() == "dummy" || (std::getenv("SDL_AUDIODRIVER") &&
                                        std::string(std::getenv("SDL_AUDIODRIVER")) == "dummy"))
            return SoundResult::AudioDevice;
        // Asking SDL for a driver by name does not switch it; starting the audio
        // subsystem again with the environment variable set does.
        bool silent;
        {
            DriverOverride dummy("dummy");
            StderrSilencer quiet;
            std::string dummyReason;
            silent = startAudio(want, dummyReason);
        }
        if (!silent)
            return SoundResult::AudioDevice;  // the caller reports this one failure
        std::cerr << "No audio device could be opened (" << reason
                  << "): the music goes on without sound through SDL's dummy audio driver" << std::endl;
    }

    m_deviceOpen = true;
    s_deviceOwner = this;
    {
        // The compatibility layer may already run the audio thread: what the
        // callback reads is published under the audio lock.
        Lock lock(*this);
        m_clockDriven = driverName() == "dummy";
        m_deviceRate = want.freq;
    }
    SDL_PauseAudio(0);
    return SoundResult::Ok;
}

int SoundSystem::createStream(const char* path, unsigned int mode, SoundSample** sound)
{
    if (!sound)
        return SoundResult::InvalidParam;
    *sound = nullptr;
    if (!m_initialised)
        return SoundResult::NotInitialised;
    const unsigned int known = ModeLoopOff | ModeLoopNormal | ModeFlat | ModeSoftwareMix | ModeDecodeWhole |
                               ModeExactTime | ModeSingleInstance;
    if (!path || (mode & ~known) || ((mode & ModeLoopOff) && (mode & ModeLoopNormal)))
        return SoundResult::InvalidParam;

    std::vector<float> data;
    int channels = 0;
    int rate = 0;
    const int result = SoundDecoder::decodeFile(path, data, channels, rate);
    if (result != SoundResult::Ok)
        return result;

    std::string name(path);
    const size_t slash = name.find_last_of('/');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    try {
        std::unique_ptr<SoundSample> created(new SoundSample(*this, std::move(data), channels, rate, mode, name));
        m_sounds.push_back(std::move(created));
    } catch (const std::bad_alloc&) {
        return SoundResult::OutOfMemory;
    }
    *sound = m_sounds.back().get();
    return SoundResult::Ok;
}

int SoundSystem::playSound(int channelIndex, SoundSample* sound, bool paused, SoundChannel** channel)
{
    if (!channel)
        return SoundResult::InvalidParam;
    *channel = nullptr;
    if (!m_initialised)
        return SoundResult::NotInitialised;
    if (!sound)
        return SoundResult::InvalidHandle;
    const bool owned = std::any_of(m_sounds.begin(), m_sounds.end(),
                                   [sound](const std::unique_ptr<SoundSample>& s) { return s.get() == sound; });
    if (!owned)
        return SoundResult::InvalidHandle;
    if (channelIndex != ChannelFree && (channelIndex < 0 || channelIndex >= static_cast<int>(m_channels.size())))
        return SoundResult::InvalidParam;

    Lock lock(*this);
    SoundChannel* chosen = nullptr;
    if (channelIndex == ChannelFree) {
        for (auto& c : m_channels) {
            if (!c->m_sound) {
                chosen = c.get();
                break;
            }
        }
        if (!chosen)
            return SoundResult::NoFreeChannel;
    } else {
        chosen = m_channels[channelIndex].get();
    }
    chosen->m_sound = sound;
    chosen->m_paused = paused;
    chosen->m_loopsLeft = sound->loops() ? -1 : 0;
    chosen->m_position = 0;
    chosen->m_step = (static_cast<uint64_t>(sound->sampleRate()) << 32) / static_cast<uint64_t>(m_deviceRate);
    chosen->restartClock(nowNs());
    *channel = chosen;
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
    if (m_deviceOpen) {
        // Joins the audio thread: no callback runs after this.
        SDL_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_deviceOpen = false;
        s_deviceOwner = nullptr;
    }
    for (auto& c : m_channels)
        c->m_sound = nullptr;
    m_initialised = false;
    return SoundResult::Ok;
}

int SoundSystem::release()
{
    if (m_initialised)
        close();
    delete this;
    return SoundResult::Ok;
}

int SoundSystem::releaseSound(SoundSample* sound)
{
    auto it = std::find_if(m_sounds.begin(), m_sounds.end(),
                           [sound](const std::unique_ptr<SoundSample>& s) { return s.get() == sound; });
    if (it == m_sounds.end())
        return SoundResult::InvalidHandle;
    {
        // The audio thread must not be reading the sound when it goes.
        Lock lock(*this);
        for (auto& c : m_channels)
            if (c->m_sound == sound)
                c->m_sound = nullptr;
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

int64_t SoundSystem::nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

uint64_t SoundSystem::framesIn(int64_t elapsedNs, int sampleRate)
{
    if (elapsedNs <= 0)
        return 0;
    // Split into whole frames and a remainder so that no product overflows 64 bits
    // for elapsed times up to days.
    const uint64_t scaled = static_cast<uint64_t>(elapsedNs) * static_cast<uint64_t>(sampleRate);
    const uint64_t whole = scaled / 1000000000ull;
    const uint64_t rest = scaled % 1000000000ull;
    return (whole << 32) + (rest << 32) / 1000000000ull;
}

void SoundSystem::audioCallback(void* userdata, Uint8* stream, int len)
{
    // SDL holds the audio lock while this runs.
    static_cast<SoundSystem*>(userdata)->fill(reinterpret_cast<Sint16*>(stream), len / 4);
}

void SoundSystem::fill(Sint16* out, int frames)
{
    const int64_t now = nowNs();
    m_callbackFrames = frames;
    if (m_clockDriven) {
        // Nothing is heard: move every playing channel on by the time that passed.
        std::memset(out, 0, static_cast<size_t>(frames) * 4);
        for (auto& c : m_channels) {
            if (!c->m_sound || c->m_paused)
                continue;
            c->m_position += framesIn(now - c->m_anchorNs, c->m_sound->sampleRate());
            c->m_anchorNs = now;
            c->m_anchorPending = false;
            handleEnd(*c);
        }
        return;
    }

    const int chunk = static_cast<int>(m_mixBuffer.size() / 2);
    for (int done = 0; done < frames; done += chunk) {
        const int n = std::min(chunk, frames - done);
        std::fill(m_mixBuffer.begin(), m_mixBuffer.begin() + 2 * n, 0.0f);
        for (auto& c : m_channels)
            if (c->m_sound && !c->m_paused)
                mixChannel(*c, m_mixBuffer.data(), n);
        for (int i = 0; i < 2 * n; ++i) {
            const float v = std::max(-1.0f, std::min(1.0f, m_mixBuffer[i]));
            out[2 * done + i] = static_cast<Sint16>(v * 32767.0f);
        }
    }
    for (auto& c : m_channels) {
        if (c->m_sound && !c->m_paused) {
            c->m_anchorNs = now;
            c->m_anchorPending = false;
        }
    }
}

void SoundSystem::mixChannel(SoundChannel& channel, float* mix, int frames)
{
    for (int i = 0; i < frames; ++i) {
        handleEnd(channel);
        const SoundSample* sound = channel.m_sound;
        if (!sound)
            return;
        const size_t count = sound->frameCount();
        const int channels = sound->channels();
        const float* data = sound->data();
        const size_t at = static_cast<size_t>(channel.m_position >> 32);
        // Linear interpolation between this frame and the next; past the last
        // frame a looping sound continues from its start, another holds still.
        size_t next = at + 1;
        if (next >= count)
            next = sound->loops() && channel.m_loopsLeft != 0 ? 0 : at;
        const float t = static_cast<float>(channel.m_position & 0xffffffffu) * (1.0f / 4294967296.0f);
        const float* a = data + at * channels;
        const float* b = data + next * channels;
        const float left = a[0] + (b[0] - a[0]) * t;
        const float right = channels > 1 ? a[1] + (b[1] - a[1]) * t : left;
        mix[2 * i] += left;
        mix[2 * i + 1] += right;
        channel.m_position += channel.m_step;
    }
    handleEnd(channel);
}

void SoundSystem::handleEnd(SoundChannel& channel)
{
    const SoundSample* sound = channel.m_sound;
    if (!sound)
        return;
    const uint64_t length = static_cast<uint64_t>(sound->frameCount()) << 32;
    while (channel.m_position >= length) {
        if (!sound->loops() || channel.m_loopsLeft == 0 || length == 0) {
            channel.m_sound = nullptr;
            return;
        }
        channel.m_position -= length;
        if (channel.m_loopsLeft > 0)
            --channel.m_loopsLeft;
    }
}
