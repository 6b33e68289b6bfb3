// SpectrumAnalyser: the triangle window, the scaling of bin magnitudes to sine
// amplitudes, and the band values, shared by every platform; RealFft does the transform.
#include "Music/SpectrumAnalyser.h"

#include <cassert>
#include <cmath>

#include "Music/RealFft.h"

SpectrumAnalyser::SpectrumAnalyser(int count)
    : m_count(count), m_size(2 * count), m_window(new float[2 * count]),
      m_fft(new RealFft(2 * count)), m_scale(0.0f)
{
    assert(count >= 1);
    // Triangle over the whole transform: 0 at both ends' outer edges, 1 in the middle.
    const double half = m_size / 2.0;
    const double centre = (m_size - 1) / 2.0;
    double sum = 0.0;
    for (int j = 0; j < m_size; ++j) {
        m_window[j] = static_cast<float>(1.0 - std::fabs((j - centre) / half));
        sum += m_window[j];
    }
    // A sine of amplitude A at a bin centre gives |X| = A * sum / 2.
    m_scale = static_cast<float>(2.0 / sum);
}

SpectrumAnalyser::~SpectrumAnalyser() = default;

int SpectrumAnalyser::count() const
{
    return m_count;
}

void SpectrumAnalyser::compute(const float* interleaved, size_t frameCount, int channels,
                               int channel, int64_t endFrame, float* out)
{
    assert(out);
    assert(channels >= 1 && channel >= 0 && channel < channels);
    assert(interleaved || frameCount == 0);

    float* input = m_fft->input();
    const int64_t first = endFrame - m_size;
    const int64_t total = static_cast<int64_t>(frameCount);
    for (int j = 0; j < m_size; ++j) {
        const int64_t frame = first + j;
        const float sample = (frame >= 0 && frame < total)
                                 ? interleaved[static_cast<size_t>(frame) * channels + channel]
                                 : 0.0f;
        input[j] = sample * m_window[j];
    }
    m_fft->execute();

    const float* bins = m_fft->output();
    for (int i = 0; i < m_count; ++i) {
        const float re = bins[2 * i];
        const float im = bins[2 * i + 1];
        out[i] = std::sqrt(re * re + im * im) * m_scale;
    }
    // A constant has no negative-frequency twin: halve band 0 so an offset c reads c.
    out[0] *= 0.5f;
}
