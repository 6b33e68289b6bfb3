// PointTrail: ageing, emission and drawing shared by the four trail kinds; each kind
// adds only its curve. Depends on OpenGL 1.1 (through GLEW's header).
#include "Effects/PointTrail.h"

#include <GL/glew.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>

float SpectrumCurve::z(float t, float)
{
    return t + std::cos(t);
}

float ImpulseCurve::z(float t, float)
{
    return std::cos(t);
}

float WorldCosCurve::z(float t, float phase)
{
    return t + phase + std::cos(t + phase);
}

float WorldSinCurve::z(float t, float phase)
{
    return t + phase + std::sin(t + phase);
}

template <typename Curve>
PointTrail<Curve>::PointTrail(const Vector3& centre, const Colour& colour, int capacity,
                              float phase)
    : m_centre(centre), m_colour{0.3f * colour.r, 0.3f * colour.g, 0.3f * colour.b, colour.a},
      m_count(0), m_t(0.0f), m_phase(phase),
      m_capacity(capacity > 0 ? static_cast<unsigned>(capacity) : 0u)
{
    // A negative capacity is a caller's mistake, not a request for a huge array.
    assert(capacity >= 0);
    m_points = std::make_unique<TrailPoint[]>(m_capacity);
}

template <typename Curve>
Vector3 PointTrail<Curve>::curvePoint(const Vector3& centre, float t, float phase)
{
    return Vector3{centre.x + t + std::sin(t) + std::sin(t + phase),
                   centre.y + 1.0f + std::cos(2.0f * t + phase), centre.z + Curve::z(t, phase)};
}

template <typename Curve>
void PointTrail<Curve>::update()
{
    TrailPoint* const points = m_points.get();
    // Removal copies the last live point into the freed slot; that point is not
    // aged in this update, as the walk has moved past the slot.
    for (unsigned j = 0; j < m_count; ++j) {
        TrailPoint& p = points[j];
        if (p.age > MAX_AGE) {
            p = points[m_count - 1];
            --m_count;
        } else {
            ++p.age;
            p.y -= 0.002f;
            p.a -= 0.005f;
        }
    }

    if (m_count < m_capacity) {
        const Vector3 at = curvePoint(m_centre, m_t, m_phase);
        points[m_count] =
            TrailPoint{at.x, at.y, at.z, m_colour.r, m_colour.g, m_colour.b, m_colour.a, 0};
        ++m_count;
    }
    m_t += Curve::STEP;
}

template <typename Curve>
void PointTrail<Curve>::draw(const DrawContext& context) const
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    // A square point is a whole number of pixels wide: the half-size copy's 1.5
    // would be drawn 1 or 2 pixels wide, with 0.44 or 1.8 times the light that the
    // full-size copy's 3-pixel point gives its glow. So every point is drawn the
    // whole pixels narrower, and every k-th once more a pixel wider, k such that
    // the light of a point comes to about its true width squared.
    const float width = POINT_WIDTH * context.strokeScale;
    const float narrow = std::max(1.0f, std::floor(width));
    drawEvery(1, narrow);
    if (width > narrow) {
        const float wide = narrow + 1.0f;
        const long every = std::lround(wide * wide / (width * width - narrow * narrow));
        drawEvery(static_cast<unsigned>(std::max(1L, every)), wide);
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

template <typename Curve>
void PointTrail<Curve>::drawEvery(unsigned every, float width) const
{
    const TrailPoint* first = m_points.get();
    const GLsizei stride = static_cast<GLsizei>(every * sizeof(TrailPoint));
    glVertexPointer(3, GL_FLOAT, stride, first ? &first->x : nullptr);
    glColorPointer(4, GL_FLOAT, stride, first ? &first->r : nullptr);
    glPointSize(width);
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>((m_count + every - 1) / every));
}

template class PointTrail<SpectrumCurve>;
template class PointTrail<ImpulseCurve>;
template class PointTrail<WorldCosCurve>;
template class PointTrail<WorldSinCurve>;
