// ProgressReporter: throttled reports, so that a long capture writes a few hundred
// lines at most, and a terminal sees one line move.
#include "Capture/ProgressReporter.h"

#include <cstdio>

ProgressReporter::ProgressReporter(std::ostream& out, uint64_t total, bool terminal)
    : m_out(out), m_total(total), m_terminal(terminal), m_start(Clock::now()),
      m_lastReport(m_start), m_lineOpen(false)
{
}

double ProgressReporter::secondsSince(Clock::time_point t) const
{
    return std::chrono::duration<double>(Clock::now() - t).count();
}

std::string ProgressReporter::format(uint64_t done, uint64_t total, double elapsed)
{
    const double share = total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1.0;
    const double fps = elapsed > 0.0 ? static_cast<double>(done) / elapsed : 0.0;
    char text[160];
    int length = std::snprintf(text, sizeof text, "frame %llu/%llu (%.1f %%), %.1f fps",
                               static_cast<unsigned long long>(done),
                               static_cast<unsigned long long>(total), share * 100.0, fps);
    if (fps > 0.0 && done <= total) {
        const unsigned long long left =
            static_cast<unsigned long long>(static_cast<double>(total - done) / fps + 0.5);
        std::snprintf(text + length, sizeof text - static_cast<size_t>(length),
                      ", %llu:%02llu left", left / 60, left % 60);
    }
    return text;
}

std::string ProgressReporter::formatBytes(uint64_t bytes)
{
    char text[32];
    if (bytes >= 1024u * 1024u)
        std::snprintf(text, sizeof text, "%.1f MiB",
                      static_cast<double>(bytes) / (1024.0 * 1024.0));
    else if (bytes >= 1024u)
        std::snprintf(text, sizeof text, "%llu KiB",
                      static_cast<unsigned long long>(bytes / 1024u));
    else
        std::snprintf(text, sizeof text, "%llu B", static_cast<unsigned long long>(bytes));
    return text;
}

void ProgressReporter::update(uint64_t done)
{
    const double interval = m_terminal ? REDRAW_SECONDS : REPORT_SECONDS;
    if (secondsSince(m_lastReport) < interval && done < m_total)
        return;
    m_lastReport = Clock::now();
    const std::string line = format(done, m_total, secondsSince(m_start));
    if (m_terminal) {
        // Carriage return, the line, then erase whatever a longer line left behind.
        m_out << '\r' << line << "\033[K" << std::flush;
        m_lineOpen = true;
    } else {
        m_out << line << std::endl;
    }
}

void ProgressReporter::finish(const std::string& summary)
{
    if (m_lineOpen)
        m_out << '\n';
    m_lineOpen = false;
    m_out << summary << std::endl;
}
