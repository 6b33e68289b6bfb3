// Music with files that cannot be played: one error line each, nothing leaks,
// crashes or waits, and play and the spectrum still run afterwards, giving zeros.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "Music/Music.h"
#include "MusicFixtures.h"
#include "MusicTestSupport.h"

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

namespace {

std::string scratch(const char* name)
{
    return std::string(DEDOZ_BINARY_DIR) + "/fixtures/music/bad-" + name;
}

void writeBytes(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct BadFile {
    std::string path;
    SoundError::Reason reason;
};

std::vector<BadFile> makeBadFiles()
{
    std::vector<BadFile> files;
    files.push_back({scratch("missing.mp3"), SoundError::FILE_NOT_FOUND});

    files.push_back({scratch("empty.mp3"), SoundError::FILE_EMPTY});
    writeBytes(files.back().path, {});

    std::ifstream in(musicFixture("late-tone.mp3"), std::ios::binary);
    std::vector<char> whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Cut at a third, and by its last 10 bytes (half a frame): found at load by
    // counting the frames, without decoding the file to its end.
    files.push_back({scratch("truncated-end.mp3"), SoundError::FILE_TRUNCATED});
    writeBytes(files.back().path, std::vector<char>(whole.begin(), whole.end() - 10));
    whole.resize(whole.size() / 3);
    files.push_back({scratch("truncated.mp3"), SoundError::FILE_TRUNCATED});
    writeBytes(files.back().path, whole);

    std::mt19937 random(99);
    std::vector<char> noise(32 * 1024);
    for (char& c : noise)
        c = static_cast<char>(random() & 0xff);
    files.push_back({scratch("random.mp3"), SoundError::FILE_BAD});
    writeBytes(files.back().path, noise);

    const std::string text = "Not music at all, only words in a file called .mp3\n";
    files.push_back({scratch("text.mp3"), SoundError::FILE_BAD});
    writeBytes(files.back().path, std::vector<char>(text.begin(), text.end()));

    files.push_back({scratch("directory.mp3"), SoundError::FILE_IS_DIRECTORY});
    ::mkdir(files.back().path.c_str(), 0755);

    // Opening a FIFO for reading waits for a writer: the load must not.
    files.push_back({scratch("fifo.mp3"), SoundError::FILE_NOT_FOUND});
    ::unlink(files.back().path.c_str());
    EXPECT_EQ(0, ::mkfifo(files.back().path.c_str(), 0644));

    files.push_back({scratch("noise-wav.mp3"), SoundError::FILE_BAD});
    writeBytes(files.back().path, noiseWave(3277, 3));
    files.push_back({scratch("noise-wav-2.mp3"), SoundError::FILE_BAD});
    writeBytes(files.back().path, noiseWave(1000, 1));
    return files;
}

}  // namespace

TEST(MusicBadFile, EachFailsWithOneLineAndPlaybackStillRunsSilently)
{
    for (const BadFile& bad : makeBadFiles()) {
        SCOPED_TRACE(bad.path);
        Music music;
        ASSERT_TRUE(music.init());
        CaptureStderr();
        EXPECT_FALSE(music.load(bad.path.c_str()));
        EXPECT_EQ(lineOf(bad.reason), GetCapturedStderr());

        CaptureStderr();
        music.play();
        EXPECT_TRUE(allZero(spectrumOf(music)));
        music.update();
        music.pause();
        music.play();
        EXPECT_TRUE(allZero(spectrumOf(music)));
        music.stop();
        EXPECT_EQ("", GetCapturedStderr());
    }
}

TEST(MusicBadFile, LoadingAgainReplacesTheSoundAndSilencesItsChannel)
{
    Music music;
    ASSERT_TRUE(music.init());
    ASSERT_TRUE(music.load(musicFixture("sine86-full.mp3").c_str()));
    music.play();
    music.setPosition(500);
    EXPECT_GT(spectrumOf(music)[2], 0.9);

    // A failed load still releases the previous sound: its channel falls silent.
    CaptureStderr();
    EXPECT_FALSE(music.load(scratch("missing-too.mp3").c_str()));
    EXPECT_EQ(1u, linesOf(GetCapturedStderr()).size());
    EXPECT_TRUE(allZero(spectrumOf(music)));

    ASSERT_TRUE(music.load(musicFixture("sine1k-stereo.mp3").c_str()));
    music.play();
    music.setPosition(500);
    const auto s = spectrumOf(music);
    EXPECT_GT(s[23], 0.4);
    EXPECT_LT(s[2], 0.02);
}

// MPEG audio inside a WAV file (format tag 0x55) is still MPEG audio.
TEST(MusicBadFile, WavFileWrappingMpegAudioPlays)
{
    std::ifstream in(musicFixture("sine86-full.mp3"), std::ios::binary);
    const std::vector<char> mp3((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
    std::vector<char> wave = waveHeader(0x55, 1, 44100, static_cast<uint32_t>(mp3.size()));
    wave.insert(wave.end(), mp3.begin(), mp3.end());
    writeBytes(scratch("wrapped.wav"), wave);

    Music music;
    music.setClock(0);
    ASSERT_TRUE(music.init());
    ASSERT_TRUE(music.load(scratch("wrapped.wav").c_str()));
    music.play();
    music.setPosition(500);
    EXPECT_GT(spectrumOf(music)[2], 0.9);
}
