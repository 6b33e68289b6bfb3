// Helpers of the sound layer tests: a whole-file decode to compare streams with,
// streams opened on fixtures, and a sound system that is released however a test
// ends (its threads stop with it).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Music/SoundDecoder.h"
#include "Music/SoundFile.h"
#include "Music/SoundResult.h"
#include "Music/SoundStream.h"
#include "Music/SoundSystem.h"
#include "MusicFixtures.h"

struct Decoded {
    std::vector<float> samples;  // interleaved
    int channels = 0;
    int rate = 0;
    int64_t frames() const
    {
        return channels ? static_cast<int64_t>(samples.size()) / channels : 0;
    }
};

inline Decoded decodeWhole(const char* fixture)
{
    Decoded d;
    EXPECT_EQ(SoundResult::Ok, SoundDecoder::decodeFile(musicFixture(fixture).c_str(), d.samples,
                                                        d.channels, d.rate));
    return d;
}

// A stream of the fixture, restarted at its first frame; loops as asked.
inline std::shared_ptr<SoundStream> openStream(const char* fixture, int64_t length, bool loops,
                                               std::mutex& shared)
{
    std::unique_ptr<SoundFile> file;
    EXPECT_EQ(SoundResult::Ok, SoundFile::open(musicFixture(fixture).c_str(), &file));
    auto stream = std::make_shared<SoundStream>(std::shared_ptr<const SoundFile>(std::move(file)),
                                                length, loops, shared);
    EXPECT_TRUE(stream->isOpen());
    EXPECT_EQ(SoundResult::Ok, stream->restart(0));
    return stream;
}

struct SystemRelease {
    void operator()(SoundSystem* system) const { system->release(); }
};
using SystemPtr = std::unique_ptr<SoundSystem, SystemRelease>;

// An initialised system with `channels` channels (flags: SoundSystem::Init*).
inline SystemPtr startSystem(int channels, unsigned int flags)
{
    SoundSystem* created = nullptr;
    EXPECT_EQ(SoundResult::Ok, SoundSystem::create(&created));
    SystemPtr system(created);
    if (system) {
        EXPECT_EQ(SoundResult::Ok, system->init(channels, flags));
    }
    return system;
}
