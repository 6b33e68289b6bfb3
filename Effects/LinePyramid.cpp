// LinePyramid: corners and edges of the pyramid. Depends on LineRenderer.
#include "Effects/LinePyramid.h"

#include <cstdint>
#include <vector>

void PyramidShape::build(LineRenderer& lines, const LineVertex& paint, float size)
{
    const float s = size;
    const float at[5][3] = {
        {-s, -s, -s}, {s, -s, -s}, {-s, -s, s}, {s, -s, s}, {0.0f, 1.5f * s, 0.0f}};
    std::vector<LineVertex> corners(5, paint);
    for (unsigned k = 0; k < 5; ++k) {
        corners[k].x = at[k][0];
        corners[k].y = at[k][1];
        corners[k].z = at[k][2];
    }
    const std::vector<uint32_t> edges = {0, 1, 0, 2, 0, 4, 1, 3, 1, 4, 2, 4, 2, 3, 3, 4};
    lines.add(corners, edges);
}
