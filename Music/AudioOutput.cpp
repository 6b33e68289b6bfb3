// AudioOutput: SDL audio device probing, the quiet probe, the dummy-driver fallback.
// Depends on SDL 1.2 (sdl12-compat) audio.
#include "Music/AudioOutput.h"

#include <SDL/SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "Music/SoundResult.h"

AudioOutput* AudioOutput::s_owner = nullptr;

namespace {

const int kOutputRate = 44100;
const int kOutputSamples = 1024;  // frames per callback asked of SDL: 23 ms

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

// Sets SDL_AUDIODRIVER for one subsystem start and restores it afterwards.
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
    DriverOverride(const DriverOverride&) = delete;
    DriverOverride& operator=(const DriverOverride&) = delete;

private:
    bool m_had;
    std::string m_old;
};

// Starts the audio subsystem and opens the device (paused); on failure leaves the
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

bool dummyRequested()
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    return driver && std::string(driver) == "dummy";
}

}  // namespace

AudioOutput::AudioOutput()
    : m_fill(nullptr), m_context(nullptr), m_open(false), m_silent(false), m_rate(kOutputRate)
{
}

AudioOutput::~AudioOutput()
{
    close();
}

int AudioOutput::open(Fill fill, void* context)
{
    if (m_open || s_owner)
        return SoundResult::DeviceInUse;
    // Set before the device exists: the audio thread reads them.
    m_fill = fill;
    m_context = context;

    SDL_AudioSpec want;
    std::memset(&want, 0, sizeof(want));
    want.freq = kOutputRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kOutputSamples;
    want.callback = &AudioOutput::callback;
    want.userdata = this;

    std::string reason;
    bool opened;
    {
        StderrSilencer quiet;
        opened = startAudio(want, reason);
    }
    if (!opened) {
        if (driverName() == "dummy" || dummyRequested())
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
                  << "): the music goes on without sound through SDL's dummy audio driver"
                  << std::endl;
    }
    m_open = true;
    s_owner = this;
    m_silent = driverName() == "dummy";
    m_rate = want.freq;
    return SoundResult::Ok;
}

void AudioOutput::start()
{
    if (m_open)
        SDL_PauseAudio(0);
}

void AudioOutput::close()
{
    if (!m_open)
        return;
    // Joins the audio thread: no callback runs after this.
    SDL_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_open = false;
    s_owner = nullptr;
}

void AudioOutput::callback(void* self, unsigned char* stream, int length)
{
    const AudioOutput& output = *static_cast<AudioOutput*>(self);
    output.m_fill(output.m_context, reinterpret_cast<int16_t*>(stream), length / 4);
}
