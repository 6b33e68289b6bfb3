// Tests of the composer's building blocks: envelope continuity, click-free
// notes, the limiter's ceiling and slopes, the WAV bytes, the generator.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tools/composer/Adsr.h"
#include "tools/composer/DrumKit.h"
#include "tools/composer/PeakLimiter.h"
#include "tools/composer/Prng.h"
#include "tools/composer/StereoBuffer.h"
#include "tools/composer/Voices.h"
#include "tools/composer/WavWriter.h"

namespace {

const int RATE = 44100;

float largestStep(const std::vector<float>& v)
{
    float step = 0.0f;
    for (size_t i = 1; i < v.size(); ++i)
        step = std::max(step, std::fabs(v[i] - v[i - 1]));
    return step;
}

float peakOf(const std::vector<float>& v)
{
    float p = 0.0f;
    for (float s : v)
        p = std::max(p, std::fabs(s));
    return p;
}

}  // namespace

TEST(AdsrTest, StartsAtZeroIsContinuousAtReleaseAndEndsAtZero)
{
    const Adsr env(0.01, 0.2, 0.6, 0.3);
    EXPECT_DOUBLE_EQ(env.level(0.0, 1.0), 0.0);
    EXPECT_NEAR(env.level(0.01, 1.0), 1.0, 1e-9);
    // Released during the attack (gate 5 ms): the release starts from 0.5, not
    // from the sustain level, so there is no jump.
    EXPECT_NEAR(env.level(0.005 - 1e-9, 0.005), env.level(0.005 + 1e-9, 0.005), 1e-6);
    EXPECT_NEAR(env.level(1.0 - 1e-9, 1.0), env.level(1.0 + 1e-9, 1.0), 1e-6);
    EXPECT_NEAR(env.level(0.9, 1.0), 0.6, 0.01);
    EXPECT_DOUBLE_EQ(env.level(env.length(1.0), 1.0), 0.0);
    EXPECT_DOUBLE_EQ(env.level(5.0, 1.0), 0.0);
    for (double t = 0.0; t < 1.5; t += 0.001) {
        double v = env.level(t, 1.0);
        ASSERT_GE(v, 0.0);
        ASSERT_LE(v, 1.0);
    }
}

