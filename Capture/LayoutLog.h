// LayoutLog: the random part of a show as built, as text: the floor's 16 band lists
// (vertex numbers in drawing order, one line per band). The scenes draw the world's
// layout right after the bands from the same sequence, so equal lists from one seed
// mean that both shows were built from a fresh seeding, as the live demo builds its.
#pragma once

#include <string>

class SpectrumGrid;

namespace LayoutLog {

std::string describe(const SpectrumGrid& grid);
// Writes describe(grid) to path. Throws CaptureError naming the path and the reason.
void write(const std::string& path, const SpectrumGrid& grid);

}  // namespace LayoutLog
