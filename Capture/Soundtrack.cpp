// Soundtrack: the sound layer's whole-file decoder; the gapless tag is honoured,
// so the first sample is the one the player starts with.
#include "Capture/Soundtrack.h"

#include <new>

#include "Music/MpegReader.h"
#include "Music/SoundError.h"

bool Soundtrack::load(const std::string& path, std::string& reason)
{
    DecodedSound sound;
    try {
        sound = decodeFile(path.c_str());
    } catch (const SoundError& e) {
        reason = e.what();
        return false;
    } catch (const std::bad_alloc&) {
        reason = SoundError(SoundError::OUT_OF_MEMORY).what();
        return false;
    }
    m_samples = std::move(sound.samples);
    m_channels = sound.channels;
    m_sampleRate = sound.sampleRate;
    m_frames = m_samples.size() / static_cast<size_t>(m_channels);
    return true;
}
