// ProgressReporter: the capture's progress on standard error. On a terminal one
// line rewritten in place; otherwise one line every REPORT_SECONDS. Times are seconds
// of the steady clock; frames count from 0. Writes only to the stream it was given.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

class ProgressReporter {
public:
    static constexpr double REPORT_SECONDS = 5.0;   // between lines off a terminal
    static constexpr double REDRAW_SECONDS = 0.25;  // between redraws on a terminal

    // total: frames to capture (> 0). terminal: rewrite one line in place.
    ProgressReporter(std::ostream& out, uint64_t total, bool terminal);

    // Reports that `done` frames are finished; writes only when a report is due.
    void update(uint64_t done);
    // Ends the updating line (if any) and writes the final summary line.
    void finish(const std::string& summary);

    // The text of one report: "frame 120/6180 (1.9 %), 41.3 fps, 2:26 left".
    // elapsed: seconds since the first frame; fps and time left follow from it.
    static std::string format(uint64_t done, uint64_t total, double elapsed);
    // "12.4 MiB", "930 KiB", "512 B".
    static std::string formatBytes(uint64_t bytes);

private:
    using Clock = std::chrono::steady_clock;
    double secondsSince(Clock::time_point t) const;

    std::ostream& m_out;
    uint64_t m_total;
    bool m_terminal;
    Clock::time_point m_start;
    Clock::time_point m_lastReport;
    bool m_lineOpen;  // a terminal line has been drawn and not ended
};
