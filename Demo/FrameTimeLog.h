// FrameTimeLog: when the environment variable DEDOZ_FRAME_LOG names a file, one line
// per presented frame goes to it: the time in microseconds on a steady clock, the
// index of the scene drawn, then the CPU time so far of the calling (main) thread
// and of the whole process, microseconds ("# " lines are comments). Owns the open
// file; off (one null test per frame, no file) when the variable is unset or empty.
#pragma once

#include <cstdio>
#include <memory>

class FrameTimeLog {
public:
    static constexpr const char* ENVIRONMENT = "DEDOZ_FRAME_LOG";

    // path: the file to write (replaced), or null or empty for none. One that
    // cannot be opened is reported in one line on standard error; the log is then off.
    explicit FrameTimeLog(const char* path);
    // Closes the file; a write that failed is reported in one line on standard error.
    ~FrameTimeLog();

    FrameTimeLog(const FrameTimeLog&) = delete;
    FrameTimeLog& operator=(const FrameTimeLog&) = delete;

    // Call right after the frame has been presented.
    void framePresented(unsigned scene)
    {
        if (m_file)
            write(scene);
    }

private:
    void write(unsigned scene);

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_file;
    const char* m_path;  // for the closing message; the caller's string (the environment's)
};
