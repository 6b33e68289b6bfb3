// MeshBatch: one vertex array and one draw for many copies of a shape. Depends on
// OpenGL 1.5 buffer objects (through GLEW) and ViewVolume.
#include "Effects/MeshBatch.h"

#include <GL/glew.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "3D/ViewVolume.h"
#include "3D/WideLines.h"

namespace {

const double RADIANS_PER_DEGREE = 3.14159265358979323846 / 180.0;

bool sameVector(const Vector3& a, const Vector3& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Rows of Rx(x) Ry(y) Rz(z), angles in degrees: the product of the three
// glRotatef matrices in the order they are applied.
void rotationMatrix(const Vector3& degrees, double m[3][3])
{
    const double cx = std::cos(degrees.x * RADIANS_PER_DEGREE);
    const double sx = std::sin(degrees.x * RADIANS_PER_DEGREE);
    const double cy = std::cos(degrees.y * RADIANS_PER_DEGREE);
    const double sy = std::sin(degrees.y * RADIANS_PER_DEGREE);
    const double cz = std::cos(degrees.z * RADIANS_PER_DEGREE);
    const double sz = std::sin(degrees.z * RADIANS_PER_DEGREE);
    m[0][0] = cy * cz;
    m[0][1] = -cy * sz;
    m[0][2] = sy;
    m[1][0] = sx * sy * cz + cx * sz;
    m[1][1] = -sx * sy * sz + cx * cz;
    m[1][2] = -sx * cy;
    m[2][0] = -cx * sy * cz + sx * sz;
    m[2][1] = cx * sy * sz + sx * cz;
    m[2][2] = cx * cy;
}

// The shape with each vertex kept once: a later vertex equal to an earlier one in
// all seven floats (a sphere builds every inner latitude circle twice) becomes
// that one's index. The segments, their order and their end points stay bit for
// bit the same, so the picture does; the driver shades a quarter as many sphere
// vertices, and a moved copy transforms and uploads a quarter as many.
LineRenderer withSharedVertices(const LineRenderer& shape)
{
    LineRenderer shared;
    std::vector<uint32_t> newIndex(shape.m_vertices.size());
    for (size_t i = 0; i < shape.m_vertices.size(); ++i) {
        const LineVertex& v = shape.m_vertices[i];
        const auto same =
            std::find_if(shared.m_vertices.begin(), shared.m_vertices.end(),
                         [&](const LineVertex& w) { return std::memcmp(&v, &w, sizeof v) == 0; });
        newIndex[i] = static_cast<uint32_t>(same - shared.m_vertices.begin());
        if (same == shared.m_vertices.end())
            shared.m_vertices.push_back(v);
    }
    for (uint32_t index : shape.m_indices)
        shared.m_indices.push_back(newIndex[index]);
    return shared;
}

}  // namespace

MeshBatch::MeshBatch(const LineRenderer& shape, unsigned copies)
    : m_shape(withSharedVertices(shape)), m_radius(0.0f),
      m_placements(copies, Placement{{}, {}, false, false})
{
    for (const LineVertex& v : m_shape.m_vertices)
        m_radius = std::max(m_radius, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
    const uint32_t vertices = static_cast<uint32_t>(m_shape.m_vertices.size());
    m_lines.m_vertices.reserve(size_t{vertices} * copies);
    m_lines.m_indices.reserve(m_shape.m_indices.size() * copies);
    for (unsigned k = 0; k < copies; ++k) {
        m_lines.m_vertices.insert(m_lines.m_vertices.end(), m_shape.m_vertices.begin(),
                                  m_shape.m_vertices.end());
        for (uint32_t index : m_shape.m_indices)
            m_lines.m_indices.push_back(index + k * vertices);
    }
    m_visible.reserve(m_lines.m_indices.size());
}

void MeshBatch::place(unsigned copy, const Vector3& position, const Vector3& rotation)
{
    assert(copy < m_placements.size());
    Placement& placement = m_placements[copy];
    if (placement.placed && sameVector(placement.position, position) &&
        sameVector(placement.rotation, rotation))
        return;
    // Launched objects rise every frame, most of the time far out of view: their
    // vertices are worked out only when they are about to be drawn.
    placement = {position, rotation, true, true};
}

void MeshBatch::transform(size_t copy)
{
    Placement& placement = m_placements[copy];
    placement.stale = false;
    double turn[3][3];
    rotationMatrix(placement.rotation, turn);
    const Vector3& position = placement.position;
    const size_t count = m_shape.m_vertices.size();
    const size_t first = copy * count;
    for (size_t i = 0; i < count; ++i) {
        const LineVertex& local = m_shape.m_vertices[i];
        LineVertex& world = m_lines.m_vertices[first + i];
        world.x = static_cast<float>(position.x + turn[0][0] * local.x + turn[0][1] * local.y +
                                     turn[0][2] * local.z);
        world.y = static_cast<float>(position.y + turn[1][0] * local.x + turn[1][1] * local.y +
                                     turn[1][2] * local.z);
        world.z = static_cast<float>(position.z + turn[2][0] * local.x + turn[2][1] * local.y +
                                     turn[2][2] * local.z);
    }
    if (m_changedBegin == m_changedEnd) {
        m_changedBegin = first;
        m_changedEnd = first + count;
    } else {
        m_changedBegin = std::min(m_changedBegin, first);
        m_changedEnd = std::max(m_changedEnd, first + count);
    }
}

void MeshBatch::selectVisible(const ViewVolume& view)
{
    m_visible.clear();
    const size_t indices = m_shape.m_indices.size();
    const uint32_t vertices = static_cast<uint32_t>(m_shape.m_vertices.size());
    for (size_t k = 0; k < m_placements.size(); ++k) {
        const Placement& placement = m_placements[k];
        if (!placement.placed || !view.meetsSphere(placement.position, m_radius))
            continue;
        if (placement.stale)
            transform(k);
        const auto begin = m_lines.m_indices.begin() + static_cast<std::ptrdiff_t>(k * indices);
        if (m_visible.empty())
            m_firstVisible = static_cast<uint32_t>(k) * vertices;
        m_lastVisible = static_cast<uint32_t>(k + 1) * vertices - 1;
        m_visible.insert(m_visible.end(), begin, begin + static_cast<std::ptrdiff_t>(indices));
    }
}

ViewVolume MeshBatch::currentView(const DrawContext& context)
{
    // A line reaches half its width beyond its geometry; one pixel more for the
    // rasteriser's rounding.
    return ViewVolume::current(LINE_WIDTH * context.strokeScale / 2.0f + 1.0f);
}

void MeshBatch::draw(const DrawContext& context)
{
    // The vertices live on the driver's side: the first draw uploads them all, later
    // ones only the span of the copies transformed since (risen ones in view).
    const std::vector<LineVertex>& vertices = m_lines.m_vertices;
    if (!m_buffer.hasStorage())
        m_buffer.upload(vertices.data(), vertices.size() * sizeof(LineVertex));
    else if (m_changedBegin != m_changedEnd)
        m_buffer.replace(m_changedBegin * sizeof(LineVertex), &vertices[m_changedBegin],
                         (m_changedEnd - m_changedBegin) * sizeof(LineVertex));
    m_changedBegin = m_changedEnd = 0;

    const float pixels = static_cast<float>(LINE_WIDTH) * context.strokeScale;
    glLineWidth(pixels);
    if (m_visible.empty())
        return;
    if (context.widensLines(pixels)) {
        context.wideLines->draw(vertices.data(), m_visible.data(), m_visible.size(), pixels);
        return;
    }
    m_buffer.bind();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(LineVertex),
                    reinterpret_cast<const void*>(offsetof(LineVertex, x)));
    glColorPointer(4, GL_FLOAT, sizeof(LineVertex),
                   reinterpret_cast<const void*>(offsetof(LineVertex, r)));
    glDrawRangeElements(GL_LINES, m_firstVisible, m_lastVisible,
                        static_cast<GLsizei>(m_visible.size()), GL_UNSIGNED_INT, m_visible.data());
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    VertexBuffer::unbind();
}
