// SoundResult: the message table at its fixed points and for every code the layer returns.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Music/SoundResult.h"

TEST(SoundResult, FixedMessagesAtTheEdgesOfTheTable)
{
    EXPECT_STREQ("No errors.", SoundResult::errorString(0));
    EXPECT_STREQ("Unknown error.", SoundResult::errorString(98));
    EXPECT_STREQ("Unknown error.", SoundResult::errorString(99));
    EXPECT_STREQ("Unknown error.", SoundResult::errorString(12345));
    EXPECT_STREQ("Unknown error.", SoundResult::errorString(-1));
    // Reserved for the layer but never returned.
    EXPECT_STREQ("Unknown error.", SoundResult::errorString(SoundResult::LastKnown + 1));
    EXPECT_STREQ("Unknown error.", SoundResult::errorString(97));
}

TEST(SoundResult, EveryReturnedCodeHasItsOwnOneLineMessage)
{
    std::set<std::string> seen;
    for (int code = 1; code <= SoundResult::LastKnown; ++code) {
        const std::string message = SoundResult::errorString(code);
        EXPECT_NE("Unknown error.", message) << "code " << code;
        EXPECT_NE("No errors.", message) << "code " << code;
        EXPECT_EQ(std::string::npos, message.find('\n')) << "code " << code;
        EXPECT_TRUE(seen.insert(message).second)
            << "code " << code << " repeats \"" << message << "\"";
    }
    EXPECT_STREQ("The sound file does not exist or cannot be opened.",
                 SoundResult::errorString(SoundResult::FileNotFound));
}
