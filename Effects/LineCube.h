// LineCube: a wireframe cube around its local origin, 8 corners and 12 edges,
// spanning -h to +h (world units) on each local axis.
#pragma once

#include <cstdint>

#include "Effects/LineMesh.h"

struct CubeShape {
    // Corner k sits at (k & 1 ? +h : -h, k & 2 ? +h : -h, k & 4 ? +h : -h); the edges join
    // corners one bit apart. Every vertex takes paint's colour.
    static void build(LineRenderer& lines, const LineVertex& paint, float halfSize);
};

// Constructed as LineCube(position, rotation, colour, halfSize).
using LineCube = LineMesh<CubeShape>;
