// Soundtrack: the sound layer's whole-file decoder; the gapless tag is honoured,
// so the first sample is the one the player starts with.
#include "Capture/Soundtrack.h"

#include "Music/SoundDecoder.h"
#include "Music/SoundResult.h"

bool Soundtrack::load(const std::string& path, std::string& reason)
{
    int channels = 0;
    int rate = 0;
    std::vector<float> samples;
    const int result = SoundDecoder::decodeFile(path.c_str(), samples, channels, rate);
    if (result != SoundResult::Ok || channels < 1 || rate < 1) {
        reason = SoundResult::errorString(result);
        return false;
    }
    m_samples = std::move(samples);
    m_channels = channels;
    m_sampleRate = rate;
    m_frames = m_samples.size() / static_cast<size_t>(channels);
    return true;
}
