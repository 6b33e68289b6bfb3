// Sound layer output and looping: what the mixer hands the device (through SDL's
// disk driver, which writes the stream to a file), and loop counts on the clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Music/SoundChannel.h"
#include "Music/SoundResult.h"
#include "Music/SoundSample.h"
#include "Music/SoundSystem.h"
#include "MusicFixtures.h"
#include "MusicTestSupport.h"

namespace {

// Sets SDL_AUDIODRIVER (and more) for one test, restoring the old values.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        if (old)
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_had)
            ::setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }

private:
    std::string m_name;
    bool m_had;
    std::string m_old;
};

// Sign changes of one channel of interleaved 16-bit stereo over [from, to) frames.
int crossings(const std::vector<int16_t>& pcm, int channel, size_t from, size_t to)
{
    int n = 0;
    for (size_t f = from + 1; f < to; ++f)
        if ((pcm[(f - 1) * 2 + channel] < 0) != (pcm[f * 2 + channel] < 0))
            ++n;
    return n;
}

std::vector<int16_t> playToFile(const char* fixture, const std::string& path)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", path);
    SoundSystem* system = nullptr;
    EXPECT_EQ(SoundResult::Ok, SoundSystem::create(&system));
    EXPECT_EQ(SoundResult::Ok, system->init(4, SoundSystem::InitNormal));
    SoundSample* sound = nullptr;
    EXPECT_EQ(SoundResult::Ok, system->createStream(musicFixture(fixture).c_str(), SoundSystem::ModeLoopOff, &sound));
    SoundChannel* channel = nullptr;
    EXPECT_EQ(SoundResult::Ok, system->playSound(SoundSystem::ChannelFree, sound, false, &channel));
    const double start = nowMs();
    sleepMs(500);
    unsigned int position = 0;
    EXPECT_EQ(SoundResult::Ok, channel->getPosition(&position, SoundSystem::TimeUnitMs));
    // A real device's position: handed-over frames less what the device holds.
    EXPECT_NEAR(nowMs() - start, position, 60.0);
    sleepMs(900);
    system->close();
    system->release();

    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> pcm(bytes.size() / 2);
    std::memcpy(pcm.data(), bytes.data(), pcm.size() * 2);
    return pcm;
}

}  // namespace

TEST(SoundOutput, MixerResamplesAndMapsChannelsToStereo)
{
    // 48 kHz stereo (440 Hz left, 660 Hz right, peak 0.5) out at 44.1 kHz.
    const auto stereo = playToFile("tone48k-stereo.mp3", std::string(DEDOZ_BINARY_DIR) + "/fixtures/music/out-stereo.raw");
    ASSERT_GT(stereo.size(), 2u * 44100);
    // One second from 0.1 s: 2 crossings per cycle.
    EXPECT_NEAR(880, crossings(stereo, 0, 4410, 48510), 4);
    EXPECT_NEAR(1320, crossings(stereo, 1, 4410, 48510), 4);
    int16_t peak = 0;
    for (size_t i = 0; i < 2 * 48510; ++i)
        peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(stereo[i])));
    EXPECT_NEAR(0.5 * 32767, peak, 0.02 * 32767);
    // The 1.25 s sound ends and the output falls silent.
    const size_t frames = stereo.size() / 2;
    ASSERT_GT(frames, 60000u);  // 1.4 s were recorded
    EXPECT_EQ(0, crossings(stereo, 0, 57000, frames));

    // Mono goes to both sides.
    const auto mono = playToFile("tone48k-mono.mp3", std::string(DEDOZ_BINARY_DIR) + "/fixtures/music/out-mono.raw");
    ASSERT_GT(mono.size(), 2u * 44100);
    for (size_t f = 0; f < 44100; ++f)
        ASSERT_EQ(mono[2 * f], mono[2 * f + 1]) << "frame " << f;
    EXPECT_NEAR(880, crossings(mono, 0, 4410, 48510), 4);
}

