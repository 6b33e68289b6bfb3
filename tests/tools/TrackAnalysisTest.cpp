// Tests of the analysis tool on signals whose figures follow by hand from how
// the 1024-sample triangle-windowed spectrum sees a tone at a band centre.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Music/MpegReader.h"
#include "support/Process.h"
#include "tools/analysis/TrackAnalysis.h"
#include "tools/composer/StereoBuffer.h"
#include "tools/composer/WavWriter.h"

namespace {

const int RATE = 44100;
const double TWO_PI = 6.283185307179586;
const double BAND = RATE / 1024.0;  // 43.07 Hz between band centres

// Left: a steady band-9 tone (387.6 Hz) at 0.3, and bursts of a band-2 tone
// (86.13 Hz) at 0.5, 105 ms long every 705 ms, the first at 10.9 ms.
// Right: a steady band-2 tone at 0.9, which the analysis must ignore (the demo
// reads the spectrum of the first channel only).
// 317440 frames = 620 periods of the band-2 tone = 2790 of the band-9 tone.
const size_t BEAT_FRAMES = 317440;
const int BURSTS = 10;

bool inBurst(size_t frame)
{
    for (int j = 0; j < BURSTS; ++j) {
        long start = std::lround((705.0 * j + 10.9) * RATE / 1000.0);
        if (static_cast<long>(frame) >= start && static_cast<long>(frame) < start + 4631)
            return true;
    }
    return false;
}

StereoBuffer beatFixture()
{
    StereoBuffer bus(BEAT_FRAMES);
    for (size_t n = 0; n < BEAT_FRAMES; ++n) {
        double low = std::sin(TWO_PI * 2.0 * BAND * n / RATE);
        double left =
            0.3 * std::sin(TWO_PI * 9.0 * BAND * n / RATE) + (inBurst(n) ? 0.5 * low : 0.0);
        bus.add(static_cast<long>(n), static_cast<float>(left), static_cast<float>(0.9 * low));
    }
    return bus;
}

std::vector<float> interleave(const StereoBuffer& bus)
{
    std::vector<float> out;
    for (size_t i = 0; i < bus.frames(); ++i) {
        out.push_back(bus.left()[i]);
        out.push_back(bus.right()[i]);
    }
    return out;
}

// Expected by hand. Step k is at 15k ms; its window is the 1024 frames before
// it, so its centre lies 11.61 ms earlier. A bin-centred tone reads its
// amplitude times the window weight it covers; covering half the weight (the
// window centre on an edge of the burst) reads 0.25 at amplitude 0.5. The
// window centre is inside burst j for 15k in [705j + 22.5, 705j + 127.5),
// that is k = 47j + 2 .. 47j + 8: seven steps per burst, each 7.5 ms clear of
// an edge. Over [0, 7050) ms (470 steps, 10 bursts): 70 beat steps.
// Bands 1 and 3 read 0.405 x 0.5 = 0.2026 only when band 2 reads 0.5, so
// "any of 0-7 > 0.2" counts the same 70 steps (its threshold 0.2 = 0.4 x 0.5
// moves each edge by 1.2 ms only). The band-9 tone reads 0.3 > 0.2 on every
// step but the first (an empty window; the second covers 75 % = 0.225), so
// "any of 0-9 > 0.2" counts 469. Per step at most six of the sixteen lowest
// values are non-zero (bands 1-3 and 8-10), so their median is 0.
// Peak: the right tone reaches 0.9 exactly (period 512 frames, sample 128).
// RMS^2 = (0.3^2/2 + 0.9^2/2 + 0.5^2/2 x 10 x 4631 / 317440) / 2.
const double BEAT_SHARE = 70.0 / 470.0;
const double ANY10_SHARE = 469.0 / 470.0;
const double EXPECTED_RMS =
    std::sqrt((0.045 + 0.405 + 0.125 * BURSTS * 4631.0 / BEAT_FRAMES) / 2.0);

std::vector<TrackAnalysis::Span> beatSpan()
{
    return {{"beat", 0.0, 7050.0}};
}

void expectBeatFigures(const TrackAnalysis::Figures& f, double shareTolerance,
                       double levelTolerance)
{
    ASSERT_EQ(f.sections.size(), 1u);
    const TrackAnalysis::SectionFigures& s = f.sections[0];
    EXPECT_EQ(s.steps, 470);
    EXPECT_NEAR(s.beatShare, BEAT_SHARE, shareTolerance);
    EXPECT_NEAR(s.anyLow8Share, BEAT_SHARE, shareTolerance);
    EXPECT_NEAR(s.anyLow10Share, ANY10_SHARE, shareTolerance);
    EXPECT_LT(s.medianLow16, 0.005);
    EXPECT_EQ(s.beatBursts, BURSTS) << "one burst per beat";
    EXPECT_DOUBLE_EQ(s.longestBurstMs, 105.0);
    EXPECT_NEAR(f.peak, 0.9, levelTolerance);
    EXPECT_NEAR(f.rms, EXPECTED_RMS, levelTolerance);
}

}  // namespace

TEST(TrackAnalysisTest, BeatFixtureFiguresMatchTheHandCount)
{
    std::vector<float> samples = interleave(beatFixture());
    TrackAnalysis::Figures f = TrackAnalysis::analyse(samples, 2, RATE, beatSpan());
    expectBeatFigures(f, 1e-9, 1e-4);
    EXPECT_NEAR(TrackAnalysis::toDecibels(f.peak), -0.915, 0.001);
}

