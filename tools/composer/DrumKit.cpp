// DrumKit: percussion synthesis from sines, squares and filtered noise;
// depends on Oscillator, SvFilter, StereoBuffer, Prng.
#include "tools/composer/DrumKit.h"

#include <algorithm>
#include <cmath>

#include "tools/composer/Oscillator.h"
#include "tools/composer/StereoBuffer.h"
#include "tools/composer/SvFilter.h"

namespace {

const double TWO_PI = 6.283185307179586;

// A 1 ms linear rise keeps even the sharpest hit from starting with a step.
double rise(double t)
{
    return t < 0.001 ? t / 0.001 : 1.0;
}

}  // namespace

DrumKit::DrumKit(double sampleRate, uint32_t seed) : m_rate(sampleRate), m_noise(seed)
{
}

void DrumKit::kick(StereoBuffer& out, long frame, float velocity, double body, double decay)
{
    const long length = static_cast<long>(m_rate * (decay * 6.0 + 0.02));
    SvFilter clickFilter(m_rate, 3000.0, 0.7);
    double phase = 0.0;
    for (long i = 0; i < length; ++i) {
        double t = i / m_rate;
        double freq = body + body * 2.2 * std::exp(-t / 0.028);
        phase += freq / m_rate;
        // Mostly a bell-shaped body that falls steeply (one clean burst of low
        // energy per hit), plus a short exponential tail for weight.
        double shape = t / (decay * 1.6);
        shape *= shape;
        double amp = 0.82 * std::exp(-shape * shape) + 0.18 * std::exp(-t / decay);
        // The last 20 ms are faded to zero so the tail never ends on a step.
        double endFade = std::min(1.0, (length - i) / (0.02 * m_rate));
        double tone = std::sin(TWO_PI * phase) * amp;
        // Gentle saturation thickens the body with a few harmonics.
        tone = std::tanh(1.6 * tone) / std::tanh(1.6);
        double click = clickFilter.process(m_noise.nextSigned()).band * std::exp(-t / 0.004) * 0.35;
        float v = static_cast<float>((tone + click) * rise(t) * endFade * velocity);
        out.add(frame + i, v * 0.70710678f, v * 0.70710678f);
    }
}

void DrumKit::snare(StereoBuffer& out, long frame, float velocity, float pan)
{
    const long length = static_cast<long>(m_rate * 0.45);
    SvFilter noiseBand(m_rate, 4200.0, 0.6);
    SvFilter noiseLow(m_rate, 700.0, 0.7);
    Oscillator toneA(Oscillator::Shape::Sine, m_rate);
    Oscillator toneB(Oscillator::Shape::Sine, m_rate);
    for (long i = 0; i < length; ++i) {
        double t = i / m_rate;
        double endFade = std::min(1.0, (length - i) / (0.02 * m_rate));
        double body = (toneA.next(190.0) * 0.6 + toneB.next(330.0) * 0.35) * std::exp(-t / 0.05);
        float n = m_noise.nextSigned();
        double hiss = noiseBand.process(n).band;
        double highOnly = n - noiseLow.process(n).low;
        double noise = (hiss * 0.9 + highOnly * 0.35) * std::exp(-t / 0.11);
        out.addPanned(
            frame + i,
            static_cast<float>((body * 0.5 + noise * 0.55) * rise(t) * endFade * velocity), pan);
    }
}

void DrumKit::clap(StereoBuffer& out, long frame, float velocity, float pan)
{
    const long length = static_cast<long>(m_rate * 0.4);
    SvFilter band(m_rate, 1500.0, 1.4);
    for (long i = 0; i < length; ++i) {
        double t = i / m_rate;
        // Three quick bursts, then the room tail: the usual shape of hands.
        double env = 0.0;
        for (int k = 0; k < 3; ++k) {
            double tk = t - k * 0.011;
            if (tk >= 0.0)
                env = std::max(env, rise(tk) * std::exp(-tk / 0.006));
        }
        double tail = t >= 0.022 ? rise(t - 0.022) * std::exp(-(t - 0.022) / 0.09) : 0.0;
        env = std::max(env, tail * 0.8);
        double endFade = std::min(1.0, (length - i) / (0.02 * m_rate));
        double v = band.process(m_noise.nextSigned()).band * 2.2 * env * endFade * velocity;
        out.addPanned(frame + i, static_cast<float>(v), pan);
    }
}

void DrumKit::hat(StereoBuffer& out, long frame, float velocity, float pan, bool open)
{
    const double decay = open ? 0.16 : 0.028;
    const long length = static_cast<long>(m_rate * (decay * 6.0));
    // Six detuned squares give the metallic ring; noise gives the air.
    static const double METAL[6] = {2.0 * 205.3, 2.0 * 304.4, 2.0 * 369.6,
                                    2.0 * 522.7, 2.0 * 540.0, 2.0 * 800.0};
    Oscillator metal[6] = {Oscillator(Oscillator::Shape::Square, m_rate, 0.1),
                           Oscillator(Oscillator::Shape::Square, m_rate, 0.3),
                           Oscillator(Oscillator::Shape::Square, m_rate, 0.5),
                           Oscillator(Oscillator::Shape::Square, m_rate, 0.7),
                           Oscillator(Oscillator::Shape::Square, m_rate, 0.2),
                           Oscillator(Oscillator::Shape::Square, m_rate, 0.9)};
    SvFilter high(m_rate, 7500.0, 0.8);
    SvFilter shine(m_rate, 10500.0, 1.2);
    for (long i = 0; i < length; ++i) {
        double t = i / m_rate;
        double m = 0.0;
        for (int k = 0; k < 6; ++k)
            m += metal[k].next(METAL[k]);
        double n = m_noise.nextSigned();
        float src = static_cast<float>(m * 0.12 + n * 0.6);
        double v = high.process(src).high + shine.process(src).band * 0.5;
        double endFade = std::min(1.0, (length - i) / (0.01 * m_rate));
        out.addPanned(frame + i,
                      static_cast<float>(v * std::exp(-t / decay) * rise(t) * endFade * velocity),
                      pan);
    }
}

void DrumKit::shaker(StereoBuffer& out, long frame, float velocity, float pan)
{
    const long length = static_cast<long>(m_rate * 0.09);
    SvFilter band(m_rate, 6500.0, 1.0);
    for (long i = 0; i < length; ++i) {
        double t = i / m_rate;
        // A slower 6 ms swell reads as grains rather than a stick.
        double env = (t < 0.006 ? t / 0.006 : std::exp(-(t - 0.006) / 0.022));
        double endFade = std::min(1.0, (length - i) / (0.01 * m_rate));
        double v = band.process(m_noise.nextSigned()).band * env * endFade * velocity;
        out.addPanned(frame + i, static_cast<float>(v), pan);
    }
}

void DrumKit::riser(StereoBuffer& out, long frame, double seconds, float velocity)
{
    const long length = static_cast<long>(m_rate * seconds);
    SvFilter band(m_rate, 500.0, 2.0);
    for (long i = 0; i < length; ++i) {
        double x = static_cast<double>(i) / length;
        if (i % 16 == 0)
            band.setCutoff(500.0 * std::pow(16.0, x));
        // Swells on a square law, then closes in the last 3 % instead of
        // stopping dead on the downbeat.
        double env = x * x * std::min(1.0, (1.0 - x) / 0.03);
        float n = m_noise.nextSigned();
        double v = band.process(n).band * env * velocity;
        out.addPanned(frame + i, static_cast<float>(v),
                      static_cast<float>(0.6 * std::sin(x * 9.0)));
    }
}