TEST(SoundOutput, LoopCountRepeatsOnlySoundsOpenedWithLooping)
{
    SoundSystem* system = nullptr;
    ASSERT_EQ(SoundResult::Ok, SoundSystem::create(&system));
    ASSERT_EQ(SoundResult::Ok, system->init(2, SoundSystem::InitNormal));
    SoundSample* looping = nullptr;
    ASSERT_EQ(SoundResult::Ok,
              system->createStream(musicFixture("tone22k-stereo.mp3").c_str(), SoundSystem::ModeLoopNormal, &looping));
    unsigned int length = 0;
    ASSERT_EQ(SoundResult::Ok, looping->getLength(&length, SoundSystem::TimeUnitMs));
    ASSERT_NEAR(750.0, length, 30.0);

    SoundChannel* channel = nullptr;
    ASSERT_EQ(SoundResult::Ok, system->playSound(SoundSystem::ChannelFree, looping, false, &channel));
    ASSERT_EQ(SoundResult::Ok, channel->setLoopCount(1));  // once more after the first pass
    ASSERT_EQ(SoundResult::Ok, channel->setPosition(length - 50, SoundSystem::TimeUnitMs));
    const double moved = nowMs();
    sleepMs(150);
    unsigned int position = 0;
    ASSERT_EQ(SoundResult::Ok, channel->getPosition(&position, SoundSystem::TimeUnitMs));
    const double expected = nowMs() - moved - 50.0;
    ASSERT_LT(expected, length - 100.0) << "held up too long to see the wrap";
    EXPECT_NEAR(expected, position, 30.0);  // wrapped to the start
    ASSERT_EQ(SoundResult::Ok, channel->setPosition(length - 50, SoundSystem::TimeUnitMs));
    sleepMs(150);
    EXPECT_EQ(SoundResult::ChannelStopped, channel->getPosition(&position, SoundSystem::TimeUnitMs));

    // Forever, and a second channel of the same sound beside it.
    SoundChannel* forever = nullptr;
    ASSERT_EQ(SoundResult::Ok, system->playSound(SoundSystem::ChannelFree, looping, false, &forever));
    ASSERT_EQ(SoundResult::Ok, forever->setLoopCount(-1));
    SoundChannel* second = nullptr;
    ASSERT_EQ(SoundResult::Ok, system->playSound(SoundSystem::ChannelFree, looping, true, &second));
    EXPECT_NE(forever, second);
    SoundChannel* none = nullptr;
    EXPECT_EQ(SoundResult::NoFreeChannel, system->playSound(SoundSystem::ChannelFree, looping, false, &none));
    EXPECT_EQ(nullptr, none);
    ASSERT_EQ(SoundResult::Ok, forever->setPosition(length - 20, SoundSystem::TimeUnitMs));
    sleepMs(1000);
    EXPECT_EQ(SoundResult::Ok, forever->getPosition(&position, SoundSystem::TimeUnitMs));
    bool paused = false;
    EXPECT_EQ(SoundResult::Ok, second->getPaused(&paused));
    EXPECT_TRUE(paused);

    // Without looping the loop count changes nothing: the sound plays once.
    SoundSample* once = nullptr;
    ASSERT_EQ(SoundResult::Ok,
              system->createStream(musicFixture("tone22k-stereo.mp3").c_str(), SoundSystem::ModeLoopOff, &once));
    EXPECT_EQ(SoundResult::Ok, second->stop());
    ASSERT_EQ(SoundResult::Ok, system->playSound(SoundSystem::ChannelFree, once, false, &channel));
    EXPECT_EQ(SoundResult::Ok, channel->setLoopCount(-1));
    ASSERT_EQ(SoundResult::Ok, channel->setPosition(length - 50, SoundSystem::TimeUnitMs));
    sleepMs(150);
    EXPECT_EQ(SoundResult::ChannelStopped, channel->getPosition(&position, SoundSystem::TimeUnitMs));

    // Releasing a sound stops the channels that play it.
    EXPECT_EQ(SoundResult::Ok, looping->release());
    EXPECT_EQ(SoundResult::ChannelStopped, forever->getPaused(&paused));
    // Bad arguments.
    EXPECT_EQ(SoundResult::InvalidParam, system->createStream(musicFixture("silence.mp3").c_str(),
                                                              SoundSystem::ModeLoopOff | SoundSystem::ModeLoopNormal, &once));
    EXPECT_EQ(nullptr, once);
    EXPECT_EQ(SoundResult::InvalidHandle, system->playSound(SoundSystem::ChannelFree, nullptr, false, &channel));
    system->close();
    system->release();
}
