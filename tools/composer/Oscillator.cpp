// Oscillator: waveform generation; depends on <cmath>.
#include "tools/composer/Oscillator.h"

#include <cmath>

namespace {

const double TWO_PI = 6.283185307179586;

// Polynomial correction around a discontinuity of a naive saw: removes most of
// the aliasing of the step without oversampling. t is the phase, dt the step.
double polyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

Oscillator::Oscillator(Shape shape, double sampleRate, double startPhase)
    : m_shape(shape), m_sampleRate(sampleRate), m_phase(startPhase - std::floor(startPhase))
{
}

float Oscillator::next(double frequency)
{
    double dt = frequency / m_sampleRate;
    double t = m_phase;
    double value = 0.0;
    switch (m_shape) {
    case Shape::Sine: value = std::sin(TWO_PI * t); break;
    case Shape::Triangle: value = 1.0 - 4.0 * std::fabs(t - 0.5); break;
    case Shape::Saw: value = 2.0 * t - 1.0 - polyBlep(t, dt); break;
    case Shape::Square: {
        double t2 = t + 0.5;
        if (t2 >= 1.0)
            t2 -= 1.0;
        value = (t < 0.5 ? 1.0 : -1.0) + polyBlep(t, dt) - polyBlep(t2, dt);
        break;
    }
    }
    m_phase += dt;
    m_phase -= std::floor(m_phase);
    return static_cast<float>(value);
}
