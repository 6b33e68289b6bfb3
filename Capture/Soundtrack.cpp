// Soundtrack: the decoder and analyser of the sound layer, driven by a time the
// caller sets, so that a frame's spectrum never depends on how long it took.
#include "Capture/Soundtrack.h"

#include <algorithm>

#include "Music/SoundDecoder.h"
#include "Music/SoundResult.h"
#include "Music/SpectrumAnalyser.h"

Soundtrack::Soundtrack()
    : m_frames(0), m_channels(0), m_sampleRate(0), m_timeMs(0), m_lastBand2(-1.0f)
{
}

Soundtrack::~Soundtrack() = default;

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

void Soundtrack::setTime(uint64_t ms)
{
    m_timeMs = ms;
    m_lastBand2 = -1.0f;
}

void Soundtrack::getSpectrum(float* array, int count)
{
    if (!array || count < 1)
        return;
    // The sample heard at m_timeMs, as a channel started at time 0 positions it
    // (milliseconds to frames, rounded down).
    const uint64_t heard = m_timeMs * static_cast<uint64_t>(m_sampleRate) / 1000u;
    if (!loaded() || heard >= m_frames) {
        std::fill(array, array + count, 0.0f);
    } else {
        if (!m_analyser || m_analyser->count() != count)
            m_analyser = std::make_unique<SpectrumAnalyser>(count);
        m_analyser->compute(m_samples.data(), m_frames, m_channels, 0, static_cast<int64_t>(heard), array);
    }
    if (count > 2)
        m_lastBand2 = array[2];
}
