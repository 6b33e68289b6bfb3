// SpectrumAnalyser: triangle-windowed real FFT magnitudes with FFTW (single precision).
#include "Music/SpectrumAnalyser.h"

#include <fftw3.h>

#include <cassert>
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>

namespace {

// FFTW's planner keeps global state: plans are made and destroyed one at a time.
std::mutex& plannerMutex()
{
    static std::mutex m;
    return m;
}

}  // namespace

void SpectrumAnalyser::FftwFree::operator()(void* memory) const
{
    fftwf_free(memory);
}

void SpectrumAnalyser::PlanDestroy::operator()(void* plan) const
{
    std::lock_guard<std::mutex> lock(plannerMutex());
    fftwf_destroy_plan(static_cast<fftwf_plan>(plan));
}

SpectrumAnalyser::SpectrumAnalyser(int count) : m_count(count), m_size(2 * count), m_scale(0.0f)
{
    assert(count >= 1);
    m_window.reset(fftwf_alloc_real(m_size));
    m_input.reset(fftwf_alloc_real(m_size));
    m_output.reset(fftwf_alloc_complex(m_count + 1));
    if (!m_window || !m_input || !m_output)
        throw std::bad_alloc();

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

    std::lock_guard<std::mutex> lock(plannerMutex());
    // ESTIMATE: no measuring run, so construction is quick and the plan deterministic;
    // for power-of-two sizes its plans are close to the measured ones.
    m_plan.reset(fftwf_plan_dft_r2c_1d(m_size, m_input.get(),
                                       static_cast<fftwf_complex*>(m_output.get()), FFTW_ESTIMATE));
    if (!m_plan)
        throw std::bad_alloc();
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

    const int64_t first = endFrame - m_size;
    const int64_t total = static_cast<int64_t>(frameCount);
    for (int j = 0; j < m_size; ++j) {
        const int64_t frame = first + j;
        const float sample = (frame >= 0 && frame < total)
                                 ? interleaved[static_cast<size_t>(frame) * channels + channel]
                                 : 0.0f;
        m_input[j] = sample * m_window[j];
    }
    fftwf_execute(static_cast<fftwf_plan>(m_plan.get()));

    const fftwf_complex* bins = static_cast<const fftwf_complex*>(m_output.get());
    for (int i = 0; i < m_count; ++i)
        out[i] = std::sqrt(bins[i][0] * bins[i][0] + bins[i][1] * bins[i][1]) * m_scale;
    // A constant has no negative-frequency twin: halve band 0 so an offset c reads c.
    out[0] *= 0.5f;
}
