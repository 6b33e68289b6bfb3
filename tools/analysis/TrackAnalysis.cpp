// TrackAnalysis: per-section spectrum statistics of a decoded track; depends on
// the sound layer's SpectrumAnalyser (the same spectrum the scenes read).
#include "tools/analysis/TrackAnalysis.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "Music/SpectrumAnalyser.h"

std::vector<TrackAnalysis::Span> TrackAnalysis::sceneSpans()
{
    // Nominal scene starts; the world scene is measured over its first 15 s.
    return {
        {"titles", 0.0, 11280.0},     {"sweep", 11280.0, 33312.0}, {"greetings", 33312.0, 52842.0},
        {"trails", 52842.0, 62842.0}, {"waves", 62842.0, 77842.0}, {"world", 77842.0, 92842.0},
    };
}

double TrackAnalysis::toDecibels(double level)
{
    if (level <= 0.0)
        return -std::numeric_limits<double>::infinity();
    return 20.0 * std::log10(level);
}

TrackAnalysis::Figures TrackAnalysis::analyse(const std::vector<float>& interleaved, int channels,
                                              int sampleRate, const std::vector<Span>& spans)
{
    assert(channels >= 1 && sampleRate > 0);
    Figures figures;
    double peak = 0.0;
    double sumSquares = 0.0;
    for (float s : interleaved) {
        peak = std::max(peak, static_cast<double>(std::fabs(s)));
        sumSquares += static_cast<double>(s) * s;
    }
    figures.peak = peak;
    figures.rms = interleaved.empty() ? 0.0 : std::sqrt(sumSquares / interleaved.size());

    const size_t frameCount = interleaved.size() / channels;
    SpectrumAnalyser analyser(BANDS);
    std::vector<float> spectrum(BANDS);
    std::vector<float> lowValues;
    for (const Span& span : spans) {
        SectionFigures f{span.name, span.startMs, span.endMs, 0, 0.0, 0.0, 0.0, 0.0, 0, 0.0};
        lowValues.clear();
        int beats = 0, any8 = 0, any10 = 0;
        int run = 0, longestRun = 0;
        // Step k is at k * 15 ms; integer arithmetic keeps the step times exact.
        int64_t first = static_cast<int64_t>(std::ceil(span.startMs / STEP_MS));
        for (int64_t k = first; k * STEP_MS < span.endMs; ++k) {
            int64_t endFrame = k * STEP_MS * sampleRate / 1000;
            analyser.compute(interleaved.data(), frameCount, channels, 0, endFrame,
                             spectrum.data());
            ++f.steps;
            bool beat = spectrum[2] >= 0.25f;
            if (beat) {
                ++beats;
                if (run == 0)
                    ++f.beatBursts;
                ++run;
                longestRun = std::max(longestRun, run);
            } else {
                run = 0;
            }
            bool loud8 = false, loud10 = false;
            for (int i = 0; i < 10; ++i) {
                if (spectrum[i] > 0.2f) {
                    loud10 = true;
                    if (i < 8)
                        loud8 = true;
                }
            }
            any8 += loud8;
            any10 += loud10;
            lowValues.insert(lowValues.end(), spectrum.begin(), spectrum.begin() + 16);
        }
        if (f.steps > 0) {
            f.beatShare = static_cast<double>(beats) / f.steps;
            f.anyLow8Share = static_cast<double>(any8) / f.steps;
            f.anyLow10Share = static_cast<double>(any10) / f.steps;
            // Median of an even count: mean of the two middle values.
            size_t n = lowValues.size();
            std::nth_element(lowValues.begin(), lowValues.begin() + n / 2, lowValues.end());
            double upper = lowValues[n / 2];
            double lower = *std::max_element(lowValues.begin(), lowValues.begin() + n / 2);
            f.medianLow16 = n % 2 ? upper : (upper + lower) / 2.0;
        }
        f.longestBurstMs = longestRun * static_cast<double>(STEP_MS);
        figures.sections.push_back(f);
    }
    return figures;
}

std::string TrackAnalysis::format(const Figures& figures)
{
    std::string out;
    char line[256];
    out +=
        "| Section | steps | value 2 >= 0.25 | any of 0-7 > 0.2 | any of 0-9 > 0.2 | median of 0-15 "
        "| beat bursts | longest burst |\n";
    out += "|---|---|---|---|---|---|---|---|\n";
    for (const SectionFigures& f : figures.sections) {
        std::snprintf(
            line, sizeof line,
            "| %s, %.1f-%.1f s | %d | %.1f %% | %.1f %% | %.1f %% | %.3f | %d | %.0f ms |\n",
            f.name.c_str(), f.startMs / 1000.0, f.endMs / 1000.0, f.steps, 100.0 * f.beatShare,
            100.0 * f.anyLow8Share, 100.0 * f.anyLow10Share, f.medianLow16, f.beatBursts,
            f.longestBurstMs);
        out += line;
    }
    std::snprintf(line, sizeof line, "Peak: %.2f dBFS (%.4f)\nRMS: %.2f dBFS (%.4f)\n",
                  toDecibels(figures.peak), figures.peak, toDecibels(figures.rms), figures.rms);
    out += line;
    return out;
}
