// Helpers of the sound layer tests: a whole-file decode to compare streams with, and
// streams opened on fixtures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <mutex>

#include "Music/MpegReader.h"
#include "Music/SoundStream.h"
#include "MusicFixtures.h"

struct Decoded : DecodedSound {
    int64_t frames() const
    {
        return channels ? static_cast<int64_t>(samples.size()) / channels : 0;
    }
};

inline Decoded decodeWhole(const char* fixture)
{
    Decoded d;
    EXPECT_NO_THROW(static_cast<DecodedSound&>(d) = decodeFile(musicFixture(fixture).c_str()));
    return d;
}

// A stream of the fixture, restarted at its first frame.
inline std::shared_ptr<SoundStream> openStream(const char* fixture, int64_t length,
                                               std::mutex& shared)
{
    auto file = std::make_shared<const SoundFile>(musicFixture(fixture).c_str());
    auto stream = std::make_shared<SoundStream>(file, length, shared);
    stream->restart(0);
    return stream;
}
