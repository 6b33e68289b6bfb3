// MeshBatch: many placed copies of one wireframe shape, drawn in one call. Owns
// every copy's lines in world units in one vertex array (copy k: vertices
// [k V, (k + 1) V) and indices [k I, (k + 1) I) for a shape of V distinct vertices
// and I indices: equal vertices are kept once) and their copy in a driver-side buffer. A copy is transformed again only
// when its placement changed and it is in view, and only changed vertices travel
// to the driver; a draw skips copies whose bounding sphere lies outside the view.
#pragma once

#include <cstdint>
#include <vector>

#include "3D/LineRenderer.h"
#include "3D/Vector3.h"
#include "3D/VertexBuffer.h"

class ViewVolume;

class MeshBatch {
public:
    static constexpr unsigned LINE_WIDTH = 4;  // pixels, before the renderer's width scale

    // shape: one copy's lines around its local origin. Every copy starts unplaced
    // (drawn nowhere until place gives it a placement).
    MeshBatch(const LineRenderer& shape, unsigned copies);

    // Puts copy k at position (world units), turned by rotation (degrees about X,
    // then Y, then Z, in its own frame), as a translation followed by three
    // glRotatef calls would. A placement equal to the last one costs a comparison;
    // another is transformed only once selectVisible finds the copy in view.
    // copy must be below the count given at construction.
    void place(unsigned copy, const Vector3& position, const Vector3& rotation);
    // Keeps, in copy order, the indices of the placed copies that meet the view,
    // and brings the lines of those placed anew up to date.
    void selectVisible(const ViewVolume& view);

    // GL state: one indexed GL_LINES draw of the visible copies from the buffer;
    // enables then disables the vertex and colour arrays, leaves array buffer 0
    // bound and the line width at LINE_WIDTH times the width scale. Matrices,
    // blending and depth test are the caller's. Throws GLErrorException. Lines
    // wider than the context's widest GL line are drawn as triangles through its
    // wideLines, from the vertices in memory.
    void draw(const DrawContext& context);
    // The current view, widened by what a line of this batch reaches beyond its
    // geometry. Needs a current GL context.
    static ViewVolume currentView(const DrawContext& context);

    // Every copy's lines as last transformed: a copy never selected as visible
    // since its last placing keeps an earlier placement (or its local frame).
    const LineRenderer& lines() const { return m_lines; }
    const std::vector<uint32_t>& visibleIndices() const { return m_visible; }

private:
    struct Placement {
        Vector3 position;
        Vector3 rotation;
        bool placed;
        bool stale;  // m_lines does not show this placement yet
    };

    // Writes copy's vertices in world units from its placement.
    void transform(size_t copy);

    LineRenderer m_shape;  // local frame, each distinct vertex once
    float m_radius;        // largest distance of a shape vertex from the local origin
    LineRenderer m_lines;  // world units, every copy
    std::vector<Placement> m_placements;
    std::vector<uint32_t> m_visible;  // capacity of every index: refills allocate nothing
    uint32_t m_firstVisible = 0;      // range of the vertices m_visible refers to
    uint32_t m_lastVisible = 0;
    VertexBuffer m_buffer;      // m_lines.m_vertices once uploaded
    size_t m_changedBegin = 0;  // vertices changed since the last upload: [begin, end)
    size_t m_changedEnd = 0;
};
