// Sound output: what reaches a real SDL audio device (the disk driver, which writes
// the stream to a file at its own pace: the test waits for the frames it needs
// instead of for a time), and the one channel's life on a clock set by hand.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Music/Music.h"
#include "MusicFixtures.h"
#include "MusicTestSupport.h"

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

namespace {

// Sign changes of one channel of interleaved 16-bit stereo over [from, to) frames.
int crossings(const std::vector<int16_t>& pcm, int channel, size_t from, size_t to)
{
    int n = 0;
    for (size_t f = from + 1; f < to; ++f)
        if ((pcm[(f - 1) * 2 + channel] < 0) != (pcm[f * 2 + channel] < 0))
            ++n;
    return n;
}

// Stereo 16-bit frames in the file at path so far.
int64_t framesIn(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? static_cast<int64_t>(info.st_size) / 4 : 0;
}

// Waits until the device has written `frames` frames to path (or 30 s went by).
bool waitForFrames(const std::string& path, int64_t frames)
{
    for (int i = 0; i < 3000 && framesIn(path) < frames; ++i)
        sleepMs(10);
    return framesIn(path) >= frames;
}

struct Output {
    std::vector<int16_t> pcm;  // interleaved stereo, as the device wrote it
    size_t start = 0;          // the sound's first frame in it
};

// Plays fixture through the disk driver until `frames` output frames of it are
// written. The device runs from init on: the sound starts wherever play found it,
// later on a loaded machine, so frames are counted from play on.
Output playToFile(const char* fixture, const std::string& path, int64_t frames)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", path);
    {
        Music music;
        EXPECT_TRUE(music.init());
        EXPECT_TRUE(music.load(musicFixture(fixture).c_str()));
        const int64_t beforePlay = framesIn(path);
        music.play();
        const int64_t afterPlay = framesIn(path);
        EXPECT_TRUE(waitForFrames(path, afterPlay + 44100 / 2));
        // The device's position: what it was handed, less what it still holds. Read
        // against the frames it wrote since play (at 44.1 kHz; the sound is at 48
        // kHz) on both sides, with a few buffers' slack for SDL's own.
        const int64_t before = framesIn(path);
        const unsigned int position = music.getPosition();
        const int64_t after = framesIn(path);
        EXPECT_GE(position * 44.1, before - afterPlay - 4096.0);
        EXPECT_LE(position * 44.1, after - beforePlay + 4096.0);
        EXPECT_TRUE(waitForFrames(path, afterPlay + 4096 + frames))
            << framesIn(path) << " frames written";
    }  // joins the audio thread

    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Output out;
    out.pcm.resize(bytes.size() / 2);
    std::memcpy(out.pcm.data(), bytes.data(), out.pcm.size() * 2);
    // Silence until the sound's first frame (the fixtures' tones start at once).
    while (2 * out.start < out.pcm.size() && out.pcm[2 * out.start] == 0 &&
           out.pcm[2 * out.start + 1] == 0)
        ++out.start;
    out.start = out.start > 0 ? out.start - 1 : 0;  // a sine's first sample is 0
    return out;
}

}  // namespace

TEST(SoundOutput, DeviceGetsTheResampledStereoMix)
{
    // 48 kHz stereo (440 Hz left, 660 Hz right, peak 0.5) out at 44.1 kHz, and 1.4 s
    // of it: the 1.25 s sound and the silence after it.
    const std::string dir = std::string(DEDOZ_BINARY_DIR) + "/fixtures/music/";
    const Output stereo = playToFile("tone48k-stereo.mp3", dir + "out-stereo.raw", 61740);
    const size_t from = stereo.start;
    const size_t frames = stereo.pcm.size() / 2;
    ASSERT_GE(frames, from + 61740);
    // One second from 0.1 s: 2 crossings per cycle.
    EXPECT_NEAR(880, crossings(stereo.pcm, 0, from + 4410, from + 48510), 4);
    EXPECT_NEAR(1320, crossings(stereo.pcm, 1, from + 4410, from + 48510), 4);
    int16_t peak = 0;
    for (size_t i = 2 * from; i < 2 * (from + 48510); ++i)
        peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(stereo.pcm[i])));
    EXPECT_NEAR(0.5 * 32767, peak, 0.02 * 32767);
    // The sound ends and the output falls silent.
    EXPECT_EQ(0, crossings(stereo.pcm, 0, from + 57000, frames));

    // Mono goes to both sides.
    const Output mono = playToFile("tone48k-mono.mp3", dir + "out-mono.raw", 48510);
    ASSERT_GE(mono.pcm.size(), 2 * (mono.start + 48510));
    for (size_t f = 0; f < 44100; ++f)
        ASSERT_EQ(mono.pcm[2 * (mono.start + f)], mono.pcm[2 * (mono.start + f) + 1])
            << "frame " << f;
    EXPECT_NEAR(880, crossings(mono.pcm, 0, mono.start + 4410, mono.start + 48510), 4);
}

// Play asks for endless repeats, but the demo's sound plays once: the end stops the
// one channel; playing again starts it over, replacing what played.
TEST(SoundOutput, TheOneChannelPlaysOnceAndPlayingAgainStartsItOver)
{
    Music music;
    unsigned int clock = 0;
    music.setClock(clock);
    auto after = [&](unsigned int ms) { music.setClock(clock += ms); };
    ASSERT_TRUE(music.init());
    ASSERT_TRUE(music.load(musicFixture("tone22k-stereo.mp3").c_str()));
    const unsigned int length = music.getLength();
    ASSERT_NEAR(750.0, length, 30.0);

    music.play();
    music.setPosition(length - 50);
    after(49);
    EXPECT_EQ(length - 1, music.getPosition());
    after(2);
    CaptureStderr();
    EXPECT_EQ(0u, music.getPosition());
    EXPECT_EQ(lineOf(SoundError::NOT_PLAYING), GetCapturedStderr());

    // A play while playing starts over at 0; pausing then holds it there.
    music.play();
    after(300);
    music.play();
    EXPECT_EQ(0u, music.getPosition());
    music.pause();
    after(4 * length);
    EXPECT_EQ(0u, music.getPosition());
    EXPECT_TRUE(allZero(spectrumOf(music)));
}
