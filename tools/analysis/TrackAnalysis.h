// TrackAnalysis: measures what the demo's music reactions will see in a decoded
// track. Steps every 15 ms (the demo's frame pace), reads channel 0 through the
// sound layer's 512-band SpectrumAnalyser, and summarises each section (times in
// milliseconds from the start of the track). Levels are linear, full scale 1.0;
// decibel figures are relative to full scale (a full-scale sine is -3 dB RMS).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class TrackAnalysis {
public:
    static constexpr int BANDS = 512;
    static constexpr int STEP_MS = 15;

    struct Span {
        std::string name;
        double startMs;  // inclusive
        double endMs;    // exclusive
    };

    struct SectionFigures {
        std::string name;
        double startMs;
        double endMs;
        int steps;             // 15 ms steps whose time lies in [startMs, endMs)
        double beatShare;      // share of steps with value 2 >= 0.25 (the pulse's beat test)
        double anyLow8Share;   // share of steps with any of values 0..7 > 0.2
        double anyLow10Share;  // share of steps with any of values 0..9 > 0.2
        double medianLow16;    // median of values 0..15 over all steps of the section
        int beatBursts;        // runs of consecutive beat steps
        double longestBurstMs;
    };

    struct Figures {
        double peak;  // largest |sample| over all channels
        double rms;   // root mean square over all samples of all channels
        std::vector<SectionFigures> sections;
    };

    // The scene sections at their nominal starts, as the pictures see them.
    static std::vector<Span> sceneSpans();

    // interleaved: frames x channels floats at sampleRate Hz.
    static Figures analyse(const std::vector<float>& interleaved, int channels, int sampleRate,
                           const std::vector<Span>& spans);

    static double toDecibels(double level);
    // The figures as a Markdown table followed by the peak and RMS lines.
    static std::string format(const Figures& figures);
};
