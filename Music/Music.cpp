// Music: the demo's player on top of our sound layer (SoundSystem, SoundSample, SoundChannel).
#include "Music/Music.h"

#include <algorithm>
#include <iostream>
#include <new>

#include "Music/SoundChannel.h"
#include "Music/SoundResult.h"
#include "Music/SoundSample.h"
#include "Music/SoundSystem.h"

const unsigned int Music::StreamMode =
    SoundSystem::ModeLoopOff | SoundSystem::ModeFlat | SoundSystem::ModeSoftwareMix |
    SoundSystem::ModeCreateSample | SoundSystem::ModeExactTime | SoundSystem::ModeSingleInstance;
static_assert(SoundSystem::ModeLoopOff + SoundSystem::ModeFlat + SoundSystem::ModeSoftwareMix +
                      SoundSystem::ModeCreateSample + SoundSystem::ModeExactTime +
                      SoundSystem::ModeSingleInstance ==
                  0x24149,
              "the demo's sound mode word");

namespace {

const int kChannels = 10;
const int kNameLength = 50;

// True for success; otherwise writes the result's message on standard error.
bool check(int result)
{
    if (result == SoundResult::Ok)
        return true;
    std::cerr << SoundResult::errorString(result) << std::endl;
    return false;
}

}  // namespace

void Music::SystemRelease::operator()(SoundSystem* system) const
{
    system->close();
    system->release();
}

void Music::SoundRelease::operator()(SoundSample* sound) const
{
    sound->release();
}

void Music::ChannelRelease::operator()(SoundChannel* channel) const
{
    channel->stop();
}

Music::Music() : m_manualClock(false), m_clockMs(0)
{
    std::cout << "Music created" << std::endl;
}

Music::~Music()
{
    // The channel belongs to the system and stops with its sound; then the sound,
    // and last the system, which the others point into.
    m_channel.reset();
    m_sound.reset();
    m_system.reset();
    std::cout << "Music deleted" << std::endl;
}

bool Music::init()
{
    // A second init keeps the working system: creating another would leak the
    // first and find the audio output taken.
    if (m_system)
        return check(SoundResult::AlreadyInitialised);
    SoundSystem* created = nullptr;
    const int result = SoundSystem::create(&created);
    m_system.reset(created);
    if (!check(result))
        return false;
    if (!m_manualClock)
        return check(m_system->init(kChannels, SoundSystem::InitNormal));
    return check(m_system->init(kChannels, SoundSystem::InitNoDevice)) &&
           check(m_system->setClock(m_clockMs));
}

bool Music::load(const char* path)
{
    m_sound.reset();
    if (!m_system)
        return check(SoundResult::InvalidHandle);
    SoundSample* created = nullptr;
    const int result = m_system->createStream(path, StreamMode, &created);
    m_sound.reset(created);
    return check(result);
}

void Music::play()
{
    bool paused = false;
    if (m_channel)
        m_channel->getPaused(&paused);
    if (paused) {
        m_channel->setPaused(false);
        return;
    }
    if (!m_system)
        return;
    // Released before the new play: the system may hand out the same channel again.
    m_channel.reset();
    SoundChannel* started = nullptr;
    m_system->playSound(SoundSystem::ChannelFree, m_sound.get(), false, &started);
    m_channel.reset(started);
    if (m_channel)
        m_channel->setLoopCount(-1);
}

void Music::getSpectrum(float* array, int count)
{
    if (m_channel)
        m_channel->getSpectrum(array, count, 0, SoundChannel::WindowTriangle);
    else if (array && count > 0)
        std::fill(array, array + count, 0.0f);  // nothing has played yet: silence
}

void Music::stop()
{
    if (m_channel)
        m_channel->stop();
}

void Music::pause()
{
    if (m_channel)
        m_channel->setPaused(true);
}

void Music::update()
{
    if (m_system)
        m_system->update();
}

std::unique_ptr<char[]> Music::getName()
{
    std::unique_ptr<char[]> name(new (std::nothrow) char[kNameLength]());
    if (!name)
        return name;  // no memory for 50 bytes: nothing to report into
    check(m_sound ? m_sound->getName(name.get(), kNameLength)
                  : static_cast<int>(SoundResult::InvalidHandle));
    return name;
}

void Music::setPosition(unsigned int position)
{
    check(m_channel ? m_channel->setPosition(position, SoundSystem::TimeUnitMs)
                    : static_cast<int>(SoundResult::InvalidHandle));
}

unsigned int Music::getPosition()
{
    unsigned int position = 0;
    if (!check(m_channel ? m_channel->getPosition(&position, SoundSystem::TimeUnitMs)
                         : static_cast<int>(SoundResult::InvalidHandle)))
        return 0;
    return position;
}

unsigned int Music::getLength()
{
    unsigned int length = 0;
    if (!check(m_sound ? m_sound->getLength(&length, SoundSystem::TimeUnitMs)
                       : static_cast<int>(SoundResult::InvalidHandle)))
        return 0;
    return length;
}

void Music::setClock(unsigned int ms)
{
    if (!m_system) {
        m_manualClock = true;
        m_clockMs = ms;
        return;
    }
    check(m_system->setClock(ms));
}
