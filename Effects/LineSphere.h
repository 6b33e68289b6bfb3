// LineSphere: a wireframe sphere of radius R (world units) around its local origin,
// drawn as latitude circles only (n-sided polygons in planes z = const; axis = local z).
// n divisions give 4 n^2 vertices and 2 n^2 segments; no meridians.
#pragma once

#include "Effects/LineMesh.h"

struct SphereShape {
    // For each of the n bands between neighbouring latitudes (-90 to 90 degrees), one arc
    // of each of its two circles per longitude step of 360 / n degrees, so the inner
    // circles are drawn twice and the poles as polygons of almost zero size.
    static void build(LineRenderer& lines, const LineVertex& paint, float radius,
                      unsigned divisions);
};

// Constructed as LineSphere(position, rotation, colour, radius, divisions).
using LineSphere = LineMesh<SphereShape>;