// Tones of 0.1 on the odd bands 1, 3, ..., 15. A bin-centred tone leaks
// nothing into bands an even distance away and 4 / (pi m)^2 of itself into
// bands an odd distance m away (0.405, 0.045, 0.016, 0.008 for m = 1, 3, 5, 7).
// So every odd band reads exactly 0.1, and every even band reads a sum of
// leaks whose phases drift from step to step: at most 2 x 0.1 x (0.405 +
// 0.045 + 0.016 + 0.008) = 0.0948 in the middle bands, less near the edges.
// Half of the pooled values are 0.1 and half are below, so the median is the
// mean of 0.1 and the largest leak sum seen, which over ~200 steps comes
// within 2 % of its bound: between (0.093 + 0.1) / 2 and (0.0948 + 0.1) / 2.
TEST(TrackAnalysisTest, MedianOfTheSixteenLowestValuesOverTheSection)
{
    const size_t frames = 3 * RATE;
    std::vector<float> mono(frames);
    for (size_t n = 0; n < frames; ++n) {
        double v = 0.0;
        for (int band = 1; band <= 15; band += 2)
            v += 0.1 * std::sin(TWO_PI * band * BAND * n / RATE + band);
        mono[n] = static_cast<float>(v);
    }
    // From 30 ms on, every window lies inside the signal.
    TrackAnalysis::Figures f = TrackAnalysis::analyse(mono, 1, RATE, {{"chord", 30.0, 3000.0}});
    ASSERT_EQ(f.sections.size(), 1u);
    EXPECT_EQ(f.sections[0].steps, 198);
    EXPECT_GE(f.sections[0].medianLow16, 0.0965);
    EXPECT_LE(f.sections[0].medianLow16, 0.0974);
    EXPECT_EQ(f.sections[0].beatShare, 0.0) << "band 2 is a leak sum below 0.1";
}

TEST(TrackAnalysisTest, SectionsBeyondTheTrackReadSilenceAndStepsFollowTheGrid)
{
    std::vector<float> mono(RATE / 2, 0.0f);
    // Steps at 0, 15 and 30 ms lie in [0, 31); the next section starts on the
    // first step at or after 31 ms (45 ms) and holds 45 .. 90 ms.
    TrackAnalysis::Figures f = TrackAnalysis::analyse(
        mono, 1, RATE,
        {{"a", 0.0, 31.0}, {"b", 31.0, 91.0}, {"late", 60000.0, 61000.0}, {"empty", 10.0, 10.0}});
    ASSERT_EQ(f.sections.size(), 4u);
    EXPECT_EQ(f.sections[0].steps, 3);
    EXPECT_EQ(f.sections[1].steps, 4);
    EXPECT_EQ(f.sections[2].steps, 67);
    EXPECT_EQ(f.sections[2].beatShare, 0.0);
    EXPECT_EQ(f.sections[3].steps, 0);
    EXPECT_EQ(f.peak, 0.0);
    EXPECT_TRUE(std::isinf(TrackAnalysis::toDecibels(f.rms)));
    EXPECT_NE(TrackAnalysis::format(f).find("| late, 60.0-61.0 s | 67 | 0.0 %"), std::string::npos);
}

TEST(TrackAnalysisTest, SceneSectionsFollowTheNominalSceneStarts)
{
    std::vector<TrackAnalysis::Span> spans = TrackAnalysis::sceneSpans();
    ASSERT_EQ(spans.size(), 6u);
    const double starts[] = {0.0, 11280.0, 33312.0, 52842.0, 62842.0, 77842.0};
    for (size_t i = 0; i < spans.size(); ++i) {
        EXPECT_EQ(spans[i].startMs, starts[i]);
        EXPECT_EQ(spans[i].endMs, i + 1 < spans.size() ? starts[i + 1] : 92842.0);
    }
}

// The same fixture through an MP3 (lame, 192 kbit/s) and the sound layer's
// decoder: the counts keep their 7.5 ms margins; the levels move by the coding
// error (at 192 kbit/s lame lowers a steady 86 Hz tone by about 0.3 dB, 3 %).
// Then the analysis program itself, on that file and on a bad path.
TEST(TrackAnalysisTest, EncodedFixtureThroughTheDecoderAndTheProgram)
{
    const std::string dir = std::string(DEDOZ_BINARY_DIR) + "/tests/tools";
    const std::string wav = dir + "/analysis-beat.wav";
    const std::string mp3 = dir + "/analysis-beat.mp3";
    ASSERT_TRUE(WavWriter::write(wav, beatFixture(), RATE));
    Process::Result enc =
        Process::run({"lame", "--quiet", "--cbr", "-b", "192", "-q", "2", wav, mp3}, {}, 60000);
    ASSERT_TRUE(enc.started) << "lame is needed (scripts/install-deps.sh)";
    ASSERT_EQ(enc.exitCode, 0) << enc.err;

    DecodedSound sound;
    ASSERT_NO_THROW(sound = decodeFile(mp3.c_str()));
    ASSERT_EQ(sound.channels, 2);
    ASSERT_EQ(sound.sampleRate, RATE);
    expectBeatFigures(
        TrackAnalysis::analyse(sound.samples, sound.channels, sound.sampleRate, beatSpan()),
        1.5 / 470.0, 0.04);

    Process::Result run = Process::run({ANALYSIS_PATH, mp3}, {}, 60000);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("2 channel(s), 44100 Hz, 7.20 s"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("| titles, 0.0-11.3 s |"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nPeak: -"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(")\nRMS: -"), std::string::npos) << run.out;
    std::remove(wav.c_str());
    std::remove(mp3.c_str());

    Process::Result missing = Process::run({ANALYSIS_PATH, dir + "/no-such.mp3"}, {}, 10000);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_NE(missing.err.find("analysis: cannot decode"), std::string::npos) << missing.err;
    EXPECT_EQ(countOccurrences(missing.err, "\n"), 1) << "one line";
}
