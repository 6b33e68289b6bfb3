// FrameMeter: reads the demo's frame log (DEDOZ_FRAME_LOG: one "MICROSECONDS SCENE
// [MAIN_CPU_US PROCESS_CPU_US]" line per presented frame, "#" lines ignored) and sums
// up the intervals between presented frames, and the CPU time spent in them, per
// scene and over the whole run. An interval belongs to the scene of the frame that
// ends it. Times are milliseconds.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace FrameMeter {

// One refresh of a 60 Hz screen: a frame interval within it shows no stutter.
const double REFRESH_MS = 16.7;

struct Frame {
    long long us;  // presentation time, microseconds on the demo's steady clock
    unsigned scene;
    // CPU time so far of the main thread and of the process, microseconds; -1 in
    // logs of builds that did not write them.
    long long mainCpuUs;
    long long processCpuUs;
};

struct Row {
    std::string label;  // scene name, or "whole run"
    size_t frames;      // intervals ended by this scene's frames
    double medianMs;
    double p99Ms;
    double maxMs;
    double withinShare;  // share of intervals no longer than REFRESH_MS, 0 to 1
    // CPU time per interval (main thread: median; process, every thread: median and
    // 99th percentile); negative when the log holds no CPU times.
    double mainCpuMedianMs;
    double cpuMedianMs;
    double cpuP99Ms;
};

// Throws std::runtime_error naming the line for anything but comments, blank lines
// and "MICROSECONDS SCENE [MAIN_CPU_US PROCESS_CPU_US]" lines with times that never
// go back; the CPU times are in every line or in none.
std::vector<Frame> readLog(std::istream& in);
// One row per scene, in order of the scenes' first frames, then the whole run.
// Needs at least two frames (throws std::runtime_error otherwise).
std::vector<Row> summarise(const std::vector<Frame>& frames);
// The rows as a table with a header, one row a line.
void printTable(const std::vector<Row>& rows, std::ostream& out);

}  // namespace FrameMeter
