// LineCube: corners and edges of the cube. Depends on LineRenderer.
#include "Effects/LineCube.h"

#include <vector>

void CubeShape::build(LineRenderer& lines, const LineVertex& paint, float halfSize)
{
    std::vector<LineVertex> corners(8, paint);
    for (unsigned k = 0; k < 8; ++k) {
        corners[k].x = (k & 1) ? halfSize : -halfSize;
        corners[k].y = (k & 2) ? halfSize : -halfSize;
        corners[k].z = (k & 4) ? halfSize : -halfSize;
    }
    const std::vector<uint32_t> edges = {0, 1, 0, 2, 0, 4, 1, 3, 1, 5, 2, 3,
                                         2, 6, 3, 7, 4, 5, 4, 6, 5, 7, 6, 7};
    lines.add(corners, edges);
}
