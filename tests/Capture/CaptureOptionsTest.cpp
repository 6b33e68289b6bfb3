// The capture's pure parts: command line, fixed-clock arithmetic, the frames a
// capture renders, and the progress line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Capture/CaptureOptions.h"
#include "Capture/CapturePlan.h"
#include "Capture/FrameClock.h"
#include "Capture/ProgressReporter.h"

namespace {

std::string parse(const std::vector<std::string>& args, CaptureOptions& options)
{
    return CaptureOptions::parse(args, options);
}

std::string parseError(const std::vector<std::string>& args)
{
    CaptureOptions options;
    return CaptureOptions::parse(args, options);
}

}  // namespace

TEST(CaptureOptions, ReadsEveryOption)
{
    CaptureOptions o;
    ASSERT_EQ("", parse({"--out", "a.mp4", "--fps", "30", "--size", "320x240", "--from", "1500",
                         "--to", "9000", "--seed", "-7", "--glow", "2", "--music", "m.mp3",
                         "--frame-log", "f.txt"},
                        o));
    EXPECT_EQ("a.mp4", o.out);
    EXPECT_EQ(30, o.fps);
    EXPECT_EQ(320, o.width);
    EXPECT_EQ(240, o.height);
    EXPECT_EQ(1500u, o.from);
    EXPECT_EQ(9000u, *o.to);
    EXPECT_EQ(-7, *o.seed);
    EXPECT_EQ(2, o.glow);
    EXPECT_EQ("m.mp3", o.music);
    EXPECT_EQ("f.txt", o.frameLog);

    CaptureOptions defaults;
    ASSERT_EQ("", parse({}, defaults));
    EXPECT_EQ("dedoz.mp4", defaults.out);
    EXPECT_EQ(60, defaults.fps);
    EXPECT_EQ(0, defaults.width);  // the settings' size
    EXPECT_FALSE(defaults.to);
    EXPECT_FALSE(defaults.seed);

    CaptureOptions stills;
    ASSERT_EQ("", parse({"--stills", "9000,500,9000", "--out", "docs/show.png"}, stills));
    EXPECT_EQ((std::vector<unsigned>{500, 9000}), stills.stills);  // sorted, repeats dropped
    EXPECT_EQ("docs/show-500.png", stills.stillPath(500));
    stills.out = "./shots/show";
    EXPECT_EQ("./shots/show-7.png", stills.stillPath(7));
}

TEST(CaptureOptions, RefusesBadValuesWithOneLineNamingTheOption)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--fps", "0"}, "--fps"},
        {{"--fps", "241"}, "--fps"},
        {{"--fps", "30x"}, "--fps"},
        {{"--fps", "-5"}, "--fps"},
        {{"--size", "0x480"}, "--size"},
        {{"--size", "640x0"}, "--size"},
        {{"--size", "16385x480"}, "--size"},
        {{"--size", "640"}, "--size"},
        {{"--size", "640x480x2"}, "--size"},
        {{"--from", "2000", "--to", "1000"}, "--from"},
        {{"--from", "1000", "--to", "1000"}, "--from"},
        {{"--to", "99999999999"}, "--to"},
        {{"--stills", "100,,200"}, "--stills"},
        {{"--stills", "100", "--from", "50"}, "--stills"},
        {{"--seed", "2147483648"}, "--seed"},
        {{"--glow", "3"}, "--glow"},
        {{"--out"}, "--out"},
        {{"--bogus", "1"}, "--bogus"},
        {{"stray"}, "stray"},
    };
    for (const auto& c : cases) {
        const std::string error = parseError(c.first);
        EXPECT_NE(std::string::npos, error.find(c.second))
            << c.first[0] << " gave '" << error << "'";
        EXPECT_EQ(std::string::npos, error.find('\n')) << error;
    }
    EXPECT_EQ("", parseError({"--size", "16384x1"}));
    EXPECT_EQ("", parseError({"--fps", "240", "--seed", "-2147483648"}));
}

