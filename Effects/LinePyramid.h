// LinePyramid: a wireframe pyramid around its local origin, 5 corners and 8 edges:
// a square base of side 2s at y = -s and an apex at y = 1.5 s (world units).
#pragma once

#include "Effects/LineMesh.h"

struct PyramidShape {
    // Base corners (-s, -s, -s), (s, -s, -s), (-s, -s, s), (s, -s, s), then the apex
    // (0, 1.5 s, 0). Every vertex takes paint's colour.
    static void build(LineRenderer& lines, const LineVertex& paint, float size);
};

// Constructed as LinePyramid(position, rotation, colour, size).
using LinePyramid = LineMesh<PyramidShape>;
