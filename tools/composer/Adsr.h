// Adsr: attack-decay-sustain-release envelope, evaluated from the time since the
// note started (seconds) and the time the key is held (seconds). Stateless, so a
// note can be rendered in any chunking with the same result. Levels are 0 to 1;
// the curve is continuous, starts at 0 and returns to 0 after the release.
#pragma once

class Adsr {
public:
    // attack, decay, release in seconds (attack and release > 0); sustain 0 to 1.
    Adsr(double attack, double decay, double sustain, double release);

    double level(double t, double gate) const;
    // Time after which the level stays 0 for a note held gate seconds.
    double length(double gate) const { return gate + m_release; }

private:
    double held(double t) const;

    double m_attack;
    double m_decay;
    double m_sustain;
    double m_release;
};
