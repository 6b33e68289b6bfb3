// Oscillator: one phase accumulator with band-limited saw and square (polyBLEP),
// plus sine and triangle. Frequencies in hertz, output -1 to 1. The phase is kept
// in double precision so long notes do not drift.
#pragma once

class Oscillator {
public:
    enum class Shape { Sine, Triangle, Saw, Square };

    Oscillator(Shape shape, double sampleRate, double startPhase = 0.0);

    // Advances by one sample at the given frequency and returns the value.
    float next(double frequency);

private:
    Shape m_shape;
    double m_sampleRate;
    double m_phase;  // 0 to 1
};
