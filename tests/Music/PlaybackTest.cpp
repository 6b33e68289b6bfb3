// Playback on a clock driven by hand: exact output samples and frame counts,
// resampling, the heard position of a device that holds one buffer, pausing, the end
// of a sound and frames not decoded in time, with no device, thread or sleep involved.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "Music/Playback.h"
#include "Music/SoundStream.h"
#include "SoundLayerSupport.h"

namespace {

const int64_t MS = 1000000;  // nanoseconds

int16_t pcm(float sample)
{
    return static_cast<int16_t>(std::max(-1.0f, std::min(1.0f, sample)) * 32767.0f);
}

// Mixes frames output frames at nowNs (the stream is fed first, as the feeder does).
std::vector<int16_t> mixed(Playback& mixer, SoundStream& stream, int frames, int64_t nowNs)
{
    stream.feed();
    std::vector<int16_t> out(2 * static_cast<size_t>(frames), 1234);
    mixer.mix(out.data(), frames, nowNs);
    return out;
}

int crossings(const std::vector<int16_t>& pcm, int side)
{
    int n = 0;
    for (size_t f = 1; f < pcm.size() / 2; ++f)
        if ((pcm[(f - 1) * 2 + side] < 0) != (pcm[f * 2 + side] < 0))
            ++n;
    return n;
}

unsigned int frameOf(uint64_t position)
{
    return static_cast<unsigned int>(position >> 32);
}

}  // namespace

TEST(Playback, SameRateStreamComesOutSampleForSampleAndEndsOnItsLastFrame)
{
    for (const char* fixture : {"sine1k-stereo.mp3", "sine86-full.mp3"}) {
        SCOPED_TRACE(fixture);
        const Decoded whole = decodeWhole(fixture);
        std::mutex shared;
        auto stream = openStream(fixture, whole.frames(), shared);
        Playback mixer(44100);
        mixer.start(stream, 0);
        // Odd buffer sizes: mixes cross the mixer's chunks and the stream's.
        const int sizes[] = {1000, 3001, 777, 4096};
        std::vector<int16_t> out;
        for (int i = 0; static_cast<int64_t>(out.size() / 2) < whole.frames() + 500; ++i) {
            const auto part = mixed(mixer, *stream, sizes[i % 4], i * 10 * MS);
            out.insert(out.end(), part.begin(), part.end());
        }
        for (int64_t f = 0; f < whole.frames(); ++f) {
            const float left = whole.samples[static_cast<size_t>(f * whole.channels)];
            const float right =
                whole.samples[static_cast<size_t>(f * whole.channels + whole.channels - 1)];
            ASSERT_EQ(pcm(left), out[static_cast<size_t>(2 * f)]) << "frame " << f;
            ASSERT_EQ(pcm(right), out[static_cast<size_t>(2 * f + 1)]) << "frame " << f;
        }
        // Silence from the first frame after the end, and the playback is over.
        for (size_t i = static_cast<size_t>(2 * whole.frames()); i < out.size(); ++i)
            ASSERT_EQ(0, out[i]) << "sample " << i;
        EXPECT_FALSE(mixer.active());
    }
}

TEST(Playback, ResamplesByTheRateRatio)
{
    // 48 kHz stereo (440 Hz left, 660 Hz right, peak 0.5) out at 44.1 kHz.
    const Decoded whole = decodeWhole("tone48k-stereo.mp3");
    std::mutex shared;
    auto stream = openStream("tone48k-stereo.mp3", whole.frames(), shared);
    Playback mixer(44100);
    mixer.start(stream, 0);
    std::vector<int16_t> out;
    for (int i = 0; i < 44; ++i) {
        const auto part = mixed(mixer, *stream, 1000, i * MS);
        out.insert(out.end(), part.begin(), part.end());
    }
    // 44000 output frames moved the voice by 44000 steps of 48000 / 44100 source
    // frames (in 32.32); at the last mix's time the device still holds its 1000.
    const uint64_t step = (uint64_t(48000) << 32) / 44100;
    EXPECT_EQ(43000 * step, mixer.heardFrame(43 * MS));
    // One second minus 100 output frames: 2 crossings per cycle.
    EXPECT_NEAR(880 * 44000 / 44100.0, crossings(out, 0), 3);
    EXPECT_NEAR(1320 * 44000 / 44100.0, crossings(out, 1), 3);
    const int16_t peak = *std::max_element(out.begin(), out.end());
    EXPECT_NEAR(0.5 * 32767, peak, 0.02 * 32767);

    // Mono goes to both sides.
    const Decoded mono = decodeWhole("tone48k-mono.mp3");
    auto monoStream = openStream("tone48k-mono.mp3", mono.frames(), shared);
    mixer.start(monoStream, 0);
    const auto both = mixed(mixer, *monoStream, 20000, 0);
    for (size_t f = 0; f < 20000; ++f)
        ASSERT_EQ(both[2 * f], both[2 * f + 1]) << "frame " << f;
    EXPECT_NEAR(880 * 20000 / 44100.0, crossings(both, 0), 2);
}

