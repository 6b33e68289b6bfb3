// WideLines: segments clipped and widened in clip space on the CPU, mapped back
// through the inverse clip matrix. Depends on OpenGL 1.1 (through GLEW's header).
#include "3D/WideLines.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

namespace {

struct ClipPoint {
    double x, y, z, w;
    float r, g, b, a;
};

ClipPoint toClip(const double m[16], const LineVertex& v)
{
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12],
            m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13],
            m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14],
            m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15],
            v.r,
            v.g,
            v.b,
            v.a};
}

ClipPoint between(const ClipPoint& p, const ClipPoint& q, double t)
{
    const auto mix = [t](double a, double b) { return a + (b - a) * t; };
    const auto mixf = [t](float a, float b) { return static_cast<float>(a + (b - a) * t); };
    return {mix(p.x, q.x),  mix(p.y, q.y),  mix(p.z, q.z),  mix(p.w, q.w),
            mixf(p.r, q.r), mixf(p.g, q.g), mixf(p.b, q.b), mixf(p.a, q.a)};
}

// inverse = m^-1 (column-major 4 x 4) by Gauss-Jordan elimination with partial
// pivoting; false for a singular matrix.
bool invert(const double m[16], double inverse[16])
{
    double a[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m[4 * c + r];
            a[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        if (a[pivot][c] == 0.0)
            return false;
        std::swap(a[c], a[pivot]);
        const double scale = 1.0 / a[c][c];
        for (double& v : a[c])
            v *= scale;
        for (int r = 0; r < 4; ++r) {
            if (r == c)
                continue;
            const double f = a[r][c];
            for (int k = 0; k < 8; ++k)
                a[r][k] -= f * a[c][k];
        }
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            inverse[4 * c + r] = a[r][c + 4];
    return true;
}

}  // namespace

WideLines::WideLines() : m_triangles(CHUNK_QUADS * 6)
{
    for (size_t q = 0; q < CHUNK_QUADS; ++q) {
        const uint16_t first = static_cast<uint16_t>(4 * q);
        const uint16_t quad[6] = {
            first, static_cast<uint16_t>(first + 1), static_cast<uint16_t>(first + 2),
            first, static_cast<uint16_t>(first + 2), static_cast<uint16_t>(first + 3)};
        std::copy(quad, quad + 6, m_triangles.begin() + static_cast<std::ptrdiff_t>(6 * q));
    }
}

void WideLines::build(const LineVertex* vertices, const uint32_t* indices, size_t indexCount,
                      const double clip[16], int viewportWidth, int viewportHeight, float width)
{
    m_corners.clear();
    double back[16];
    if (viewportWidth <= 0 || viewportHeight <= 0 || !invert(clip, back))
        return;
    // Clip units per pixel at w = 1: the viewport spans 2 in normalised device units.
    const double unitX = 2.0 / viewportWidth, unitY = 2.0 / viewportHeight;
    const double half = 0.5 * width;
    const auto addCorner = [&](const ClipPoint& p, double offsetX, double offsetY) {
        const double x = p.x + offsetX * p.w, y = p.y + offsetY * p.w;
        const double ox = back[0] * x + back[4] * y + back[8] * p.z + back[12] * p.w;
        const double oy = back[1] * x + back[5] * y + back[9] * p.z + back[13] * p.w;
        const double oz = back[2] * x + back[6] * y + back[10] * p.z + back[14] * p.w;
        const double ow = back[3] * x + back[7] * y + back[11] * p.z + back[15] * p.w;
        m_corners.push_back({static_cast<float>(ox / ow), static_cast<float>(oy / ow),
                             static_cast<float>(oz / ow), p.r, p.g, p.b, p.a});
    };
    for (size_t i = 0; i + 1 < indexCount; i += 2) {
        ClipPoint p = toClip(clip, vertices[indices[i]]);
        ClipPoint q = toClip(clip, vertices[indices[i + 1]]);
        // The near plane keeps z >= -w; past it the ends have no place on the screen.
        const double dp = p.z + p.w, dq = q.z + q.w;
        if (dp < 0.0 && dq < 0.0)
            continue;
        if (dp < 0.0)
            p = between(p, q, dp / (dp - dq));
        else if (dq < 0.0)
            q = between(q, p, dq / (dq - dp));
        if (p.w <= 0.0 || q.w <= 0.0)
            continue;
        // Pixels between the ends decide the minor axis, which the width spans.
        const double dx = (q.x / q.w - p.x / p.w) / unitX;
        const double dy = (q.y / q.w - p.y / p.w) / unitY;
        const double offsetX = std::fabs(dx) >= std::fabs(dy) ? 0.0 : half * unitX;
        const double offsetY = std::fabs(dx) >= std::fabs(dy) ? half * unitY : 0.0;
        addCorner(p, -offsetX, -offsetY);
        addCorner(p, offsetX, offsetY);
        addCorner(q, offsetX, offsetY);
        addCorner(q, -offsetX, -offsetY);
    }
}

void WideLines::draw(const LineVertex* vertices, const uint32_t* indices, size_t indexCount,
                     float width)
{
    float projection[16], modelview[16];
    GLint viewport[4] = {0, 0, 0, 0};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetIntegerv(GL_VIEWPORT, viewport);
    double clip[16];
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += static_cast<double>(projection[4 * k + row]) * modelview[4 * column + k];
            clip[4 * column + row] = sum;
        }
    build(vertices, indices, indexCount, clip, viewport[2], viewport[3], width);

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    // One call per chunk, each with its arrays starting at its first corner: 16-bit
    // indices reach every corner, and a GL that copies client arrays per call copies
    // one chunk's worth.
    for (size_t first = 0; first < quads(); first += CHUNK_QUADS) {
        const LineVertex* corner = &m_corners[4 * first];
        const size_t count = std::min(CHUNK_QUADS, quads() - first);
        glVertexPointer(3, GL_FLOAT, sizeof(LineVertex), &corner->x);
        glColorPointer(4, GL_FLOAT, sizeof(LineVertex), &corner->r);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(6 * count), GL_UNSIGNED_SHORT,
                       m_triangles.data());
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
