// LineVertex: one coloured vertex of a wireframe, seven packed floats.
// Position in world units at byte offset 0, RGBA colour (0-1) at offset 12;
// the 28-byte stride is what the interleaved GL arrays rely on.
#pragma once

struct LineVertex {
    float x, y, z;     // position, world units
    float r, g, b, a;  // colour, 0-1
};

static_assert(sizeof(LineVertex) == 28, "LineVertex must stay seven packed floats");
