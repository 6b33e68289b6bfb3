// SoundError: every failure has its own one-line message, and the lines that reach
// the demo's users keep their words.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Music/SoundError.h"

TEST(SoundError, EveryReasonHasItsOwnOneLineMessage)
{
    std::set<std::string> seen;
    for (int reason = 0; reason < SoundError::REASON_COUNT; ++reason) {
        const std::string message = SoundError(static_cast<SoundError::Reason>(reason)).what();
        EXPECT_NE("Unknown sound error.", message) << "reason " << reason;
        EXPECT_NE("", message) << "reason " << reason;
        EXPECT_EQ(std::string::npos, message.find('\n')) << "reason " << reason;
        EXPECT_TRUE(seen.insert(message).second)
            << "reason " << reason << " repeats \"" << message << "\"";
    }
    EXPECT_STREQ("The sound file does not exist or cannot be opened.",
                 SoundError(SoundError::FILE_NOT_FOUND).what());
    EXPECT_STREQ("The sound file holds no MPEG audio that can be decoded.",
                 SoundError(SoundError::FILE_BAD).what());
    EXPECT_STREQ("The sound file is cut short: it ends before its announced length.",
                 SoundError(SoundError::FILE_TRUNCATED).what());
    EXPECT_STREQ("No audio output could be opened, not even the silent one.",
                 SoundError(SoundError::AUDIO_DEVICE).what());
}
