// Helpers of the music player tests: spectrum reads, line counting of captured
// output, the steady clock, and environment variables set for one scope.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Music/Music.h"
#include "Music/SoundError.h"

// The line a failure writes on standard error.
inline std::string lineOf(SoundError::Reason reason)
{
    return std::string(SoundError(reason).what()) + "\n";
}

inline std::vector<float> spectrumOf(Music& music)
{
    // Pre-filled with garbage so that "zeros" means written, not left alone.
    std::vector<float> spectrum(512, 7.0f);
    music.getSpectrum(spectrum.data(), 512);
    return spectrum;
}

inline float loudest(const std::vector<float>& spectrum)
{
    return *std::max_element(spectrum.begin(), spectrum.end());
}

inline bool allZero(const std::vector<float>& spectrum)
{
    return std::all_of(spectrum.begin(), spectrum.end(), [](float v) { return v == 0.0f; });
}

inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

inline double nowMs()
{
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Sets an environment variable (SDL_AUDIODRIVER, ...) for one scope, restoring the old value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        if (old)
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_had)
            ::setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_had;
    std::string m_old;
};
