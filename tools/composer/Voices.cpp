// Voices: pitched instruments; depends on Adsr, Oscillator, SvFilter, StereoBuffer.
#include "tools/composer/Voices.h"

#include <algorithm>
#include <cmath>

#include "tools/composer/Adsr.h"
#include "tools/composer/Oscillator.h"
#include "tools/composer/StereoBuffer.h"
#include "tools/composer/SvFilter.h"

namespace {

const double TWO_PI = 6.283185307179586;
// Filter coefficients involve tan(); refreshing them every 16 samples (0.36 ms)
// is far below any audible modulation rate.
const int CONTROL_STEP = 16;

long framesFor(double seconds, double rate)
{
    return static_cast<long>(std::ceil(seconds * rate));
}

}  // namespace

Voices::Voices(double sampleRate) : m_rate(sampleRate)
{
}

double Voices::midiToHz(double note)
{
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

void Voices::bass(StereoBuffer& out, long frame, double gate, double note, float velocity,
                  double brightness)
{
    const Adsr amp(0.004, 0.35, 0.75, 0.06);
    const double f = midiToHz(note);
    Oscillator saw(Oscillator::Shape::Saw, m_rate);
    Oscillator sub(Oscillator::Shape::Sine, m_rate);
    SvFilter filter(m_rate, 200.0, 0.9);
    const long length = framesFor(amp.length(gate), m_rate);
    for (long i = 0; i < length; ++i) {
        double t = i / m_rate;
        if (i % CONTROL_STEP == 0)
            filter.setCutoff(f * 2.0 + (180.0 + 1400.0 * brightness) * std::exp(-t / 0.09) +
                             250.0 * brightness);
        double src = saw.next(f) * 0.55 + sub.next(f) * 0.6;
        double v = filter.process(static_cast<float>(src)).low * amp.level(t, gate) * velocity;
        out.addPanned(frame + i, static_cast<float>(v), 0.0f);
    }
}

void Voices::pad(StereoBuffer& out, long frame, double gate, double note, float velocity, float pan,
                 double cutoff)
{
    const Adsr amp(0.7, 1.2, 0.8, 1.3);
    const double f = midiToHz(note);
    // Start phases differ per note so stacked chord tones do not line up.
    double seed = std::fmod(note * 0.618034, 1.0);
    Oscillator sawA(Oscillator::Shape::Saw, m_rate, seed);
    Oscillator sawB(Oscillator::Shape::Saw, m_rate, seed + 0.37);
    Oscillator tri(Oscillator::Shape::Triangle, m_rate, seed + 0.71);
    SvFilter filter(m_rate, cutoff, 0.6);
    const double detune = std::pow(2.0, 7.0 / 1200.0);
    const long length = framesFor(amp.length(gate), m_rate);
    for (long i = 0; i < length; ++i) {
        double t = i / m_rate;
        if (i % CONTROL_STEP == 0)
            filter.setCutoff(cutoff * (1.0 + 0.25 * std::sin(TWO_PI * 0.23 * t + seed * TWO_PI)));
        double src =
            sawA.next(f * detune) * 0.35 + sawB.next(f / detune) * 0.35 + tri.next(f) * 0.4;
        double v = filter.process(static_cast<float>(src)).low * amp.level(t, gate) * velocity;
        // Slow opposite-phase drift between the sides widens the chord.
        float wobble = static_cast<float>(0.15 * std::sin(TWO_PI * 0.11 * t + seed * 5.0));
        out.addPanned(frame + i, static_cast<float>(v), pan + wobble);
    }
}

void Voices::lead(StereoBuffer& out, long frame, double gate, double note, float velocity,
                  float pan)
{
    const Adsr amp(0.012, 0.4, 0.7, 0.18);
    const double f = midiToHz(note);
    Oscillator saw(Oscillator::Shape::Saw, m_rate);
    Oscillator square(Oscillator::Shape::Square, m_rate, 0.25);
    Oscillator vibrato(Oscillator::Shape::Sine, m_rate);
    SvFilter filter(m_rate, 2000.0, 1.1);
    const long length = framesFor(amp.length(gate), m_rate);
    for (long i = 0; i < length; ++i) {
        double t = i / m_rate;
        // Vibrato fades in after a quarter second, as a player would add it.
        double depth = std::min(1.0, std::max(0.0, (t - 0.25) / 0.3)) * 0.18;
        double fm = f * std::pow(2.0, depth * vibrato.next(5.2) / 12.0);
        if (i % CONTROL_STEP == 0)
            filter.setCutoff(1400.0 + 2600.0 * std::exp(-t / 0.18));
        double src = saw.next(fm) * 0.5 + square.next(fm * 1.002) * 0.3;
        double v = filter.process(static_cast<float>(src)).low * amp.level(t, gate) * velocity;
        out.addPanned(frame + i, static_cast<float>(v), pan);
    }
}

void Voices::pluck(StereoBuffer& out, long frame, double gate, double note, float velocity,
                   float pan)
{
    const Adsr amp(0.002, 0.32, 0.0, 0.05);
    const double f = midiToHz(note);
    Oscillator square(Oscillator::Shape::Square, m_rate);
    Oscillator tri(Oscillator::Shape::Triangle, m_rate);
    SvFilter filter(m_rate, 3000.0, 1.6);
    const long length = framesFor(amp.length(gate), m_rate);
    for (long i = 0; i < length; ++i) {
        double t = i / m_rate;
        if (i % CONTROL_STEP == 0)
            filter.setCutoff(f * 1.5 + 3500.0 * std::exp(-t / 0.06));
        double src = square.next(f) * 0.45 + tri.next(f * 2.0) * 0.3;
        double v = filter.process(static_cast<float>(src)).low * amp.level(t, gate) * velocity;
        out.addPanned(frame + i, static_cast<float>(v), pan);
    }
}

void Voices::bell(StereoBuffer& out, long frame, double gate, double note, float velocity,
                  float pan)
{
    const double f = midiToHz(note);
    const double ring = 1.4;
    const double release = 0.08;
    const long length = framesFor(std::min(gate + release, ring * 5.0), m_rate);
    double carrier = 0.0;
    double modulator = 0.0;
    for (long i = 0; i < length; ++i) {
        double t = i / m_rate;
        // Brightness falls with pitch so that high notes keep their sidebands
        // well below Nyquist (FM sidebands above it would fold back as noise).
        double index = (1.8 * std::exp(-t / 0.3) + 0.25) * std::min(1.0, 600.0 / f);
        double m = std::sin(TWO_PI * modulator) * index;
        double c = std::sin(TWO_PI * carrier + m);
        carrier += f / m_rate;
        modulator += f * 3.5 / m_rate;
        carrier -= std::floor(carrier);
        modulator -= std::floor(modulator);
        double env = std::min(1.0, t / 0.003) * std::exp(-t / ring);
        // Damped like a hand on the bar when the note is let go.
        if (t > gate)
            env *= std::max(0.0, 1.0 - (t - gate) / release);
        if (i > length - 200)
            env *= (length - i) / 200.0;
        out.addPanned(frame + i, static_cast<float>(c * env * velocity), pan);
    }
}
