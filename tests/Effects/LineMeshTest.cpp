// Line meshes without GL: the geometry each shape builds, its colour, and the rise
// of a launched object.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>
#include <utility>

#include "Effects/LineCube.h"
#include "Effects/LinePyramid.h"
#include "Effects/LineSphere.h"

namespace {

const Vector3 kOrigin = {0.0f, 0.0f, 0.0f};
const Rgb kGrey = {0.25f, 0.5f, 0.75f};

// Segment k of a renderer as its two vertices.
const LineVertex& end(const LineRenderer& lines, size_t segment, int which)
{
    return lines.m_vertices.at(lines.m_indices.at(2 * segment + which));
}

void expectPainted(const LineRenderer& lines)
{
    for (const LineVertex& v : lines.m_vertices) {
        ASSERT_EQ(kGrey.r, v.r);
        ASSERT_EQ(kGrey.g, v.g);
        ASSERT_EQ(kGrey.b, v.b);
        ASSERT_EQ(1.0f, v.a);
    }
}

}  // namespace

TEST(LineMesh, CubeSpansItsHalfSizeWithTwelveAxisEdges)
{
    const LineCube cube({3, 0, 4}, kOrigin, kGrey, 0.5f);
    const LineRenderer& lines = cube.m_lines;
    ASSERT_EQ(8u, lines.m_vertices.size());
    ASSERT_EQ(24u, lines.m_indices.size());
    expectPainted(lines);
    // The geometry stays local: the position is applied only when drawing.
    std::set<float> xs, ys, zs;
    for (const LineVertex& v : lines.m_vertices) {
        xs.insert(v.x);
        ys.insert(v.y);
        zs.insert(v.z);
    }
    const std::set<float> span = {-0.5f, 0.5f};
    EXPECT_EQ(span, xs);
    EXPECT_EQ(span, ys);
    EXPECT_EQ(span, zs);
    // Twelve distinct edges, each along one axis with length 2h.
    std::set<std::pair<uint32_t, uint32_t>> edges;
    for (size_t k = 0; k < 12; ++k) {
        const LineVertex& a = end(lines, k, 0);
        const LineVertex& b = end(lines, k, 1);
        const int differing = (a.x != b.x) + (a.y != b.y) + (a.z != b.z);
        EXPECT_EQ(1, differing) << "edge " << k;
        edges.insert(std::minmax(lines.m_indices[2 * k], lines.m_indices[2 * k + 1]));
    }
    EXPECT_EQ(12u, edges.size());
    EXPECT_EQ(-0.5f, lines.m_vertices[0].x);
    EXPECT_EQ(0.5f, lines.m_vertices[1].x);
    EXPECT_EQ(0.5f, lines.m_vertices[2].y);
}

TEST(LineMesh, PyramidHasASquareBaseAndAnApexJoinedToEachCorner)
{
    const LinePyramid pyramid(kOrigin, kOrigin, kGrey, 0.5f);
    const LineRenderer& lines = pyramid.m_lines;
    ASSERT_EQ(5u, lines.m_vertices.size());
    ASSERT_EQ(16u, lines.m_indices.size());
    expectPainted(lines);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(-0.5f, lines.m_vertices[k].y) << "base corner " << k;
        EXPECT_EQ(0.5f, std::fabs(lines.m_vertices[k].x));
        EXPECT_EQ(0.5f, std::fabs(lines.m_vertices[k].z));
    }
    const LineVertex& apex = lines.m_vertices[4];
    EXPECT_EQ(0.0f, apex.x);
    EXPECT_EQ(0.75f, apex.y);
    EXPECT_EQ(0.0f, apex.z);
    // Four slanted edges to the apex, four base edges of length 2s.
    int toApex = 0;
    for (size_t k = 0; k < 8; ++k) {
        const LineVertex& a = end(lines, k, 0);
        const LineVertex& b = end(lines, k, 1);
        if (lines.m_indices[2 * k] == 4 || lines.m_indices[2 * k + 1] == 4) {
            ++toApex;
        } else {
            EXPECT_EQ(-0.5f, b.y);
            EXPECT_FLOAT_EQ(1.0f, std::fabs(a.x - b.x) + std::fabs(a.z - b.z)) << "base edge " << k;
        }
    }
    EXPECT_EQ(4, toApex);
}

TEST(LineMesh, SphereIsLatitudeCirclesAroundItsZAxis)
{
    const LineSphere sphere(kOrigin, kOrigin, kGrey, 0.5f, 10u);
    const LineRenderer& lines = sphere.m_lines;
    ASSERT_EQ(400u, lines.m_vertices.size());
    ASSERT_EQ(400u, lines.m_indices.size());
    expectPainted(lines);

    std::set<float> latitudes;
    int equatorArcs = 0;
    for (size_t k = 0; k < 200; ++k) {
        const LineVertex& a = end(lines, k, 0);
        const LineVertex& b = end(lines, k, 1);
        // Both ends on one circle parallel to the x-y plane, of the sphere's radius there.
        ASSERT_EQ(a.z, b.z) << "segment " << k;
        const float ring = std::sqrt(0.25f - a.z * a.z);
        EXPECT_NEAR(ring, std::hypot(a.x, a.y), 1e-5f) << "segment " << k;
        EXPECT_NEAR(ring, std::hypot(b.x, b.y), 1e-5f) << "segment " << k;
        latitudes.insert(a.z);
        if (a.z == 0.0f) {
            ++equatorArcs;
            EXPECT_FLOAT_EQ(0.5f, std::hypot(a.x, a.y));
        }
    }
    // Nine circles from -72 to 72 degrees and the two poles; the equator's ten arcs twice.
    EXPECT_EQ(11u, latitudes.size());
    EXPECT_EQ(20, equatorArcs);
    EXPECT_EQ(-0.5f, *latitudes.begin());
    EXPECT_NEAR(0.5f * std::sin(72 * M_PI / 180), *std::next(latitudes.rbegin()), 1e-6);
}

TEST(LineMesh, OnlyALaunchedObjectRises)
{
    LineCube resting({10, 0, 20}, kOrigin, kGrey, 0.5f);
    LineSphere launched({10, 0, 20}, kOrigin, kGrey, 0.5f, 10u);
    EXPECT_FALSE(resting.m_launched);
    launched.m_launched = true;
    const float firstZ = launched.m_lines.m_vertices.front().z;
    for (int i = 0; i < 100; ++i) {
        resting.update();
        launched.update();
    }
    EXPECT_EQ(0.0f, resting.m_position.y);
    EXPECT_NEAR(5.0f, launched.m_position.y, 1e-4f);
    EXPECT_EQ(10.0f, launched.m_position.x);
    EXPECT_EQ(20.0f, launched.m_position.z);
    // The geometry is not touched by the rise.
    EXPECT_EQ(firstZ, launched.m_lines.m_vertices.front().z);
    EXPECT_EQ(400u, launched.m_lines.m_vertices.size());
}
