// Voices: the pitched instruments of the piece (bass, pad, lead, pluck, bell).
// Each call renders one note into a StereoBuffer: start frame, held time in
// seconds, MIDI note number (69 = A4 = 440 Hz), velocity 0 to 1, pan -1 to +1.
// Every note starts and ends at zero level, so note boundaries never click.
#pragma once

class StereoBuffer;

class Voices {
public:
    explicit Voices(double sampleRate);

    static double midiToHz(double note);

    // Saw plus sine through a low-pass whose cutoff opens on each note;
    // brightness 0 (round) to 1 (biting).
    void bass(StereoBuffer& out, long frame, double gate, double note, float velocity,
              double brightness);
    // Two detuned saws and a triangle under a slow low-pass; cutoff in hertz.
    void pad(StereoBuffer& out, long frame, double gate, double note, float velocity, float pan,
             double cutoff);
    // Saw and square with delayed vibrato.
    void lead(StereoBuffer& out, long frame, double gate, double note, float velocity, float pan);
    // Short square pluck for arpeggios.
    void pluck(StereoBuffer& out, long frame, double gate, double note, float velocity, float pan);
    // Two-operator FM bell with a long ring.
    void bell(StereoBuffer& out, long frame, double gate, double note, float velocity, float pan);

private:
    double m_rate;
};
