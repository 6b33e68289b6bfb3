// SpectrumAnalyser: amplitude calibration across bands and sizes, where the window
// lies relative to endFrame, channel selection, and the edges of the data.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Music/SpectrumAnalyser.h"

namespace {

// frames x channels interleaved; channel c holds amplitude[c] * sin(2 pi f[c] t).
std::vector<float> tones(size_t frames, int rate, std::vector<double> freq,
                         std::vector<double> amplitude)
{
    const int channels = static_cast<int>(freq.size());
    std::vector<float> data(frames * channels);
    for (size_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            data[f * channels + c] =
                static_cast<float>(amplitude[c] * std::sin(2.0 * M_PI * freq[c] * f / rate + 0.3));
    return data;
}

double bandCentre(int band, int rate, int count)
{
    return band * static_cast<double>(rate) / (2.0 * count);
}

}  // namespace

TEST(SpectrumAnalyser, FullScaleSineAtABandCentreReadsOneThere)
{
    for (int count : {64, 512, 2048}) {
        SpectrumAnalyser analyser(count);
        ASSERT_EQ(count, analyser.count());
        std::vector<float> out(count);
        for (int band : {2, 5, 23, count / 2, count - 3}) {
            SCOPED_TRACE(::testing::Message() << "count " << count << " band " << band);
            const auto data = tones(4 * count, 44100, {bandCentre(band, 44100, count)}, {1.0});
            analyser.compute(data.data(), 4 * count, 1, 0, 3 * count, out.data());
            EXPECT_NEAR(1.0, out[band], 0.02);
            // The triangle window's main lobe spans one band either side; beyond
            // that the leakage is small.
            for (int i = 0; i < count; ++i) {
                if (std::abs(i - band) > 1) {
                    EXPECT_LT(out[i], 0.06) << "band " << i;
                }
            }
        }
    }
}

TEST(SpectrumAnalyser, AmplitudeScalesLinearlyAndSilenceReadsZero)
{
    SpectrumAnalyser analyser(512);
    std::vector<float> out(512);
    const double f = bandCentre(2, 44100, 512);  // 86.13 Hz
    for (double amplitude : {0.5, 0.25}) {
        const auto data = tones(4096, 44100, {f}, {amplitude});
        analyser.compute(data.data(), 4096, 1, 0, 2048, out.data());
        EXPECT_NEAR(amplitude, out[2], 0.02 * amplitude);
    }
    const std::vector<float> silence(4096, 0.0f);
    analyser.compute(silence.data(), 4096, 1, 0, 2048, out.data());
    for (float v : out)
        EXPECT_EQ(0.0f, v);
    // A constant offset reads its own value in band 0.
    const std::vector<float> offset(4096, 0.25f);
    analyser.compute(offset.data(), 4096, 1, 0, 2048, out.data());
    EXPECT_NEAR(0.25, out[0], 0.005);
    // 1 kHz at 44.1 kHz falls in band 23 (centre 990.5 Hz).
    const auto khz = tones(4096, 44100, {1000.0}, {1.0});
    analyser.compute(khz.data(), 4096, 1, 0, 2048, out.data());
    int loudest = 0;
    for (int i = 1; i < 512; ++i)
        if (out[i] > out[loudest])
            loudest = i;
    EXPECT_EQ(23, loudest);
    EXPECT_GT(out[23], 0.8);
}

TEST(SpectrumAnalyser, WindowEndsJustBeforeEndFrame)
{
    const int count = 256;
    SpectrumAnalyser analyser(count);
    std::vector<float> out(count);
    // Silence except for a tone in frames [1000, 1000 + 2*count).
    std::vector<float> data(4000, 0.0f);
    const auto tone = tones(2 * count, 44100, {bandCentre(10, 44100, count)}, {1.0});
    std::copy(tone.begin(), tone.end(), data.begin() + 1000);

    analyser.compute(data.data(), data.size(), 1, 0, 1000 + 2 * count, out.data());
    EXPECT_NEAR(1.0, out[10], 0.02);  // window exactly on the tone
    analyser.compute(data.data(), data.size(), 1, 0, 1000, out.data());
    EXPECT_LT(out[10], 1e-6);  // window just before it
    analyser.compute(data.data(), data.size(), 1, 0, 1000 + 4 * count, out.data());
    EXPECT_LT(out[10], 1e-6);  // window just after it
    analyser.compute(data.data(), data.size(), 1, 0, 1000 + count, out.data());
    EXPECT_GT(out[10], 0.1);  // half in: only the rising half of the triangle sees it
    EXPECT_LT(out[10], 0.9);
}

TEST(SpectrumAnalyser, PicksTheAskedChannelAndTreatsFramesOutsideTheDataAsSilence)
{
    const int count = 512;
    SpectrumAnalyser analyser(count);
    std::vector<float> out(count);
    const auto data =
        tones(2048, 48000, {bandCentre(4, 48000, count), bandCentre(40, 48000, count)}, {0.5, 1.0});
    analyser.compute(data.data(), 2048, 2, 0, 2048, out.data());
    EXPECT_NEAR(0.5, out[4], 0.01);
    EXPECT_LT(out[40], 0.01);
    analyser.compute(data.data(), 2048, 2, 1, 2048, out.data());
    EXPECT_NEAR(1.0, out[40], 0.02);
    EXPECT_LT(out[4], 0.01);

    // Windows hanging over either end, or wholly outside, read only what exists.
    for (int64_t end : {int64_t(-5000), int64_t(0), int64_t(100), int64_t(2100), int64_t(9000)}) {
        analyser.compute(data.data(), 2048, 2, 1, end, out.data());
        for (float v : out)
            ASSERT_TRUE(std::isfinite(v));
        if (end <= 0 || end >= 2048 + 2 * count) {
            EXPECT_EQ(0.0f, out[40]) << "end " << end;
        } else {
            EXPECT_GT(out[40], 0.0f) << "end " << end;
        }
    }
    analyser.compute(nullptr, 0, 1, 0, 1024, out.data());
    EXPECT_EQ(0.0f, out[1]);
}
