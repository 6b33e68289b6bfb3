// FrameMeter: parsing the frame log and the per-scene statistics.
#include "FrameMeter.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace FrameMeter {

namespace {

// The demo's scenes in playing order (its scene list in Demo/DemoContent.cpp).
const char* const SCENE_NAMES[] = {"titles",          "sweep",   "greetings",
                                   "spectrum trails", "impulse", "world"};

std::string sceneName(unsigned scene)
{
    if (scene < sizeof SCENE_NAMES / sizeof SCENE_NAMES[0])
        return SCENE_NAMES[scene];
    return "scene " + std::to_string(scene);
}

// Value below which `share` (0 to 1) of the sorted samples lie (nearest rank).
double percentile(const std::vector<double>& sorted, double share)
{
    const size_t rank = static_cast<size_t>(share * (sorted.size() - 1) + 0.5);
    return sorted[std::min(rank, sorted.size() - 1)];
}

// What one interval cost: its length and the CPU time spent in it.
struct Interval {
    double ms;
    double mainCpuMs;  // negative when unknown
    double cpuMs;
};

std::vector<double> sorted(const std::vector<Interval>& intervals, double Interval::*field)
{
    std::vector<double> values;
    values.reserve(intervals.size());
    for (const Interval& interval : intervals)
        values.push_back(interval.*field);
    std::sort(values.begin(), values.end());
    return values;
}

Row rowOf(const std::string& label, const std::vector<Interval>& intervals)
{
    const std::vector<double> ms = sorted(intervals, &Interval::ms);
    const std::vector<double> mainCpu = sorted(intervals, &Interval::mainCpuMs);
    const std::vector<double> cpu = sorted(intervals, &Interval::cpuMs);
    const auto within = std::upper_bound(ms.begin(), ms.end(), REFRESH_MS);
    return {label,
            ms.size(),
            percentile(ms, 0.5),
            percentile(ms, 0.99),
            ms.back(),
            static_cast<double>(within - ms.begin()) / ms.size(),
            percentile(mainCpu, 0.5),
            percentile(cpu, 0.5),
            percentile(cpu, 0.99)};
}

}  // namespace

std::vector<Frame> readLog(std::istream& in)
{
    std::vector<Frame> frames;
    std::string line;
    for (unsigned number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        Frame frame = {0, 0, -1, -1};
        std::string rest;
        bool valid = static_cast<bool>(fields >> frame.us >> frame.scene);
        if (valid && !(fields >> std::ws).eof())
            valid = (fields >> frame.mainCpuUs >> frame.processCpuUs) && frame.mainCpuUs >= 0 &&
                    frame.processCpuUs >= 0;
        if (valid && (fields >> rest))
            valid = false;
        if (!valid)
            throw std::runtime_error("line " + std::to_string(number) +
                                     ": expected 'MICROSECONDS SCENE [MAIN_CPU_US "
                                     "PROCESS_CPU_US]', got '" +
                                     line + "'");
        if (!frames.empty() && frame.us < frames.back().us)
            throw std::runtime_error("line " + std::to_string(number) + ": the time goes back");
        if (!frames.empty() && (frame.mainCpuUs < 0) != (frames.back().mainCpuUs < 0))
            throw std::runtime_error("line " + std::to_string(number) +
                                     ": CPU times in some lines only");
        frames.push_back(frame);
    }
    return frames;
}

std::vector<Row> summarise(const std::vector<Frame>& frames)
{
    if (frames.size() < 2)
        throw std::runtime_error("the log holds fewer than two frames");
    std::vector<unsigned> order;  // scenes by first frame
    std::vector<std::vector<Interval>> perScene;
    std::vector<Interval> all;
    const bool cpuKnown = frames[0].mainCpuUs >= 0;
    for (size_t k = 1; k < frames.size(); ++k) {
        const Frame& from = frames[k - 1];
        const Frame& to = frames[k];
        const Interval interval = {
            (to.us - from.us) / 1000.0, cpuKnown ? (to.mainCpuUs - from.mainCpuUs) / 1000.0 : -1.0,
            cpuKnown ? (to.processCpuUs - from.processCpuUs) / 1000.0 : -1.0};
        const size_t at = static_cast<size_t>(
            std::find(order.begin(), order.end(), frames[k].scene) - order.begin());
        if (at == order.size()) {
            order.push_back(frames[k].scene);
            perScene.emplace_back();
        }
        perScene[at].push_back(interval);
        all.push_back(interval);
    }
    std::vector<Row> rows;
    for (size_t s = 0; s < order.size(); ++s)
        rows.push_back(rowOf(sceneName(order[s]), perScene[s]));
    rows.push_back(rowOf("whole run", all));
    return rows;
}

void printTable(const std::vector<Row>& rows, std::ostream& out)
{
    // CPU per frame: the main thread's median, and the process's (every thread, the
    // software renderer's rasterisers included) median and 99th percentile.
    const bool cpu = !rows.empty() && rows[0].cpuMedianMs >= 0;
    char line[200];
    std::snprintf(line, sizeof line, "| %-16s | %6s | %9s | %9s | %9s | %13s |", "scene", "frames",
                  "median ms", "p99 ms", "max ms", "within 16.7 ms");
    out << line << (cpu ? " main CPU ms | CPU ms | CPU p99 ms |\n" : "\n");
    out << "|------------------|--------|-----------|-----------|-----------|---------------|"
        << (cpu ? "-------------|--------|------------|\n" : "\n");
    for (const Row& r : rows) {
        std::snprintf(line, sizeof line, "| %-16s | %6zu | %9.2f | %9.2f | %9.2f | %11.1f %% |",
                      r.label.c_str(), r.frames, r.medianMs, r.p99Ms, r.maxMs,
                      100.0 * r.withinShare);
        out << line;
        if (cpu) {
            std::snprintf(line, sizeof line, " %11.2f | %6.2f | %10.2f |", r.mainCpuMedianMs,
                          r.cpuMedianMs, r.cpuP99Ms);
            out << line;
        }
        out << "\n";
    }
}

}  // namespace FrameMeter
