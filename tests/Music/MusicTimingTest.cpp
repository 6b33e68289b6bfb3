// Music timing: on a clock set by hand (no audio device) the position runs with the
// clock exactly, pause holds it, play resumes the same channel, setPosition moves it,
// the spectrum window follows it and the end of the sound stops the channel. Under
// SDL's dummy driver the same position follows the steady clock, which the test
// reads on both sides of each query instead of allowing a tolerance.
#include <gtest/gtest.h>

#include <string>

#include "Music/Music.h"
#include "MusicFixtures.h"
#include "MusicTestSupport.h"

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

namespace {

const unsigned int START = 5000;  // the clock when the player starts (ms)

class MusicTiming : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_music.setClock(START);
        ASSERT_TRUE(m_music.init());
        ASSERT_TRUE(m_music.load(musicFixture("late-tone.mp3").c_str()));  // 3 s, 1 kHz from 1.0 s
    }
    // Moves the clock to `ms` after START.
    void at(unsigned int ms) { m_music.setClock(START + ms); }

    Music m_music;
};

}  // namespace

TEST_F(MusicTiming, PositionAdvancesWithTheClock)
{
    m_music.play();
    EXPECT_EQ(0u, m_music.getPosition());
    at(1);
    EXPECT_EQ(1u, m_music.getPosition());
    at(2000);
    EXPECT_EQ(2000u, m_music.getPosition());
    at(2015);
    EXPECT_EQ(2015u, m_music.getPosition());
}

TEST_F(MusicTiming, PauseHoldsThePositionAndPlayResumesTheSameChannel)
{
    m_music.play();
    m_music.setPosition(1200);
    at(200);
    m_music.pause();
    EXPECT_EQ(1400u, m_music.getPosition());
    EXPECT_TRUE(allZero(spectrumOf(m_music)));
    at(500);
    EXPECT_EQ(1400u, m_music.getPosition());

    // Resuming continues from the held position; a new channel would start at 0.
    m_music.play();
    at(600);
    EXPECT_EQ(1500u, m_music.getPosition());
    EXPECT_GT(spectrumOf(m_music)[23], 0.6);
}

TEST_F(MusicTiming, SpectrumWindowFollowsThePosition)
{
    m_music.play();
    m_music.setPosition(900);
    EXPECT_EQ(900u, m_music.getPosition());
    EXPECT_LT(spectrumOf(m_music)[23], 0.02);  // the tone starts at 1.0 s: not yet heard
    m_music.setPosition(1100);
    EXPECT_EQ(1100u, m_music.getPosition());
    EXPECT_GT(spectrumOf(m_music)[23], 0.6);
    // Back again: the window moves back with the position.
    m_music.setPosition(500);
    EXPECT_LT(spectrumOf(m_music)[23], 0.02);
    // Running into the tone with the clock: the 1024 frames before 0.99 s hold none
    // of it, those before 1.05 s hold it whole.
    m_music.setPosition(950);
    at(40);
    EXPECT_LT(spectrumOf(m_music)[23], 0.02);
    at(100);
    EXPECT_GT(spectrumOf(m_music)[23], 0.6);
}

TEST_F(MusicTiming, TheEndStopsTheChannelAndPlayStartsOver)
{
    m_music.play();
    m_music.setPosition(2900);
    at(99);
    EXPECT_EQ(2999u, m_music.getPosition());
    at(101);
    // Played once (no looping, even though play asks for endless repeats).
    EXPECT_TRUE(allZero(spectrumOf(m_music)));
    CaptureStderr();
    EXPECT_EQ(0u, m_music.getPosition());
    EXPECT_EQ(1u, linesOf(GetCapturedStderr()).size());

    m_music.play();
    EXPECT_EQ(0u, m_music.getPosition());
    m_music.stop();
    EXPECT_TRUE(allZero(spectrumOf(m_music)));
}

TEST(MusicClock, ClockMovesOnlyForwardAndOnlyWithoutADevice)
{
    Music manual;
    manual.setClock(100);
    ASSERT_TRUE(manual.init());
    CaptureStderr();
    manual.setClock(99);
    EXPECT_EQ(1u, linesOf(GetCapturedStderr()).size());

    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    Music withDevice;
    ASSERT_TRUE(withDevice.init());
    CaptureStderr();
    withDevice.setClock(1000);
    EXPECT_EQ(lineOf(SoundError::CLOCK_NOT_SETTABLE), GetCapturedStderr());
}

TEST(MusicDummyDriver, PositionFollowsTheSteadyClock)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    Music music;
    ASSERT_TRUE(music.init());
    ASSERT_TRUE(music.load(musicFixture("late-tone.mp3").c_str()));
    const double beforePlay = nowMs();
    music.play();
    const double afterPlay = nowMs();
    for (int round = 0; round < 3; ++round) {
        sleepMs(300);
        const double before = nowMs();
        const double position = music.getPosition();
        const double after = nowMs();
        // Rounded down to whole milliseconds: up to 1 ms under the earliest bound.
        EXPECT_GE(position, before - afterPlay - 1.0);
        EXPECT_LE(position, after - beforePlay);
    }
}
