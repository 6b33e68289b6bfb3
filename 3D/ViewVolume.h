// ViewVolume: the part of the world that a projection shows, as six planes taken
// from a clip matrix (projection x modelview, column-major as OpenGL stores it),
// used to skip objects that cannot reach the picture. The four side planes can be
// pushed outwards by a margin in normalised device units (2 spans the viewport).
#pragma once

#include "3D/Vector3.h"

class ViewVolume {
public:
    // marginX, marginY: how far beyond the viewport's left and right (bottom and
    // top) edges, in normalised device units, a point still counts as inside.
    ViewVolume(const float clip[16], float marginX, float marginY);

    // The view of the current GL projection and modelview matrices, its sides
    // pushed out by `pixels` of the current viewport. Needs a current GL context.
    static ViewVolume current(float pixels);

    // False only when the whole sphere lies outside one of the planes; a sphere
    // near a corner of the volume may be kept though it misses it (conservative).
    bool meetsSphere(const Vector3& centre, float radius) const;

private:
    // a, b, c, d of each plane with (a, b, c) of unit length: a x + b y + c z + d
    // is the distance of (x, y, z) inside the plane (negative outside).
    float m_planes[6][4];
};