TEST(Playback, HeardPositionOnADeviceThatHoldsOneBuffer)
{
    const Decoded whole = decodeWhole("sine86-full.mp3");
    std::mutex shared;
    auto stream = openStream("sine86-full.mp3", whole.frames(), shared);
    Playback mixer(44100);
    mixer.start(stream, 5 * MS);
    // Nothing handed over yet: the first frame is heard whatever the time.
    EXPECT_EQ(0u, frameOf(mixer.heardFrame(900 * MS)));

    mixed(mixer, *stream, 1024, 1000 * MS);
    EXPECT_EQ(0u, frameOf(mixer.heardFrame(1000 * MS)));     // the buffer's first frame
    EXPECT_EQ(441u, frameOf(mixer.heardFrame(1010 * MS)));   // 10 ms into it
    EXPECT_EQ(1023u, frameOf(mixer.heardFrame(1500 * MS)));  // no further than its last frame
    EXPECT_EQ(441u, frameOf(mixer.heardFrame(1010 * MS)));

    // Paused 10 ms into the buffer: the position holds there, and after resuming
    // the next mix starts with the frame that was heard, not the one after the buffer.
    mixer.setPaused(true, 1010 * MS);
    EXPECT_EQ(441u, frameOf(mixer.heardFrame(5000 * MS)));
    const auto silent = mixed(mixer, *stream, 100, 5000 * MS);
    EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](int16_t v) { return v == 0; }));
    mixer.setPaused(false, 6000 * MS);
    EXPECT_EQ(441u, frameOf(mixer.heardFrame(6100 * MS)));  // held until the next mix
    const auto resumed = mixed(mixer, *stream, 100, 6100 * MS);
    EXPECT_EQ(pcm(whole.samples[441]), resumed[0]);
    EXPECT_EQ(pcm(whole.samples[540]), resumed[2 * 99]);

    // A jump restarts the clock there as well.
    stream->restart(30000, [&] { mixer.jump(uint64_t(30000) << 32, 7000 * MS); });
    EXPECT_EQ(30000u, frameOf(mixer.heardFrame(7100 * MS)));
    const auto moved = mixed(mixer, *stream, 10, 7100 * MS);
    EXPECT_EQ(pcm(whole.samples[30000]), moved[0]);
}

TEST(Playback, ClockDrivenPlaybackFollowsTheClockToTheEnd)
{
    const Decoded whole = decodeWhole("tone22k-stereo.mp3");  // 22.05 kHz
    const int64_t length = whole.frames();
    const int64_t lengthNs = length * 1000000000 / 22050;
    std::mutex shared;
    Playback mixer(44100);
    mixer.setClockDriven(true);
    mixer.start(openStream("tone22k-stereo.mp3", length, shared), 1000 * MS);

    mixer.advance(1500 * MS);
    EXPECT_EQ(11025u, frameOf(mixer.heardFrame(1500 * MS)));
    // A mix writes silence and moves the position with the clock.
    std::vector<int16_t> out(200, 77);
    mixer.mix(out.data(), 100, 1600 * MS);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t v) { return v == 0; }));
    EXPECT_EQ(13230u, frameOf(mixer.heardFrame(1600 * MS)));
    // Paused, it holds; resumed, it goes on from there.
    mixer.setPaused(true, 1600 * MS);
    mixer.advance(9000 * MS);
    EXPECT_EQ(13230u, frameOf(mixer.heardFrame(9000 * MS)));
    mixer.setPaused(false, 9000 * MS);
    EXPECT_EQ(13230u + 2205u, frameOf(mixer.heardFrame(9100 * MS)));

    // Played once: the frame before the end is still heard, and it is over after it.
    const int64_t endNs = 9000 * MS + lengthNs - 600 * MS;
    mixer.advance(endNs - MS);
    EXPECT_TRUE(mixer.active());
    EXPECT_NEAR(double(length - 22), frameOf(mixer.heardFrame(endNs - MS)), 2.0);
    mixer.advance(endNs + MS);
    EXPECT_FALSE(mixer.active());
    EXPECT_EQ(uint64_t(length) << 32, mixer.heardFrame(endNs + MS));
}

TEST(Playback, FrameNotDecodedInTimePlaysAsSilenceAndTheTimeGoesOn)
{
    const Decoded whole = decodeWhole("late-tone.mp3");  // 1 kHz from 1.0 s on
    std::mutex shared;
    auto stream = openStream("late-tone.mp3", whole.frames(), shared);
    Playback mixer(44100);
    mixer.start(stream, 0);
    mixer.jump(uint64_t(44100) << 32, 0);  // into the tone, nothing decoded there yet
    std::vector<int16_t> out(2 * 2000, 1234);
    mixer.mix(out.data(), 2000, 0);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t v) { return v == 0; }));
    // The position kept time through the silence: the device hears the silent
    // buffer from the frame jumped to, and the next mix, once decoded, plays the
    // frames after the missed ones.
    EXPECT_EQ(44100u, frameOf(mixer.heardFrame(0)));
    stream->ensure(44100 + 3000);
    mixer.mix(out.data(), 1000, 23 * MS);
    EXPECT_EQ(pcm(whole.samples[46100]), out[0]);
    EXPECT_EQ(pcm(whole.samples[47099]), out[2 * 999]);
    EXPECT_NE(0, *std::max_element(out.begin(), out.begin() + 2000));
}
