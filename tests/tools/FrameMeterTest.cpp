// The frame meter on short logs: the per-scene split of the intervals and of the
// CPU time spent in them, refused logs, and a log written by the demo's own FrameTimeLog.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "Demo/FrameTimeLog.h"
#include "FrameMeter.h"

using FrameMeter::Row;

namespace {

std::vector<Row> summariseText(const std::string& text)
{
    std::istringstream in(text);
    return FrameMeter::summarise(FrameMeter::readLog(in));
}

}  // namespace

TEST(FrameMeter, SplitsTheIntervalsByTheSceneOfTheFrameThatEndsThem)
{
    // Scene 0: frames at 0, 15, 30 ms; scene 1 from 47 ms on; scene 5 last.
    const std::vector<Row> rows = summariseText(
        "# dedoz frame log\n"
        "1000000 0\n1015000 0\n1030000 0\n"
        "1047000 1\n1062000 1\n1077500 1\n1092500 1\n1122500 1\n"
        "1137500 5\n");
    ASSERT_EQ(4u, rows.size());

    EXPECT_EQ("titles", rows[0].label);
    EXPECT_EQ(2u, rows[0].frames);  // the first frame ends no interval
    EXPECT_DOUBLE_EQ(15.0, rows[0].medianMs);
    EXPECT_DOUBLE_EQ(1.0, rows[0].withinShare);

    // 17, 15, 15.5, 15, 30 ms: the interval into the scene's first frame is its own.
    EXPECT_EQ("sweep", rows[1].label);
    EXPECT_EQ(5u, rows[1].frames);
    EXPECT_DOUBLE_EQ(15.5, rows[1].medianMs);
    EXPECT_DOUBLE_EQ(30.0, rows[1].p99Ms);
    EXPECT_DOUBLE_EQ(30.0, rows[1].maxMs);
    EXPECT_DOUBLE_EQ(3.0 / 5, rows[1].withinShare);

    EXPECT_EQ("world", rows[2].label);
    EXPECT_EQ(1u, rows[2].frames);

    EXPECT_EQ("whole run", rows[3].label);
    EXPECT_EQ(8u, rows[3].frames);
    EXPECT_DOUBLE_EQ(15.0, rows[3].medianMs);
    EXPECT_DOUBLE_EQ(30.0, rows[3].maxMs);
    EXPECT_DOUBLE_EQ(6.0 / 8, rows[3].withinShare);
    EXPECT_LT(rows[3].cpuMedianMs, 0.0);  // a log without CPU times
}

TEST(FrameMeter, SumsUpTheCpuTimeSpentInEachInterval)
{
    // Main thread: 1, 2 ms in scene 0, then 0.5; process: 4, 5, then 11 ms.
    const std::vector<Row> rows = summariseText(
        "1000000 0 100 400\n1015000 0 1100 4400\n1030000 0 3100 9400\n"
        "1045000 1 3600 20400\n");
    ASSERT_EQ(3u, rows.size());
    EXPECT_DOUBLE_EQ(2.0, rows[0].mainCpuMedianMs);
    EXPECT_DOUBLE_EQ(5.0, rows[0].cpuMedianMs);
    EXPECT_DOUBLE_EQ(0.5, rows[1].mainCpuMedianMs);
    EXPECT_DOUBLE_EQ(11.0, rows[1].cpuP99Ms);
    EXPECT_DOUBLE_EQ(1.0, rows[2].mainCpuMedianMs);
    EXPECT_DOUBLE_EQ(5.0, rows[2].cpuMedianMs);
    EXPECT_DOUBLE_EQ(11.0, rows[2].cpuP99Ms);
}

TEST(FrameMeter, RefusesMalformedLogsAndReadsTheDemosOwn)
{
    EXPECT_THROW(summariseText("1000 0\n"), std::runtime_error);              // one frame
    EXPECT_THROW(summariseText("1000 0\n2000\n"), std::runtime_error);        // no scene
    EXPECT_THROW(summariseText("1000 0\n2000 0 x\n"), std::runtime_error);    // extra field
    EXPECT_THROW(summariseText("2000 0\n1000 0\n"), std::runtime_error);      // time goes back
    EXPECT_THROW(summariseText("1000 0 5\n2000 0 6\n"), std::runtime_error);  // one CPU time
    EXPECT_THROW(summariseText("1000 0 5 6\n2000 0 6 7 8\n"), std::runtime_error);
    // CPU times in some lines only:
    EXPECT_THROW(summariseText("1000 0 5 6\n2000 0\n"), std::runtime_error);

    const std::string path = ::testing::TempDir() + "framemeter-test.log";
    {
        FrameTimeLog log(path.c_str());
        log.framePresented(0);
        log.framePresented(3);
        log.framePresented(3);
    }
    std::ifstream in(path);
    const std::vector<FrameMeter::Frame> frames = FrameMeter::readLog(in);
    std::remove(path.c_str());
    ASSERT_EQ(3u, frames.size());
    EXPECT_EQ(0u, frames[0].scene);
    EXPECT_EQ(3u, frames[2].scene);
    EXPECT_LE(frames[0].us, frames[2].us);
    EXPECT_GE(frames[0].mainCpuUs, 0);
    EXPECT_LE(frames[0].processCpuUs, frames[2].processCpuUs);
}
