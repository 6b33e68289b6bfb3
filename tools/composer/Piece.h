// Piece: the soundtrack's score and mix. D minor, 86 beats per minute, four beats
// a bar (one bar = 2790.7 ms), 37.6 bars (105 s) in six sections that start on
// the bars nearest the scene changes. render() builds the 44.1 kHz stereo mix,
// full scale 1.0, peaks limited to -1 dBFS; it is deterministic.
#pragma once

#include <vector>

#include "tools/composer/StereoBuffer.h"

class Piece {
public:
    static constexpr int SAMPLE_RATE = 44100;
    static constexpr double BPM = 86.0;
    static constexpr double LENGTH_SECONDS = 105.0;

    struct Section {
        const char* name;
        int firstBar;  // inclusive
        int endBar;    // exclusive
    };

    static double beatSeconds() { return 60.0 / BPM; }
    static double barSeconds() { return 4.0 * beatSeconds(); }
    static const std::vector<Section>& sections();

    // Renders the first `seconds` of the piece (the whole piece when seconds is
    // 0 or not less than LENGTH_SECONDS). Notes that start later are skipped,
    // so an excerpt costs only what it contains. limiterGain, when given,
    // receives the smallest gain the final limiter applied (1.0: untouched).
    static StereoBuffer render(double seconds, float* limiterGain = nullptr);
};
