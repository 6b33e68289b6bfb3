// LineMesh<Shape>: a small wireframe object (LineCube, LinePyramid, LineSphere) whose
// lines, built once by Shape::build around the local origin, stay in its own renderer.
// Placed at m_position (world units) and turned by m_rotation (degrees about X, Y, Z) when
// drawn. Once m_launched is set it rises by RISE_PER_UPDATE world units per update, unbounded.
#pragma once

#include "3D/LineRenderer.h"
#include "3D/Vector3.h"
#include "Effects/Colour.h"

// Draws `lines` translated to `position`, then rotated about X, Y and Z in that order.
// GL state: leaves the modelview matrix as it found it and the line width at 4
// pixels times the context's stroke scale.
void drawPlacedLines(const LineRenderer& lines, const Vector3& position, const Vector3& rotation,
                     const DrawContext& context);

template <class Shape>
class LineMesh {
public:
    static constexpr float RISE_PER_UPDATE = 0.05f;

    // shapeSize: the Shape's own size arguments (see its build). Every vertex takes
    // colour with alpha 1.
    template <class... ShapeSize>
    LineMesh(const Vector3& position, const Vector3& rotation, const Rgb& colour,
             ShapeSize... shapeSize)
        : m_position(position), m_rotation(rotation), m_launched(false)
    {
        const LineVertex paint = {0.0f, 0.0f, 0.0f, colour.r, colour.g, colour.b, 1.0f};
        Shape::build(m_lines, paint, shapeSize...);
    }

    void update()
    {
        if (m_launched)
            m_position.y += RISE_PER_UPDATE;
    }

    // One matrix push and pop and one indexed line draw; see drawPlacedLines.
    void draw(const DrawContext& context) const
    {
        drawPlacedLines(m_lines, m_position, m_rotation, context);
    }

    Vector3 m_position;
    Vector3 m_rotation;
    LineRenderer m_lines;  // local frame; never changed after construction
    bool m_launched;       // set by the owning scene, never cleared
};
