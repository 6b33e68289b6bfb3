// Vector3: three floats (world units), copied by value. Camera positions,
// targets and object placements.
#pragma once

#include <ostream>

struct Vector3 {
    float x;
    float y;
    float z;
};

// Writes "X: x Y: y Z: z" with the stream's default float formatting, no end of line.
inline std::ostream& operator<<(std::ostream& out, const Vector3& v)
{
    return out << "X: " << v.x << " Y: " << v.y << " Z: " << v.z;
}
