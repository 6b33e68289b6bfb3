// WideLines: GL_LINES of any pixel width drawn as triangles, for a GL whose own lines
// are narrower (WebGL: 1 pixel). Each segment becomes a quad that covers what an
// aliased wide line covers: reaching width / 2 pixels to either side along the
// segment's minor screen axis, from one end to the other. Owns the quads of the last
// draw and keeps their storage, so that a draw of as many lines allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "3D/LineVertex.h"

class WideLines {
public:
    // Quads per draw call: 4 corners each, indexed by 16 bits.
    static constexpr size_t CHUNK_QUADS = 16384;

    WideLines();

    // The quads of segments (indices taken in pairs) of `width` pixels under `clip`
    // (projection x modelview, column-major) in a viewport of viewportWidth x
    // viewportHeight pixels. Segments are first clipped to the near plane, as GL
    // clips lines; a segment wholly behind it gives no quad. Corners are in the
    // vertices' own space, so that the current program transforms them as it does
    // the lines, with the colour of their end.
    void build(const LineVertex* vertices, const uint32_t* indices, size_t indexCount,
               const double clip[16], int viewportWidth, int viewportHeight, float width);
    // GL state: builds from the current matrices and viewport and draws the quads as
    // GL_TRIANGLES from client-side arrays; enables then disables the vertex and
    // colour arrays. Matrices, program, blending and depth test are the caller's.
    void draw(const LineVertex* vertices, const uint32_t* indices, size_t indexCount, float width);

    // Four corners per quad: the first end's two sides, then the second end's.
    const std::vector<LineVertex>& corners() const { return m_corners; }
    size_t quads() const { return m_corners.size() / 4; }

private:
    std::vector<LineVertex> m_corners;
    std::vector<uint16_t> m_triangles;  // CHUNK_QUADS quads: 0 1 2, 0 2 3, then + 4 each
};