TEST(FrameClock, FrameTimesRoundToTheNearestMillisecond)
{
    const FrameClock clock60(60);
    EXPECT_EQ(0u, clock60.timeOf(0));
    EXPECT_EQ(17u, clock60.timeOf(1));  // 16.67
    EXPECT_EQ(33u, clock60.timeOf(2));  // 33.33
    EXPECT_EQ(1000u, clock60.timeOf(60));
    EXPECT_EQ(103517u, clock60.timeOf(6211));  // 103516.67
    const FrameClock clock48(48);
    EXPECT_EQ(21u, clock48.timeOf(1));  // 20.83
    EXPECT_EQ(63u, clock48.timeOf(3));  // 62.5 rounds up
    EXPECT_EQ(FrameClock::BASE_TICK + 17u, clock60.tickOf(1));

    // Every time maps back to the frames around it, for several rates.
    for (int fps : {1, 24, 25, 30, 60, 144, 240}) {
        const FrameClock clock(fps);
        for (uint64_t ms = 0; ms < 3000; ms += 7) {
            const uint64_t first = clock.firstFrameFrom(ms);
            ASSERT_GE(clock.timeOf(first), ms) << fps << " fps, " << ms << " ms";
            ASSERT_TRUE(first == 0 || clock.timeOf(first - 1) < ms)
                << fps << " fps, " << ms << " ms";
            const uint64_t shown = clock.frameShownAt(ms);
            ASSERT_LE(clock.timeOf(shown), ms);
            ASSERT_GT(clock.timeOf(shown + 1), ms);
        }
    }
    // Sound follows the exact frame period, not the rounded milliseconds.
    EXPECT_EQ(735u, FrameClock::samplesAt(1, 60, 44100));
    EXPECT_EQ(6211u * 735u, FrameClock::samplesAt(6211, 60, 44100));
    EXPECT_EQ(1838u, FrameClock::samplesAt(1, 24, 44100));  // 1837.5 rounds up
}

TEST(CapturePlan, RangesAndStillsAgainstTheLengthOfTheShow)
{
    CaptureOptions o;
    CapturePlan plan;
    const uint64_t show = 600;  // 10 s at 60 fps

    ASSERT_EQ("", CapturePlan::make(o, show, plan));
    EXPECT_EQ(0u, plan.first);
    EXPECT_EQ(600u, plan.end);
    EXPECT_EQ(600u, plan.count());

    o.from = 1000;
    o.to = 2001;  // frames at 2000 ms and before; 2017 ms is the next one
    ASSERT_EQ("", CapturePlan::make(o, show, plan));
    EXPECT_EQ(60u, plan.first);
    EXPECT_EQ(121u, plan.end);
    EXPECT_FALSE(plan.captures(59));
    EXPECT_TRUE(plan.captures(60));
    EXPECT_TRUE(plan.captures(120));
    EXPECT_FALSE(plan.captures(121));

    o.to = 10000;  // the end itself: the whole rest of the show
    ASSERT_EQ("", CapturePlan::make(o, show, plan));
    EXPECT_EQ(600u, plan.end);
    o.to = 10001;
    const std::string after = CapturePlan::make(o, show, plan);
    EXPECT_NE(std::string::npos, after.find("--to 10001 ms is past the end of the show (10000 ms)"))
        << after;

    o.from = 10000;  // the time of frame 600, which the show never draws
    const std::string late = CapturePlan::make(o, show, plan);
    EXPECT_NE(std::string::npos,
              late.find("--from 10000 ms is past the end of the show (10000 ms)"))
        << late;

    CaptureOptions s;
    s.stills = {0, 1000, 1010, 9999};
    ASSERT_EQ("", CapturePlan::make(s, show, plan));
    EXPECT_EQ((std::vector<uint64_t>{0, 60, 60, 599}), plan.stills);
    EXPECT_EQ(4u, plan.count());
    EXPECT_EQ(600u, plan.end);
    EXPECT_TRUE(plan.captures(60));
    EXPECT_FALSE(plan.captures(61));
    s.stills = {500, 10017};
    const std::string past = CapturePlan::make(s, show, plan);
    EXPECT_NE(std::string::npos, past.find("--stills: 10017 ms is past the end")) << past;
}

TEST(ProgressReporter, LineCarriesFramesShareRateAndTimeLeft)
{
    EXPECT_EQ("frame 120/6000 (2.0 %), 40.0 fps, 2:27 left",
              ProgressReporter::format(120, 6000, 3.0));
    EXPECT_EQ("frame 0/10 (0.0 %), 0.0 fps", ProgressReporter::format(0, 10, 0.0));
    EXPECT_EQ("frame 10/10 (100.0 %), 5.0 fps, 0:00 left", ProgressReporter::format(10, 10, 2.0));
    EXPECT_EQ("12.5 MiB", ProgressReporter::formatBytes(13107200));
    EXPECT_EQ("930 KiB", ProgressReporter::formatBytes(952320));
    EXPECT_EQ("512 B", ProgressReporter::formatBytes(512));
}