// Clicks at note boundaries come from envelopes that start or stop on a
// non-zero level. Every voice must start from silence, end in silence and stay
// within its headroom; the smooth voices (no bright partials of their own)
// must also have no sample-to-sample jump anywhere, which catches a release
// that starts from the wrong level.
TEST(VoicesTest, EveryNoteStartsAndEndsInSilenceWithoutSteps)
{
    Voices voices(RATE);
    struct Case {
        const char* name;
        void (*render)(Voices&, StereoBuffer&);
        bool smooth;
    };
    const Case cases[] = {
        {"bass", [](Voices& v, StereoBuffer& b) { v.bass(b, 100, 0.3, 38, 1.0f, 1.0); }, true},
        {"pad", [](Voices& v, StereoBuffer& b) { v.pad(b, 100, 0.5, 57, 1.0f, 0.0f, 2000.0); },
         true},
        {"lead", [](Voices& v, StereoBuffer& b) { v.lead(b, 100, 0.4, 74, 1.0f, 0.0f); }, true},
        {"pluck", [](Voices& v, StereoBuffer& b) { v.pluck(b, 100, 0.2, 81, 1.0f, 0.0f); }, false},
        {"bell", [](Voices& v, StereoBuffer& b) { v.bell(b, 100, 0.5, 86, 1.0f, 0.0f); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StereoBuffer bus(RATE * 3);
        c.render(voices, bus);
        const std::vector<float>& left = bus.left();
        EXPECT_EQ(left[99], 0.0f) << "nothing before the note";
        EXPECT_LT(std::fabs(left[100]), 0.01f) << "starts from silence";
        EXPECT_GT(peakOf(left), 0.05f) << "the note sounds";
        EXPECT_LT(peakOf(left), 1.0f);
        // Silence after the note: the last sounding sample is already quiet.
        size_t last = left.size();
        while (last > 0 && left[last - 1] == 0.0f)
            --last;
        ASSERT_LT(last, left.size()) << "the note ends within 3 s";
        EXPECT_LT(std::fabs(left[last - 1]), 0.01f) << "ends in silence";
        if (c.smooth) {
            EXPECT_LT(largestStep(left), 0.25f);
        }
    }
}

TEST(DrumKitTest, HitsAreDeterministicPerSeedAndFadeOut)
{
    StereoBuffer a(RATE), b(RATE), c(RATE);
    DrumKit kitA(RATE, 7), kitB(RATE, 7), kitC(RATE, 8);
    kitA.snare(a, 0, 1.0f, 0.0f);
    kitB.snare(b, 0, 1.0f, 0.0f);
    kitC.snare(c, 0, 1.0f, 0.0f);
    EXPECT_EQ(a.left(), b.left());
    EXPECT_NE(a.left(), c.left()) << "the seed changes the noise";

    StereoBuffer kick(RATE);
    DrumKit(RATE, 1).kick(kick, 0, 1.0f, 72.0, 0.095);
    EXPECT_LT(std::fabs(kick.left()[0]), 0.01f);
    EXPECT_GT(peakOf(kick.left()), 0.5f);
    size_t last = kick.frames();
    while (last > 0 && kick.left()[last - 1] == 0.0f)
        --last;
    EXPECT_LT(std::fabs(kick.left()[last - 1]), 0.01f);
}

TEST(PeakLimiterTest, HoldsTheCeilingWithoutSteppingTheGain)
{
    StereoBuffer bus(RATE);
    // A quiet sine with one loud burst in the middle.
    for (size_t i = 0; i < bus.frames(); ++i) {
        float level = (i >= 20000 && i < 20500) ? 2.0f : 0.3f;
        float v = level * static_cast<float>(std::sin(2.0 * 3.14159265 * 440.0 * i / RATE));
        bus.left()[i] = v;
        bus.right()[i] = -v;
    }
    const double ceiling = 0.8;
    float smallest = PeakLimiter(RATE, ceiling, 0.003, 0.1).process(bus);
    EXPECT_NEAR(smallest, 0.4f, 0.01f) << "2.0 brought down to 0.8";
    EXPECT_LE(peakOf(bus.left()), ceiling);
    EXPECT_LE(peakOf(bus.right()), ceiling);
    // Far from the burst the signal is untouched (up to the tiny safety margin).
    EXPECT_NEAR(bus.left()[5000], 0.3f * std::sin(2.0 * 3.14159265 * 440.0 * 5000 / RATE), 1e-5);
    // Just before the burst the gain is already ramping (look-ahead), and the
    // recovery after it takes about the release time, not one sample.
    float before = std::sin(2.0 * 3.14159265 * 440.0 * 19990 / RATE) * 0.3f;
    EXPECT_LT(std::fabs(bus.left()[19990]), std::fabs(before) - 1e-4);
    float after = bus.left()[20500 + 441] /
                  (0.3f * static_cast<float>(std::sin(2.0 * 3.14159265 * 440.0 * 20941 / RATE)));
    EXPECT_GT(after, 0.4f);
    EXPECT_LT(after, 0.6f) << "10 ms into a 100 ms release";
}

TEST(PeakLimiterTest, LeavesQuietMaterialAlone)
{
    StereoBuffer bus(1000);
    for (size_t i = 0; i < bus.frames(); ++i)
        bus.left()[i] = 0.5f * ((i % 7) / 7.0f - 0.5f);
    std::vector<float> before = bus.left();
    EXPECT_FLOAT_EQ(PeakLimiter(RATE, 0.9, 0.003, 0.1).process(bus), 1.0f);
    for (size_t i = 0; i < bus.frames(); ++i)
        ASSERT_NEAR(bus.left()[i], before[i], 1e-6);
}

TEST(WavWriterTest, WritesA16BitStereoHeaderAndClampedRoundedSamples)
{
    StereoBuffer bus(3);
    bus.add(0, 0.5f, -0.5f);
    bus.add(1, 1.7f, -3.0f);                        // beyond full scale: clamped
    bus.add(2, 0.6f / 32767.0f, -0.4f / 32767.0f);  // to the nearest step
    std::vector<uint8_t> bytes = WavWriter::encode(bus, 44100);
    ASSERT_EQ(bytes.size(), 44u + 12u);
    EXPECT_EQ(std::memcmp(bytes.data(), "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(bytes.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(std::memcmp(bytes.data() + 36, "data", 4), 0);
    auto u32 = [&](size_t at) {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
               static_cast<uint32_t>(bytes[at + 3]) << 24;
    };
    auto s16 = [&](size_t at) { return static_cast<int16_t>(bytes[at] | bytes[at + 1] << 8); };
    EXPECT_EQ(u32(4), 36u + 12u);
    EXPECT_EQ(s16(20), 1);  // PCM
    EXPECT_EQ(s16(22), 2);  // channels
    EXPECT_EQ(u32(24), 44100u);
    EXPECT_EQ(u32(28), 44100u * 4u);  // bytes per second
    EXPECT_EQ(s16(32), 4);            // bytes per frame
    EXPECT_EQ(s16(34), 16);
    EXPECT_EQ(u32(40), 12u);
    EXPECT_EQ(s16(44), 16384);  // 0.5 * 32767 = 16383.5 -> 16384
    EXPECT_EQ(s16(46), -16384);
    EXPECT_EQ(s16(48), 32767);
    EXPECT_EQ(s16(50), -32767);
    EXPECT_EQ(s16(52), 1);
    EXPECT_EQ(s16(54), 0);
}

TEST(WavWriterTest, ReportsAnUnwritablePath)
{
    StereoBuffer bus(10);
    EXPECT_FALSE(WavWriter::write("/nonexistent-dir/x.wav", bus, 44100));
}

TEST(PrngTest, SameSeedSameStreamAndUnitRange)
{
    Prng a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 10000; ++i) {
        float x = a.nextUnit();
        ASSERT_EQ(x, b.nextUnit());
        ASSERT_GE(x, 0.0f);
        ASSERT_LT(x, 1.0f);
        differs = differs || x != c.nextUnit();
    }
    EXPECT_TRUE(differs);
    // Seed 0 must not lock xorshift at zero.
    Prng zero(0);
    EXPECT_NE(zero.nextU32(), zero.nextU32());
}
