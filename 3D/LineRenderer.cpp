// LineRenderer: indexed GL_LINES from client-side vertex and colour arrays. Depends on OpenGL 1.1 (through GLEW's header).
#include "3D/LineRenderer.h"

#include <GL/glew.h>
#include <iostream>

#include "3D/WideLines.h"

void LineRenderer::add(const std::vector<LineVertex>& vertices,
                       const std::vector<uint32_t>& indices)
{
    const uint32_t base = static_cast<uint32_t>(m_vertices.size());
    m_vertices.insert(m_vertices.end(), vertices.begin(), vertices.end());
    // No reserve() here: an exact reserve per call defeats the vector's geometric
    // growth, and a grid or a text built from many small adds would copy the
    // whole index list on every call.
    for (uint32_t index : indices)
        m_indices.push_back(index + base);
}

void LineRenderer::addLine(const LineVertex& a, const LineVertex& b)
{
    const uint32_t base = static_cast<uint32_t>(m_vertices.size());
    m_vertices.push_back(a);
    m_vertices.push_back(b);
    m_indices.push_back(base);
    m_indices.push_back(base + 1);
}

void LineRenderer::addLines(const std::vector<LineVertex>& points)
{
    size_t n = points.size();
    if (n % 2 != 0) {
        std::cout
            << "Warning: You are trying to add a odd number to the LineRenderer (last point truncated)"
            << std::endl;
        --n;
    }
    const uint32_t base = static_cast<uint32_t>(m_vertices.size());
    m_vertices.insert(m_vertices.end(), points.begin(), points.begin() + n);
    for (size_t i = 0; i < n; ++i)
        m_indices.push_back(base + static_cast<uint32_t>(i));
}

void LineRenderer::clear()
{
    m_vertices.clear();
    m_indices.clear();
}

void LineRenderer::draw(unsigned int width, const DrawContext& context) const
{
    const float pixels = static_cast<float>(width) * context.strokeScale;
    if (context.widensLines(pixels)) {
        glLineWidth(pixels);  // the state a line draw leaves, whatever the GL makes of it
        context.wideLines->draw(m_vertices.data(), m_indices.data(), m_indices.size(), pixels);
        return;
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    const LineVertex* first = m_vertices.data();
    glVertexPointer(3, GL_FLOAT, sizeof(LineVertex), first ? &first->x : nullptr);
    glColorPointer(4, GL_FLOAT, sizeof(LineVertex), first ? &first->r : nullptr);
    glLineWidth(pixels);
    glDrawElements(GL_LINES, static_cast<GLsizei>(m_indices.size()), GL_UNSIGNED_INT,
                   m_indices.data());
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
