// FrameLog: plain stdio, one flush at the end.
#include "Capture/FrameLog.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>

#include "Capture/CaptureError.h"

FrameLog::FrameLog(const std::string& path) : m_file(std::fopen(path.c_str(), "w")), m_path(path)
{
    if (!m_file)
        throw CaptureError("cannot write '" + path + "': " + std::strerror(errno));
}

FrameLog::~FrameLog()
{
    std::fclose(m_file);
}

void FrameLog::write(uint64_t index, uint64_t timeMs, float band2, uint64_t hash)
{
    std::fprintf(m_file, "%" PRIu64 " %" PRIu64 " %.6f %016" PRIx64 "\n", index, timeMs, band2,
                 hash);
}

uint64_t FrameLog::hashFrame(const uint8_t* rgba, int width, int height)
{
    uint64_t hash = 14695981039346656037ull;
    for (int y = height - 1; y >= 0; --y) {
        const uint8_t* row = rgba + static_cast<size_t>(y) * static_cast<size_t>(width) * 4u;
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) {
                hash ^= row[x * 4 + c];
                hash *= 1099511628211ull;
            }
    }
    return hash;
}
