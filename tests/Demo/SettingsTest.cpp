// Settings: the file format, its edge cases, broken and hostile files, and the
// guarded conversion of values to ints.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <unistd.h>

#include "Demo/Settings.h"

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

class SettingsFile : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/dedoz-settings-XXXXXX";
        const int fd = mkstemp(pattern);
        ASSERT_GE(fd, 0);
        close(fd);
        m_path = pattern;
    }
    void TearDown() override { std::remove(m_path.c_str()); }

    const std::string& write(const std::string& content)
    {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out << content;
        return m_path;
    }

    std::string m_path;
};

}  // namespace

TEST_F(SettingsFile, MissingFileLogsAndDefaults)
{
    CaptureStderr();
    Settings settings("/nonexistent/dedoz/settings.ini");
    EXPECT_EQ("Fail to open the setting file\n", GetCapturedStderr());
    EXPECT_EQ(42.0f, settings.getFloat("seed", 42));
    EXPECT_EQ(640, settings.getInt("hres", 640, 1, 16384));
    EXPECT_EQ(0u, settings.size());
}

TEST_F(SettingsFile, PairsAndLookups)
{
    CaptureStderr();
    Settings settings(
        write("seed 7\nhres 800.9\n\tvres 600 vres 768\nSeed 9\nwide 6.4e2  deep 640.0\n"));
    EXPECT_EQ("", GetCapturedStderr());
    EXPECT_EQ(7, settings.getInt("seed", 42, INT_MIN, INT_MAX));
    EXPECT_EQ(800, settings.getInt("hres", 640, 1, 16384));  // truncated, not rounded
    EXPECT_EQ(768, settings.getInt("vres", 480, 1, 16384));  // the last one wins
    EXPECT_EQ(9.0f, settings.getFloat("Seed", 0));           // case-sensitive keys
    EXPECT_EQ(settings.getFloat("wide", 0), settings.getFloat("deep", 1));
    EXPECT_EQ(3.0f, settings.getFloat("absent", 3.0f));
    EXPECT_EQ(6u, settings.size());  // a lookup adds nothing
}

TEST_F(SettingsFile, EmptyAndBlankEndsAddNothing)
{
    EXPECT_EQ(0u, Settings(write("")).size());
    EXPECT_EQ(0u, Settings(write(" \n\t\n")).size());
    Settings trailing(write("seed 42\nhres 640\nvres 480\n\n  "));
    EXPECT_EQ(3u, trailing.size());
    EXPECT_EQ(480.0f, trailing.getFloat("vres", 0));
    Settings noNewline(write("vres 481"));
    EXPECT_EQ(481.0f, noNewline.getFloat("vres", 0));
}

TEST_F(SettingsFile, BrokenPairStopsReadingKeepingEarlierPairs)
{
    Settings word(write("seed 5\nhres wide\nvres 600\n"));
    EXPECT_EQ(5.0f, word.getFloat("seed", 0));
    EXPECT_EQ(640.0f, word.getFloat("hres", 640));  // the broken pair is dropped
    EXPECT_EQ(480.0f, word.getFloat("vres", 480));  // and everything after it
    EXPECT_EQ(1u, word.size());

    Settings lastKey(write("seed 5\nhres"));
    EXPECT_EQ(1u, lastKey.size());
    EXPECT_EQ(640.0f, lastKey.getFloat("hres", 640));

    // A section header or comment is a key whose "value" is not a number.
    Settings section(write("seed 3\n[video]\nhres 800\n"));
    EXPECT_EQ(1u, section.size());

    // Too large for a float: rejected by the extraction, never stored as inf.
    Settings huge(write("seed 3 hres 1e50 vres 600"));
    EXPECT_EQ(1u, huge.size());
    EXPECT_EQ(640.0f, huge.getFloat("hres", 640));

    // Words the C library would read as numbers are not numbers here.
    Settings nan(write("seed 3 hres nan vres inf"));
    EXPECT_EQ(1u, nan.size());
}

