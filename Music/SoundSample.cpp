// SoundSample: the queries of an opened sound; released through its SoundSystem.
#include "Music/SoundSample.h"

#include <algorithm>
#include <cstring>

#include "Music/SoundFile.h"
#include "Music/SoundResult.h"
#include "Music/SoundSystem.h"

SoundSample::SoundSample(SoundSystem& system, std::shared_ptr<const SoundFile> file, int64_t frames,
                         int sampleRate, unsigned int mode, const std::string& name)
    : m_system(system), m_file(std::move(file)), m_frames(frames), m_sampleRate(sampleRate),
      m_mode(mode), m_name(name)
{
}

SoundSample::~SoundSample() = default;

int SoundSample::release()
{
    return m_system.releaseSound(this);
}

int SoundSample::getLength(unsigned int* length, unsigned int timeUnit) const
{
    if (!length || timeUnit != SoundSystem::TimeUnitMs)
        return SoundResult::InvalidParam;
    *length =
        static_cast<unsigned int>(static_cast<unsigned long long>(m_frames) * 1000 / m_sampleRate);
    return SoundResult::Ok;
}

int SoundSample::getName(char* name, int length) const
{
    if (!name || length < 1)
        return SoundResult::InvalidParam;
    const size_t n = std::min(m_name.size(), static_cast<size_t>(length - 1));
    std::memcpy(name, m_name.data(), n);
    name[n] = '\0';
    return SoundResult::Ok;
}

bool SoundSample::loops() const
{
    return (m_mode & SoundSystem::ModeLoopNormal) != 0;
}
