// PointTrail<Curve>: an emitter that drops one point per update on a curve that swirls
// around a centre and drifts away from it as T grows (world units). Each point sinks
// 0.002 and loses 0.005 alpha per update and is dropped once older than 200 updates,
// so a trail holds about 202 live points whatever its capacity. Owns the storage for
// `capacity` points, allocated once at construction: update and draw allocate nothing.
#pragma once

#include <memory>

#include "3D/DrawContext.h"
#include "3D/Vector3.h"
#include "Effects/Colour.h"
#include "Effects/TrailPoint.h"

// The curves. Every trail swirls alike in x and y around its centre:
//   x = cx + T + sin T + sin(T + P),  y = cy + 1 + cos(2T + P);
// a curve gives z - cz and the step of T per update (radians, single precision).
struct SpectrumCurve {
    static constexpr float STEP = 0.01f;
    static float z(float t, float phase);  // T + cos T
};
struct ImpulseCurve {
    static constexpr float STEP = 0.03f;
    static float z(float t, float phase);  // cos T: drifts along x only
};
struct WorldCosCurve {
    static constexpr float STEP = 0.03f;
    static float z(float t, float phase);  // T + P + cos(T + P)
};
struct WorldSinCurve {
    static constexpr float STEP = 0.03f;
    static float z(float t, float phase);  // T + P + sin(T + P)
};

template <typename Curve>
class PointTrail {
public:
    static constexpr unsigned MAX_AGE = 200;  // a point older than this is dropped

    // Points take colour's red, green and blue times 0.3 and its alpha unchanged.
    // capacity >= 0: the most live points; T starts at 0.
    PointTrail(const Vector3& centre, const Colour& colour, int capacity, float phase);

    PointTrail(const PointTrail&) = delete;
    PointTrail& operator=(const PointTrail&) = delete;

    // Ages the live points (dropping the ones past MAX_AGE), emits one point at the
    // curve's position for the current T when there is room, then advances T.
    void update();
    // Points are POINT_WIDTH pixels times the context's stroke scale wide; a width
    // that is not a whole number of pixels gives the light of that width (see draw).
    // GL state: enables then disables the vertex and colour arrays; leaves the point
    // size at the last width drawn. Blending, depth test and matrices are the caller's.
    void draw(const DrawContext& context) const;

    // Where the curve of a trail at centre with phase puts a point for T = t.
    static Vector3 curvePoint(const Vector3& centre, float t, float phase);

    const TrailPoint* points() const { return m_points.get(); }  // the first count() are live
    unsigned count() const { return m_count; }
    unsigned capacity() const { return m_capacity; }
    float t() const { return m_t; }
    const Colour& colour() const { return m_colour; }

private:
    static constexpr float POINT_WIDTH = 3.0f;  // pixels, at stroke scale 1

    // Draws the live points 0, every, 2 every... as squares `width` pixels wide.
    void drawEvery(unsigned every, float width) const;

    std::unique_ptr<TrailPoint[]> m_points;  // m_capacity records; live ones first, unordered
    Vector3 m_centre;
    Colour m_colour;   // colour of every new point
    unsigned m_count;  // live points, <= m_capacity
    float m_t;         // curve parameter T
    float m_phase;     // curve phase P
    unsigned m_capacity;
};

// The four trail kinds, instantiated once in PointTrail.cpp.
extern template class PointTrail<SpectrumCurve>;
extern template class PointTrail<ImpulseCurve>;
extern template class PointTrail<WorldCosCurve>;
extern template class PointTrail<WorldSinCurve>;

using SpectrumTrail = PointTrail<SpectrumCurve>;
using ImpulseTrail = PointTrail<ImpulseCurve>;
using WorldTrailCos = PointTrail<WorldCosCurve>;
using WorldTrailSin = PointTrail<WorldSinCurve>;

// The six trail colours the scenes share, in order: two greens, two blues, yellow, red.
constexpr Colour trailColours[6] = {
    {0.0f, 0.74f, 0.19f, 1.0f},   {0.39f, 0.87f, 0.52f, 1.0f}, {0.19f, 0.086f, 0.72f, 1.0f},
    {0.39f, 0.29f, 0.847f, 1.0f}, {1.0f, 0.8f, 0.0f, 1.0f},    {1.0f, 0.11f, 0.0f, 1.0f},
};
