// Adsr: envelope curves; depends on <cmath>.
#include "tools/composer/Adsr.h"

#include <cassert>
#include <cmath>

Adsr::Adsr(double attack, double decay, double sustain, double release)
    : m_attack(attack), m_decay(decay), m_sustain(sustain), m_release(release)
{
    assert(attack > 0.0 && release > 0.0 && decay >= 0.0);
    assert(sustain >= 0.0 && sustain <= 1.0);
}

double Adsr::held(double t) const
{
    if (t < m_attack)
        return t / m_attack;
    if (m_decay <= 0.0)
        return m_sustain;
    // Exponential fall towards the sustain level, about 99 % done after decay.
    double k = std::exp(-4.6 * (t - m_attack) / m_decay);
    return m_sustain + (1.0 - m_sustain) * k;
}

double Adsr::level(double t, double gate) const
{
    if (t < 0.0)
        return 0.0;
    if (t < gate)
        return held(t);
    double r = t - gate;
    if (r >= m_release)
        return 0.0;
    // The release starts from whatever level the note had when it was let go
    // (continuity avoids a click) and falls on a curve that reaches 0 exactly.
    double start = held(gate);
    double x = 1.0 - r / m_release;
    return start * x * x;
}
