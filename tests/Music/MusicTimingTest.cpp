// Music timing under the dummy driver: the position runs with the clock, pause
// holds it, play resumes the same channel, setPosition moves it, the spectrum
// window follows it, and the end of the sound stops the channel.
#include <gtest/gtest.h>

#include "Music/Music.h"
#include "MusicFixtures.h"
#include "MusicTestSupport.h"

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

namespace {

class MusicTiming : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_music.init());
        ASSERT_TRUE(m_music.load(musicFixture("late-tone.mp3").c_str()));  // 3 s, 1 kHz from 1.0 s
    }
    Music m_music;
};

}  // namespace

TEST_F(MusicTiming, PositionAdvancesWithTheClock)
{
    m_music.play();
    const double start = nowMs();
    const unsigned int first = m_music.getPosition();
    EXPECT_LT(first, 30u);
    sleepMs(2000);
    const unsigned int second = m_music.getPosition();
    const double elapsed = nowMs() - start;
    EXPECT_NEAR(elapsed, static_cast<double>(second - first), 30.0);
}

TEST_F(MusicTiming, PauseHoldsThePositionAndPlayResumesTheSameChannel)
{
    m_music.play();
    m_music.setPosition(1200);
    const double moved = nowMs();
    sleepMs(200);
    m_music.pause();
    const double paused = nowMs();
    const unsigned int held = m_music.getPosition();
    EXPECT_NEAR(1200.0 + (paused - moved), held, 30.0);
    EXPECT_TRUE(allZero(spectrumOf(m_music)));
    sleepMs(300);
    EXPECT_EQ(held, m_music.getPosition());

    // Resuming continues from the held position; a new channel would start at 0.
    m_music.play();
    const double resumed = nowMs();
    sleepMs(100);
    EXPECT_NEAR(held + (nowMs() - resumed), m_music.getPosition(), 30.0);
    EXPECT_GT(spectrumOf(m_music)[23], 0.6);
}

TEST_F(MusicTiming, SpectrumWindowFollowsThePosition)
{
    m_music.play();
    m_music.setPosition(900);
    EXPECT_NEAR(900.0, m_music.getPosition(), 15.0);
    EXPECT_LT(spectrumOf(m_music)[23], 0.02);  // the tone starts at 1.0 s: not yet heard
    m_music.setPosition(1100);
    EXPECT_NEAR(1100.0, m_music.getPosition(), 15.0);
    EXPECT_GT(spectrumOf(m_music)[23], 0.6);
    // Back again: the window moves back with the position.
    m_music.setPosition(500);
    EXPECT_LT(spectrumOf(m_music)[23], 0.02);
    // Running into the tone by itself.
    m_music.setPosition(950);
    sleepMs(150);
    EXPECT_GT(spectrumOf(m_music)[23], 0.6);
}

TEST_F(MusicTiming, TheEndStopsTheChannelAndPlayStartsOver)
{
    m_music.play();
    m_music.setPosition(2900);
    sleepMs(250);
    // Played once (no looping, even though play asks for endless repeats).
    EXPECT_TRUE(allZero(spectrumOf(m_music)));
    CaptureStderr();
    EXPECT_EQ(0u, m_music.getPosition());
    EXPECT_EQ(1u, linesOf(GetCapturedStderr()).size());

    m_music.play();
    EXPECT_LT(m_music.getPosition(), 30u);
    m_music.stop();
    EXPECT_TRUE(allZero(spectrumOf(m_music)));
}