// A value that cannot be read ends the reading with one warning line that names
// the key and the text: the pairs before it stay, it and the rest are dropped.
TEST_F(SettingsFile, UnreadableValueIsReportedOnceAndEndsTheReading)
{
    const struct {
        std::string file, key, text;
    } cases[] = {
        {"seed 5\nhres\t1e309\nvres 600\n", "hres", "1e309"},  // beyond a float
        {"seed 5\nhres 0x280\nvres 600\n", "hres", "0x280"},   // read as 0 before
        {std::string("seed 5\nhres 6\0"
                     "40\nvres 600\n",
                     24),
         "hres", "6\\x0040"},
        {"seed 5\nhres 640px vres 600", "hres", "640px"},
        {"seed 5\nhres", "hres", ""},  // no value at all
        // UTF-16 with its byte-order mark: the very first pair cannot be read.
        {std::string("\xff\xfes\0e\0e\0d\0 \0"
                     "5\0\n\0",
                     16),
         "\\xff\\xfes\\x00e\\x00e\\x00d\\x00", "\\x005\\x00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CaptureStderr();
        Settings settings(write(c.file));
        EXPECT_EQ("Warning: setting '" + c.key + "': '" + c.text +
                      "' could not be read as a number; it and the rest of the file are ignored\n",
                  GetCapturedStderr());
        EXPECT_EQ(c.key == "hres" ? 1u : 0u, settings.size());
        EXPECT_EQ(640.0f, settings.getFloat("hres", 640));
        EXPECT_EQ(480.0f, settings.getFloat("vres", 480));
    }
}

TEST_F(SettingsFile, HostileFilesEndQuickly)
{
    std::mt19937 random(1234);
    std::string binary(64 * 1024, '\0');
    for (char& c : binary)
        c = static_cast<char>(random() & 0xFF);
    Settings settingsOfNoise(write(binary));  // returns: no hang, no crash
    for (const char* key : {"seed", "hres", "vres"})
        EXPECT_TRUE(std::isfinite(settingsOfNoise.getFloat(key, 1.0f)));

    // 10 MB of pairs: every pair is read, up to the last one.
    std::string big;
    big.reserve(10u << 20);
    while (big.size() < (10u << 20))
        big += "filler 1.5\n";
    big += "hres 1024\n";
    Settings large(write(big));
    EXPECT_EQ(1024.0f, large.getFloat("hres", 640));
    EXPECT_EQ(2u, large.size());

    // 10 MB without any white space: one key and no value.
    Settings token(write(std::string(10u << 20, 'k')));
    EXPECT_EQ(0u, token.size());
}

TEST(SettingsConversion, OnlyRepresentableValuesBecomeInts)
{
    int out = 7;
    EXPECT_TRUE(Settings::truncateInRange(800.9f, 1, 16384, out));
    EXPECT_EQ(800, out);
    EXPECT_TRUE(Settings::truncateInRange(-3.7f, INT_MIN, INT_MAX, out));
    EXPECT_EQ(-3, out);  // toward zero
    EXPECT_TRUE(Settings::truncateInRange(16384.5f, 1, 16384, out));
    EXPECT_EQ(16384, out);
    EXPECT_TRUE(Settings::truncateInRange(-2147483648.0f, INT_MIN, INT_MAX, out));
    EXPECT_EQ(INT_MIN, out);
    EXPECT_TRUE(Settings::truncateInRange(2147483520.0f, INT_MIN, INT_MAX, out));  // below 2^31
    EXPECT_EQ(2147483520, out);

    out = 7;
    const float rejected[] = {2147483648.0f,
                              -2147483904.0f,
                              1e30f,
                              -1e30f,
                              std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              FLT_MAX};
    for (float value : rejected) {
        EXPECT_FALSE(Settings::truncateInRange(value, INT_MIN, INT_MAX, out)) << value;
        EXPECT_EQ(7, out) << "output written for a rejected value";
    }
    EXPECT_FALSE(Settings::truncateInRange(-5.0f, 1, 16384, out));
    EXPECT_FALSE(Settings::truncateInRange(0.9f, 1, 16384, out));  // truncates to 0
    EXPECT_FALSE(Settings::truncateInRange(16385.0f, 1, 16384, out));
    EXPECT_EQ(7, out);
}

// Values are kept as 32-bit floats: a seed beyond 2^24 is rounded, and 2147483647
// rounds to 2^31, outside the range of an int.
TEST_F(SettingsFile, SeedsAreRoundedToFloats)
{
    EXPECT_EQ(16777216, Settings(write("seed 16777217")).getInt("seed", 42, INT_MIN, INT_MAX));
    CaptureStdout();
    EXPECT_EQ(42, Settings(write("seed 2147483647")).getInt("seed", 42, INT_MIN, INT_MAX));
    EXPECT_EQ(0u, GetCapturedStdout().find("Warning: setting 'seed' is out of range"));
}

TEST_F(SettingsFile, OutOfRangeValuesFallBackWithAWarning)
{
    Settings settings(write("hres 1e30\nvres -5\nseed 3e9\n"));
    CaptureStdout();
    EXPECT_EQ(640, settings.getInt("hres", 640, 1, 16384));
    EXPECT_EQ(480, settings.getInt("vres", 480, 1, 16384));
    EXPECT_EQ(42, settings.getInt("seed", 42, INT_MIN, INT_MAX));
    const std::string out = GetCapturedStdout();
    EXPECT_NE(std::string::npos, out.find("'hres'")) << out;
    EXPECT_NE(std::string::npos, out.find("'vres'")) << out;
    EXPECT_NE(std::string::npos, out.find("'seed'")) << out;
    // The raw values stay readable as floats.
    EXPECT_EQ(1e30f, settings.getFloat("hres", 0));
}
