// FrameTimeLog: buffered lines through stdio; nothing else runs while the log is off.
#include "Demo/FrameTimeLog.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <iostream>

FrameTimeLog::FrameTimeLog(const char* path) : m_file(nullptr, &std::fclose), m_path(path)
{
    if (path == nullptr || path[0] == '\0')
        return;
    m_file.reset(std::fopen(path, "w"));
    if (!m_file) {
        std::cerr << "Warning: cannot write the frame log '" << path << "' ("
                  << std::strerror(errno) << "); the demo runs without it" << std::endl;
        return;
    }
    // A large buffer: the file is written a few times a minute, not every frame.
    std::setvbuf(m_file.get(), nullptr, _IOFBF, 1 << 16);
    std::fprintf(m_file.get(),
                 "# dedoz frame log: microseconds (steady clock) scene-index "
                 "main-thread-cpu-us process-cpu-us\n");
}

FrameTimeLog::~FrameTimeLog()
{
    if (!m_file)
        return;
    const bool failed = std::ferror(m_file.get()) != 0;
    if (std::fclose(m_file.release()) != 0 || failed)
        std::cerr << "Warning: the frame log '" << m_path << "' could not be written whole"
                  << std::endl;
}

namespace {

long long cpuUs(clockid_t clock)
{
    timespec time = {};
    clock_gettime(clock, &time);
    return time.tv_sec * 1000000LL + time.tv_nsec / 1000;
}

}  // namespace

// The CPU times tell a slow frame from a busy machine: on a loaded machine the
// intervals stretch while the CPU each frame took barely moves.
void FrameTimeLog::write(unsigned scene)
{
    const long long us = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count();
    std::fprintf(m_file.get(), "%lld %u %lld %lld\n", us, scene, cpuUs(CLOCK_THREAD_CPUTIME_ID),
                 cpuUs(CLOCK_PROCESS_CPUTIME_ID));
}
