// LayoutLog: plain text, so that a test or a person can diff two runs.
#include "Capture/LayoutLog.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "Capture/CaptureError.h"
#include "Effects/SpectrumGrid.h"

namespace LayoutLog {

std::string describe(const SpectrumGrid& grid)
{
    std::string text;
    for (const auto& band : grid.m_bands) {
        for (size_t i = 0; i < band.size(); ++i)
            text += (i == 0 ? "" : " ") + std::to_string(band[i]);
        text += '\n';
    }
    return text;
}

void write(const std::string& path, const SpectrumGrid& grid)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out << describe(grid);
    if (!out.flush())
        throw CaptureError("cannot write '" + path + "': " + std::strerror(errno));
}

}  // namespace LayoutLog
