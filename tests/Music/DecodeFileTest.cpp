// decodeFile: lengths, rates and channel layouts of generated MP3s, the gapless
// trimming, and the refusal of files that hold no (whole) MP3.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "Music/MpegReader.h"
#include "Music/SoundError.h"
#include "MusicFixtures.h"

namespace {

struct Expected {
    const char* file;
    int rate;
    int channels;
    double seconds;
};

// Mean absolute value of one channel over frames [from, to).
double level(const std::vector<float>& data, int channels, int channel, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t f = from; f < to; ++f)
        sum += std::fabs(data[f * channels + channel]);
    return sum / static_cast<double>(to - from);
}

std::string scratch(const char* name)
{
    return std::string(DEDOZ_BINARY_DIR) + "/fixtures/music/scratch-" + name;
}

void writeBytes(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<char> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The reason decoding path fails for; REASON_COUNT when it succeeds.
SoundError::Reason failure(const std::string& path)
{
    try {
        decodeFile(path.c_str());
    } catch (const SoundError& e) {
        return e.reason();
    }
    return SoundError::REASON_COUNT;
}

}  // namespace

TEST(DecodeFile, LengthRateAndChannelsOfEveryLayout)
{
    const Expected cases[] = {
        {"sine86-full.mp3", 44100, 1, 1.5},     {"sine1k-stereo.mp3", 44100, 2, 1.5},
        {"tone48k-mono.mp3", 48000, 1, 1.25},   {"tone48k-stereo.mp3", 48000, 2, 1.25},
        {"tone22k-stereo.mp3", 22050, 2, 0.75}, {"late-tone.mp3", 44100, 1, 3.0},
    };
    for (const Expected& e : cases) {
        SCOPED_TRACE(e.file);
        DecodedSound d;
        ASSERT_NO_THROW(d = decodeFile(musicFixture(e.file).c_str()));
        EXPECT_EQ(e.rate, d.sampleRate);
        EXPECT_EQ(e.channels, d.channels);
        ASSERT_EQ(0u, d.samples.size() % d.channels);
        const double frames = static_cast<double>(d.samples.size() / d.channels);
        // Within one MPEG frame (1152 samples; 576 for the 22.05 kHz MPEG-2 stream).
        EXPECT_NEAR(e.seconds * e.rate, frames, 1152.0);
    }
}

TEST(DecodeFile, SamplesAreFloatsInPlaceAndChannelsStaySeparate)
{
    std::vector<float> data = decodeFile(musicFixture("sine86-full.mp3").c_str()).samples;
    // A full-scale sine: mean |x| is 2/pi, and its peak is near 1 (float, not clipped 16-bit).
    const size_t frames = data.size();
    EXPECT_NEAR(2.0 / M_PI, level(data, 1, 0, frames / 4, 3 * frames / 4), 0.03);
    float peak = 0.0f;
    for (float v : data)
        peak = std::max(peak, std::fabs(v));
    EXPECT_NEAR(1.0, peak, 0.06);

    // The gapless tag removed the encoder delay: the tone starts at 1.0 s, not later.
    data = decodeFile(musicFixture("late-tone.mp3").c_str()).samples;
    EXPECT_LT(level(data, 1, 0, 22050, 44100 - 600), 0.001);
    EXPECT_GT(level(data, 1, 0, 44100 + 600, 44100 + 4410), 0.4);

    // Stereo: left 1 kHz and right 86 Hz at 0.5 each; zero crossings tell them apart.
    const DecodedSound stereo = decodeFile(musicFixture("sine1k-stereo.mp3").c_str());
    ASSERT_EQ(2, stereo.channels);
    data = stereo.samples;
    int crossings[2] = {0, 0};
    for (size_t f = 1; f < 44100; ++f)
        for (int c = 0; c < 2; ++c)
            if ((data[(f - 1) * 2 + c] < 0) != (data[f * 2 + c] < 0))
                ++crossings[c];
    EXPECT_NEAR(2000, crossings[0], 20);
    EXPECT_NEAR(172, crossings[1], 6);
}

// The single cases (missing, empty, text, directory) go through Music::load in
// MusicBadFileTest; here the decoder meets many random files and two cut points.
TEST(DecodeFile, RefusesRandomBytesAndCutFiles)
{
    EXPECT_THROW(decodeFile(nullptr), SoundError);

    std::mt19937 random(1234);
    for (int round = 0; round < 5; ++round) {
        std::vector<char> noise(64 * 1024);
        for (char& c : noise)
            c = static_cast<char>(random() & 0xff);
        const std::string path = scratch("random.mp3");
        writeBytes(path, noise);
        EXPECT_NE(SoundError::REASON_COUNT, failure(path)) << "random bytes, round " << round;
    }

    // Neither a FIFO (which would block an ordinary open) nor a PCM WAV file.
    const std::string fifo = scratch("fifo.mp3");
    ::unlink(fifo.c_str());
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0644));
    EXPECT_EQ(SoundError::FILE_NOT_FOUND, failure(fifo));
    writeBytes(scratch("pcm.wav"), noiseWave(3277, 3));
    EXPECT_EQ(SoundError::FILE_BAD, failure(scratch("pcm.wav")));

    // Cut in the middle of a frame, and at half the file.
    const std::vector<char> whole = readBytes(musicFixture("late-tone.mp3"));
    ASSERT_GT(whole.size(), 10000u);
    for (size_t keep : {whole.size() / 2 + 77, whole.size() - 500}) {
        const std::string cut = scratch("truncated.mp3");
        writeBytes(cut, std::vector<char>(whole.begin(), whole.begin() + static_cast<long>(keep)));
        EXPECT_EQ(SoundError::FILE_TRUNCATED, failure(cut))
            << "kept " << keep << " of " << whole.size();
    }
}
