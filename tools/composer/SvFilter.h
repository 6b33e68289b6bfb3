// SvFilter: a state-variable filter (trapezoidal integration), stable under fast
// cutoff changes. Cutoff in hertz (clamped below Nyquist), resonance as Q > 0.
// One call to process() yields the low-, band- and high-pass outputs together.
#pragma once

class SvFilter {
public:
    struct Output {
        float low;
        float band;
        float high;
    };

    SvFilter(double sampleRate, double cutoff, double q);

    void setCutoff(double cutoff);
    void setQ(double q);
    Output process(float input);

private:
    void updateCoefficients();

    double m_sampleRate;
    double m_cutoff;
    double m_k;  // 1 / Q
    double m_a1, m_a2, m_a3;
    double m_ic1, m_ic2;
};
