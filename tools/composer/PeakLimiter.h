// PeakLimiter: brings a stereo bus under a ceiling (linear, e.g. 0.89 for
// -1 dBFS) with a gain curve that ramps down before a peak (attack, seconds) and
// back up after it (release, seconds). Works on the whole bus at once, so the
// guarantee |sample| <= ceiling is exact and the gain never steps.
#pragma once

class StereoBuffer;

class PeakLimiter {
public:
    PeakLimiter(double sampleRate, double ceiling, double attack, double release);

    // Returns the smallest gain applied (1.0 when nothing needed limiting).
    float process(StereoBuffer& bus) const;

private:
    double m_rate;
    double m_ceiling;
    double m_attack;
    double m_release;
};
