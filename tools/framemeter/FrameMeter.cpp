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

Row rowOf(const std::string& label, std::vector<double> intervals)
{
    std::sort(intervals.begin(), intervals.end());
    const auto within = std::upper_bound(intervals.begin(), intervals.end(), REFRESH_MS);
    return {label,
            intervals.size(),
            percentile(intervals, 0.5),
            percentile(intervals, 0.99),
            intervals.back(),
            static_cast<double>(within - intervals.begin()) / intervals.size()};
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
        Frame frame = {};
        std::string rest;
        if (!(fields >> frame.us >> frame.scene) || (fields >> rest))
            throw std::runtime_error("line " + std::to_string(number) +
                                     ": expected 'MICROSECONDS SCENE', got '" + line + "'");
        if (!frames.empty() && frame.us < frames.back().us)
            throw std::runtime_error("line " + std::to_string(number) + ": the time goes back");
        frames.push_back(frame);
    }
    return frames;
}

std::vector<Row> summarise(const std::vector<Frame>& frames)
{
    if (frames.size() < 2)
        throw std::runtime_error("the log holds fewer than two frames");
    std::vector<unsigned> order;  // scenes by first frame
    std::vector<std::vector<double>> perScene;
    std::vector<double> all;
    for (size_t k = 1; k < frames.size(); ++k) {
        const double ms = (frames[k].us - frames[k - 1].us) / 1000.0;
        const size_t at = static_cast<size_t>(
            std::find(order.begin(), order.end(), frames[k].scene) - order.begin());
        if (at == order.size()) {
            order.push_back(frames[k].scene);
            perScene.emplace_back();
        }
        perScene[at].push_back(ms);
        all.push_back(ms);
    }
    std::vector<Row> rows;
    for (size_t s = 0; s < order.size(); ++s)
        rows.push_back(rowOf(sceneName(order[s]), perScene[s]));
    rows.push_back(rowOf("whole run", all));
    return rows;
}

void printTable(const std::vector<Row>& rows, std::ostream& out)
{
    char line[160];
    std::snprintf(line, sizeof line, "| %-16s | %6s | %9s | %9s | %9s | %13s |\n", "scene",
                  "frames", "median ms", "p99 ms", "max ms", "within 16.7 ms");
    out << line
        << "|------------------|--------|-----------|-----------|-----------|---------------|\n";
    for (const Row& r : rows) {
        std::snprintf(line, sizeof line, "| %-16s | %6zu | %9.2f | %9.2f | %9.2f | %11.1f %% |\n",
                      r.label.c_str(), r.frames, r.medianMs, r.p99Ms, r.maxMs,
                      100.0 * r.withinShare);
        out << line;
    }
}

}  // namespace FrameMeter
