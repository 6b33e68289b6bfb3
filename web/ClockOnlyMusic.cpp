// ClockOnlyMusic: Music for the page until the browser's sound (WebAudio) takes its
// place: nothing is heard, the position runs on the page's clock from play, and the
// spectrum is silence. The browser's sound replaces this file.
#include <emscripten.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>

#include "Music/Music.h"

class Player {
public:
    double startedAt = 0.0;  // ms on emscripten_get_now at position 0
    double pausedAt = -1.0;  // position in ms while paused, else < 0
    bool playing = false;
};

struct Sound {
    std::string path;
};

Music::Music() : m_manualClock(false), m_clockMs(0)
{
    std::cout << "Music created" << std::endl;
}

Music::~Music()
{
    std::cout << "Music deleted" << std::endl;
}

bool Music::init()
{
    m_player = std::make_unique<Player>();
    return true;
}

bool Music::load(const char* path)
{
    stop();
    m_sound = std::make_unique<Sound>(Sound{path});
    return true;
}

void Music::play()
{
    if (!m_player || !m_sound)
        return;
    if (m_player->playing && m_player->pausedAt >= 0.0)
        m_player->startedAt = emscripten_get_now() - m_player->pausedAt;
    else
        m_player->startedAt = emscripten_get_now();
    m_player->pausedAt = -1.0;
    m_player->playing = true;
}

void Music::getSpectrum(float* array, int count)
{
    std::fill(array, array + std::max(count, 0), 0.0f);
}

void Music::stop()
{
    if (m_player)
        m_player->playing = false;
}

void Music::pause()
{
    if (m_player && m_player->playing && m_player->pausedAt < 0.0)
        m_player->pausedAt = emscripten_get_now() - m_player->startedAt;
}

std::unique_ptr<char[]> Music::getName()
{
    std::unique_ptr<char[]> name(new char[50]());
    if (m_sound)
        std::strncpy(name.get(), m_sound->path.c_str(), 49);
    return name;
}

void Music::setPosition(unsigned int position)
{
    if (!m_player || !m_player->playing)
        return;
    if (m_player->pausedAt >= 0.0)
        m_player->pausedAt = position;
    else
        m_player->startedAt = emscripten_get_now() - position;
}

unsigned int Music::getPosition()
{
    if (!m_player || !m_player->playing)
        return 0;
    const double at =
        m_player->pausedAt >= 0.0 ? m_player->pausedAt : emscripten_get_now() - m_player->startedAt;
    return static_cast<unsigned>(std::max(at, 0.0));
}

unsigned int Music::getLength()
{
    return 0;
}

void Music::setClock(unsigned int ms)
{
    // The page always plays on its own clock; a tool's clock is only noted.
    m_manualClock = !m_player;
    m_clockMs = ms;
}
