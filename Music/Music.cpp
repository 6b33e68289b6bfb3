// Music: the demo's calls mapped onto the Player and the loaded Sound; every failure
// becomes one line on standard error here.
#include "Music/Music.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <new>
#include <system_error>

#include "Music/SoundError.h"
// The same calls over each platform's Player and Sound: in the page the decoded
// sound plays through Web Audio, on the desktop through SDL with its own decoding.
#ifdef __EMSCRIPTEN__
#include "Music/Browser/Player.h"
#else
#include "Music/MpegReader.h"
#include "Music/Player.h"
#endif

namespace {

const int NAME_LENGTH = 50;

void report(SoundError::Reason reason)
{
    std::cerr << SoundError(reason).what() << std::endl;
}

// Runs f; true when it succeeded, otherwise its failure's line on standard error.
template <class F>
bool reported(F f)
{
    try {
        f();
        return true;
    } catch (const SoundError& e) {
        report(e.reason());
    } catch (const std::bad_alloc&) {
        report(SoundError::OUT_OF_MEMORY);
    } catch (const std::system_error&) {
        report(SoundError::OUT_OF_MEMORY);  // no thread could be started
    }
    return false;
}

}  // namespace

Music::Music() : m_manualClock(false), m_clockMs(0)
{
    std::cout << "Music created" << std::endl;
}

Music::~Music()
{
    m_player.reset();  // its threads stop before the sound they read goes
    m_sound.reset();
    std::cout << "Music deleted" << std::endl;
}

bool Music::init()
{
    // A second init keeps the working player: another would find the output taken.
    if (m_player) {
        report(SoundError::ALREADY_INITIALISED);
        return false;
    }
    return reported([this] { m_player.reset(new Player(!m_manualClock, m_clockMs)); });
}

bool Music::load(const char* path)
{
    if (m_player)
        m_player->stop();  // the one channel plays the sound released here
    m_sound.reset();
    if (!m_player) {
        report(SoundError::NOT_INITIALISED);
        return false;
    }
    return reported([&] { m_sound.reset(new Sound(path)); });
}

void Music::play()
{
    if (!m_player)
        return;
    if (m_player->paused()) {
        m_player->setPaused(false);
        return;
    }
    m_player->stop();
    // Reports nothing: the demo's start goes on silently without a sound.
    if (m_sound) {
        try {
            m_player->start(*m_sound);
        } catch (const std::exception&) {
        }
    }
}

void Music::getSpectrum(float* array, int count)
{
    if (!array || count < 1)
        return;
    std::fill(array, array + count, 0.0f);  // silence unless something plays
    try {
        if (m_player)
            m_player->spectrum(array, count);
    } catch (const std::bad_alloc&) {  // no analyser for this count: reported by nothing
    }
}

void Music::stop()
{
    if (m_player)
        m_player->stop();
}

void Music::pause()
{
    if (m_player)
        m_player->setPaused(true);
}

std::unique_ptr<char[]> Music::getName()
{
    std::unique_ptr<char[]> name(new (std::nothrow) char[NAME_LENGTH]());
    if (!name)
        return name;  // no memory for 50 bytes: nothing to report into
    if (!m_sound)
        report(SoundError::NO_SOUND);
    else
        std::strncpy(name.get(), m_sound->name.c_str(), NAME_LENGTH - 1);
    return name;
}

void Music::setPosition(unsigned int position)
{
    if (!m_player)
        report(SoundError::NOT_PLAYING);
    else
        reported([&] { m_player->setPosition(position); });
}

unsigned int Music::getPosition()
{
    unsigned int position = 0;
    if (!m_player)
        report(SoundError::NOT_PLAYING);
    else
        reported([&] { position = m_player->position(); });
    return position;
}

unsigned int Music::getLength()
{
    if (!m_sound) {
        report(SoundError::NO_SOUND);
        return 0;
    }
    return static_cast<unsigned int>(static_cast<unsigned long long>(m_sound->frames) * 1000 /
                                     m_sound->sampleRate);
}

void Music::setClock(unsigned int ms)
{
    if (!m_player) {
        m_manualClock = true;
        m_clockMs = ms;
        return;
    }
    reported([&] { m_player->setClock(ms); });
}
