// SvFilter: trapezoidal state-variable filter; depends on <cmath>.
#include "tools/composer/SvFilter.h"

#include <algorithm>
#include <cassert>
#include <cmath>

SvFilter::SvFilter(double sampleRate, double cutoff, double q)
    : m_sampleRate(sampleRate), m_cutoff(cutoff), m_k(1.0 / q), m_a1(0), m_a2(0), m_a3(0), m_ic1(0),
      m_ic2(0)
{
    assert(q > 0.0);
    updateCoefficients();
}

void SvFilter::setCutoff(double cutoff)
{
    m_cutoff = cutoff;
    updateCoefficients();
}

void SvFilter::setQ(double q)
{
    assert(q > 0.0);
    m_k = 1.0 / q;
    updateCoefficients();
}

void SvFilter::updateCoefficients()
{
    // tan() blows up at Nyquist: keep the cutoff in 10 Hz .. 0.45 * rate.
    double fc = std::min(std::max(m_cutoff, 10.0), 0.45 * m_sampleRate);
    double g = std::tan(3.141592653589793 * fc / m_sampleRate);
    m_a1 = 1.0 / (1.0 + g * (g + m_k));
    m_a2 = g * m_a1;
    m_a3 = g * m_a2;
}

SvFilter::Output SvFilter::process(float input)
{
    double v0 = input;
    double v3 = v0 - m_ic2;
    double v1 = m_a1 * m_ic1 + m_a2 * v3;
    double v2 = m_ic2 + m_a2 * m_ic1 + m_a3 * v3;
    m_ic1 = 2.0 * v1 - m_ic1;
    m_ic2 = 2.0 * v2 - m_ic2;
    Output out;
    out.low = static_cast<float>(v2);
    out.band = static_cast<float>(v1);
    out.high = static_cast<float>(v0 - m_k * v1 - v2);
    return out;
}
