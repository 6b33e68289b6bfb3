// LineRenderer: the one line-geometry container. Owns a vertex list and an index
// list taken in pairs (segment k = indices 2k, 2k+1), drawn as GL_LINES in one call
// from client-side arrays. Every index must be below the vertex count when drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "3D/DrawContext.h"
#include "3D/LineVertex.h"

class LineRenderer {
public:
    // Appends the vertices, then the indices shifted by the vertex count before the call.
    void add(const std::vector<LineVertex>& vertices, const std::vector<uint32_t>& indices);
    void addLine(const LineVertex& a, const LineVertex& b);
    // Appends points as consecutive pairs; an odd last point is dropped with a warning.
    void addLines(const std::vector<LineVertex>& points);
    // Empties both lists and keeps their capacity, so a refill allocates nothing.
    void clear();
    // GL state: enables then disables the vertex and colour arrays; leaves the
    // line width at `width` pixels times the context's stroke scale. Matrices,
    // blending and depth test are the caller's. A line wider than the context's
    // widest GL line is drawn as triangles through its wideLines.
    void draw(unsigned int width, const DrawContext& context) const;

    // Open to the parts that build and animate geometry in place.
    std::vector<LineVertex> m_vertices;
    std::vector<uint32_t> m_indices;
};
