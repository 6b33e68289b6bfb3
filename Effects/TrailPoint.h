// TrailPoint: one point of a point trail, read by OpenGL straight from the trail's
// array as interleaved vertex (3 floats at offset 0) and colour (4 floats at offset
// 12) arrays with the record's size as stride. Position in world units, RGBA 0-1.
#pragma once

struct TrailPoint {
    float x, y, z;     // position, world units
    float r, g, b, a;  // colour, 0-1; alpha falls as the point ages
    unsigned age;      // updates lived through since its emission
};
