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

#include "Music/SoundError.h"

bool AudioOutput::s_open = false;

namespace {

const int OUTPUT_SAMPLES = 1024;  // frames per callback asked of SDL: 23 ms

std::string driverName()
{
    char name[32] = {0};
    return SDL_AudioDriverName(name, sizeof(name)) ? name : "";
}

// Starts the audio subsystem and opens the device (paused); on failure leaves the
// subsystem stopped and the reason in reason. With `driver`, the SDL_AUDIODRIVER
// variable names it for this start only: asking SDL for a driver by name does not
// switch it, starting the subsystem with the variable set does.
bool startAudio(SDL_AudioSpec& want, std::string& reason, const char* driver = nullptr)
{
    const char* old = std::getenv("SDL_AUDIODRIVER");
    const std::string kept = old ? old : "";
    if (driver)
        ::setenv("SDL_AUDIODRIVER", driver, 1);
    // Standard error points at /dev/null meanwhile: libasound writes a dozen "ALSA
    // lib ..." lines when no card is present, and the user must see only our own
    // one-line verdict. Redirecting the descriptor catches every back end's noise.
    std::cerr.flush();
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0)
        ::dup2(null, STDERR_FILENO);
    // No "obtained" format asked back: SDL converts to exactly the format requested.
    bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (started && SDL_OpenAudio(&want, nullptr) != 0) {
        reason = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        started = false;
    } else if (!started) {
        reason = SDL_GetError();
    }
    if (saved >= 0) {
        std::fflush(stderr);
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
    }
    if (null >= 0)
        ::close(null);
    if (driver && old)
        ::setenv("SDL_AUDIODRIVER", kept.c_str(), 1);
    else if (driver)
        ::unsetenv("SDL_AUDIODRIVER");
    return started;
}

}  // namespace

AudioOutput::AudioOutput(Source& source) : m_source(source), m_silent(false)
{
    if (s_open)
        throw SoundError(SoundError::DEVICE_IN_USE);
    SDL_AudioSpec want;
    std::memset(&want, 0, sizeof(want));
    want.freq = RATE;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = OUTPUT_SAMPLES;
    want.callback = &AudioOutput::callback;
    want.userdata = this;

    std::string reason;
    if (!startAudio(want, reason)) {
        const char* asked = std::getenv("SDL_AUDIODRIVER");
        std::string unused;
        if (driverName() == "dummy" || (asked && std::string(asked) == "dummy") ||
            !startAudio(want, unused, "dummy"))
            throw SoundError(SoundError::AUDIO_DEVICE);  // the caller reports this one failure
        std::cerr << "No audio device could be opened (" << reason
                  << "): the music goes on without sound through SDL's dummy audio driver"
                  << std::endl;
    }
    s_open = true;
    m_silent = driverName() == "dummy";
}

AudioOutput::~AudioOutput()
{
    // Joins the audio thread: no callback runs after this.
    SDL_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    s_open = false;
}

void AudioOutput::start()
{
    SDL_PauseAudio(0);
}

void AudioOutput::callback(void* self, unsigned char* stream, int length)
{
    static_cast<AudioOutput*>(self)->m_source.fill(reinterpret_cast<int16_t*>(stream), length / 4);
}
