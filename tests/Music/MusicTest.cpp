// Music: log lines, what the spectrum of a playing MP3 reads, queries and their
// failures, and the start of the audio output (dummy fallback, quiet probing).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Music/Music.h"
#include "MusicFixtures.h"
#include "MusicTestSupport.h"

using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

namespace {

// Starts fixture `file` and moves to `ms`: the window then lies well inside the tone.
// On a clock set by hand it lies exactly there: a tone's leakage into the far bands
// depends on its phase in the window (0.037 to 0.053 in band 5 for sine86-full).
void startAt(Music& music, const char* file, unsigned int ms)
{
    music.setClock(0);
    ASSERT_TRUE(music.init());
    ASSERT_TRUE(music.load(musicFixture(file).c_str()));
    music.play();
    music.setPosition(ms);
}

}  // namespace

TEST(Music, LogsCreationAndDeletionAndReportsNothingWhenAllGoesWell)
{
    CaptureStdout();
    CaptureStderr();
    {
        Music music;
        EXPECT_TRUE(music.init());
        EXPECT_TRUE(music.load(musicFixture("silence.mp3").c_str()));
        music.play();
        music.update();
        spectrumOf(music);
        music.stop();
    }
    const std::string err = GetCapturedStderr();
    EXPECT_EQ("Music created\nMusic deleted\n", GetCapturedStdout());
    EXPECT_EQ("", err);
}

TEST(Music, SpectrumOfPlayingTonesMatchesTheirLevelAndBand)
{
    {
        Music music;
        startAt(music, "sine86-full.mp3", 500);
        const auto s = spectrumOf(music);
        EXPECT_NEAR(1.0, s[2], 0.05);  // full scale at the centre of band 2 (86.13 Hz)
        for (int i = 4; i < 512; ++i)
            EXPECT_LT(s[i], 0.05) << "band " << i;
    }
    {
        Music music;
        startAt(music, "sine86-half.mp3", 700);
        EXPECT_NEAR(0.5, spectrumOf(music)[2], 0.025);
    }
    {
        // Offset 0 reads the left channel: 1 kHz there (band 23), 86 Hz on the right.
        Music music;
        startAt(music, "sine1k-stereo.mp3", 600);
        const auto s = spectrumOf(music);
        EXPECT_GT(s[23], 0.4);
        EXPECT_LT(s[2], 0.02);
        EXPECT_EQ(23, std::max_element(s.begin(), s.end()) - s.begin());
    }
    {
        Music music;
        startAt(music, "silence.mp3", 400);
        EXPECT_LT(loudest(spectrumOf(music)), 0.001);
    }
}

TEST(Music, LengthNameAndPositionQueries)
{
    Music music;
    music.setClock(0);  // no device: positions are exact
    ASSERT_TRUE(music.init());
    ASSERT_TRUE(music.load(musicFixture("tone48k-stereo.mp3").c_str()));
    EXPECT_NEAR(1250.0, music.getLength(), 25.0);
    EXPECT_STREQ("tone48k-stereo.mp3", music.getName().get());

    // Before the first play there is no channel: one error line and 0.
    CaptureStderr();
    EXPECT_EQ(0u, music.getPosition());
    EXPECT_EQ(1u, linesOf(GetCapturedStderr()).size());

    music.play();
    music.setPosition(1000);
    EXPECT_EQ(1000u, music.getPosition());
    // Past the end: refused with one line, the position stays.
    CaptureStderr();
    music.setPosition(5000);
    EXPECT_EQ(lineOf(SoundError::INVALID_POSITION), GetCapturedStderr());
    EXPECT_EQ(1000u, music.getPosition());
}

TEST(Music, CallsWithoutInitOrSoundFailQuietlyOrWithOneLine)
{
    Music music;
    // No system: play, spectrum, stop, pause and update run and report nothing.
    CaptureStderr();
    music.play();
    EXPECT_TRUE(allZero(spectrumOf(music)));
    music.pause();
    music.stop();
    music.update();
    EXPECT_EQ("", GetCapturedStderr());

    CaptureStderr();
    EXPECT_FALSE(music.load(musicFixture("silence.mp3").c_str()));
    EXPECT_EQ(0u, music.getLength());
    EXPECT_STREQ("", music.getName().get());
    EXPECT_EQ(3u, linesOf(GetCapturedStderr()).size());

    ASSERT_TRUE(music.init());
    // A second init keeps the working system and says so.
    CaptureStderr();
    EXPECT_FALSE(music.init());
    EXPECT_EQ(lineOf(SoundError::ALREADY_INITIALISED), GetCapturedStderr());
    ASSERT_TRUE(music.load(musicFixture("sine86-full.mp3").c_str()));
    music.play();
    music.setPosition(500);
    EXPECT_GT(spectrumOf(music)[2], 0.9);
}

TEST(Music, AudioOutputFallsBackToTheDummyDriverWithOneLine)
{
    // An unknown driver name stands for a machine without a usable device; ALSA
    // asked for a card that does not exist also prints its own noise, which must
    // not reach the user.
    const std::string keep = std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "";
    const char* drivers[] = {"no-such-driver", "alsa"};
    ::setenv("AUDIODEV", "hw:97,0", 1);
    for (const char* driver : drivers) {
        SCOPED_TRACE(driver);
        ::setenv("SDL_AUDIODRIVER", driver, 1);
        CaptureStderr();
        Music music;
        const bool ok = music.init();
        const std::string err = GetCapturedStderr();
        ASSERT_TRUE(ok) << err;
        const auto lines = linesOf(err);
        ASSERT_EQ(1u, lines.size()) << err;
        EXPECT_NE(std::string::npos, lines[0].find("dummy audio driver")) << lines[0];
        EXPECT_EQ(std::string::npos, err.find("ALSA lib")) << err;
        // The driver variable is left as it was.
        EXPECT_STREQ(driver, std::getenv("SDL_AUDIODRIVER"));

        // Playback goes on with the steady clock, read on both sides of each call.
        ASSERT_TRUE(music.load(musicFixture("sine86-full.mp3").c_str()));
        const double beforePlay = nowMs();
        music.play();
        const double afterPlay = nowMs();
        sleepMs(150);
        const double before = nowMs();
        const double position = music.getPosition();
        const double after = nowMs();
        EXPECT_GE(position, before - afterPlay - 1.0);  // rounded down to whole ms
        EXPECT_LE(position, after - beforePlay);
        EXPECT_GT(spectrumOf(music)[2], 0.9);
    }
    ::unsetenv("AUDIODEV");
    if (keep.empty())
        ::unsetenv("SDL_AUDIODRIVER");
    else
        ::setenv("SDL_AUDIODRIVER", keep.c_str(), 1);
}

TEST(Music, OnlyOnePlayerHoldsTheAudioOutputAtATime)
{
    Music first;
    ASSERT_TRUE(first.init());
    {
        Music second;
        CaptureStderr();
        EXPECT_FALSE(second.init());
        EXPECT_EQ(lineOf(SoundError::DEVICE_IN_USE), GetCapturedStderr());
    }
    // The refused player took nothing from the first one.
    ASSERT_TRUE(first.load(musicFixture("sine86-full.mp3").c_str()));
    first.play();
    first.setPosition(300);
    EXPECT_GT(spectrumOf(first)[2], 0.9);
}
