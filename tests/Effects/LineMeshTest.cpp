// Line meshes without GL: the geometry each shape builds, the rise of a launched one,
// and which copies of a batch a view keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "3D/ViewVolume.h"
#include "Effects/LineCube.h"
#include "Effects/LinePyramid.h"
#include "Effects/LineSphere.h"
#include "Effects/MeshBatch.h"

namespace {

const Vector3 ORIGIN = {0.0f, 0.0f, 0.0f};
const Rgb PAINT = {0.25f, 0.5f, 0.75f};

// End `which` (0 or 1) of segment k.
const LineVertex& end(const LineRenderer& lines, size_t k, int which)
{
    return lines.m_vertices.at(lines.m_indices.at(2 * k + which));
}

}  // namespace

TEST(LineMesh, CubeAndPyramidCornersAndEdges)
{
    const LineCube cube({3, 0, 4}, ORIGIN, PAINT, 0.5f);
    ASSERT_EQ(8u, cube.m_lines.m_vertices.size());
    ASSERT_EQ(24u, cube.m_lines.m_indices.size());
    // Local corners at +-h (the position is applied only when drawing); twelve
    // distinct edges, each along one axis.
    std::set<std::pair<float, float>> edges;
    for (size_t k = 0; k < 12; ++k) {
        const LineVertex &a = end(cube.m_lines, k, 0), &b = end(cube.m_lines, k, 1);
        EXPECT_EQ(1, (a.x != b.x) + (a.y != b.y) + (a.z != b.z)) << "edge " << k;
        for (float c : {a.x, a.y, a.z})
            EXPECT_EQ(0.5f, std::fabs(c));
        edges.insert(std::minmax(a.x + 2 * a.y + 4 * a.z, b.x + 2 * b.y + 4 * b.z));
    }
    EXPECT_EQ(12u, edges.size());
    const LineVertex& v = cube.m_lines.m_vertices[5];  // bits 0 and 2 set
    EXPECT_TRUE(v.x == 0.5f && v.y == -0.5f && v.z == 0.5f);
    EXPECT_TRUE(v.r == 0.25f && v.g == 0.5f && v.b == 0.75f && v.a == 1.0f);

    const LinePyramid pyramid(ORIGIN, ORIGIN, PAINT, 0.5f);
    const auto& corners = pyramid.m_lines.m_vertices;
    ASSERT_EQ(5u, corners.size());
    ASSERT_EQ(16u, pyramid.m_lines.m_indices.size());
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(-0.5f, corners[k].y) << "base corner " << k;
    EXPECT_TRUE(corners[4].x == 0 && corners[4].y == 0.75f && corners[4].z == 0);
    EXPECT_EQ(4,
              std::count(pyramid.m_lines.m_indices.begin(), pyramid.m_lines.m_indices.end(), 4u));
}

TEST(LineMesh, SphereIsLatitudeCirclesAroundItsZAxis)
{
    const LineSphere sphere(ORIGIN, ORIGIN, PAINT, 0.5f, 10u);
    ASSERT_EQ(400u, sphere.m_lines.m_vertices.size());
    ASSERT_EQ(400u, sphere.m_lines.m_indices.size());
    std::set<float> latitudes;
    int equatorArcs = 0;
    for (size_t k = 0; k < 200; ++k) {
        const LineVertex &a = end(sphere.m_lines, k, 0), &b = end(sphere.m_lines, k, 1);
        // Both ends on one circle parallel to the x-y plane, on the sphere.
        ASSERT_EQ(a.z, b.z) << "segment " << k;
        const float ring = std::sqrt(0.25f - a.z * a.z);
        EXPECT_NEAR(ring, std::hypot(a.x, a.y), 1e-5f) << "segment " << k;
        EXPECT_NEAR(ring, std::hypot(b.x, b.y), 1e-5f) << "segment " << k;
        latitudes.insert(a.z);
        equatorArcs += a.z == 0.0f;
    }
    // Nine circles from -72 to 72 degrees and the two poles; the equator drawn twice.
    EXPECT_EQ(11u, latitudes.size());
    EXPECT_EQ(20, equatorArcs);
    EXPECT_EQ(-0.5f, *latitudes.begin());
}

TEST(LineMesh, OnlyALaunchedObjectRises)
{
    LineCube resting({10, 0, 20}, ORIGIN, PAINT, 0.5f);
    LineSphere launched({10, 0, 20}, ORIGIN, PAINT, 0.5f, 10u);
    EXPECT_FALSE(resting.m_launched);
    launched.m_launched = true;
    for (int i = 0; i < 100; ++i) {
        resting.update();
        launched.update();
    }
    EXPECT_EQ(0.0f, resting.m_position.y);
    EXPECT_NEAR(5.0f, launched.m_position.y, 1e-4f);
    EXPECT_TRUE(launched.m_position.x == 10.0f && launched.m_position.z == 20.0f);
}

TEST(MeshBatch, KeepsInCopyOrderTheCopiesThatMeetTheWidenedView)
{
    const LineCube cube(ORIGIN, ORIGIN, PAINT, 0.5f);  // bounding radius 0.866
    MeshBatch batch(cube.m_lines, 7);
    // An eye at the origin looking down -z: 90 degrees wide, aspect 1, near 1, far
    // 100, as gluPerspective builds it; the sides widened by 10 %.
    const float clip[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -101.0f / 99, -1, 0, 0, -200.0f / 99, 0};
    const ViewVolume view(clip, 0.1f, 0.1f);
    // At depth 10 the widened right edge is x = 11 and the top edge y = 11.
    batch.place(6, {0, 0, -10}, ORIGIN);      // in the middle
    batch.place(1, {0, 0, 10}, ORIGIN);       // behind the eye
    batch.place(2, {11.5f, 0, -10}, ORIGIN);  // centre outside, corner inside the margin
    batch.place(3, {13.0f, 0, -10}, ORIGIN);  // wholly right of the margin
    batch.place(4, {0, 0, -100.5f}, ORIGIN);  // straddles the far plane
    batch.place(5, {0, 12.5f, -10}, ORIGIN);  // wholly above
    // Copy 0 is never placed: drawn nowhere.
    batch.selectVisible(view);

    std::vector<uint32_t> expected;
    for (uint32_t copy : {2u, 4u, 6u})
        for (uint32_t index : cube.m_lines.m_indices)
            expected.push_back(index + 8 * copy);
    EXPECT_EQ(expected, batch.visibleIndices());

    // Moved out of view, a copy leaves the next selection.
    batch.place(6, {0, 0, 10}, ORIGIN);
    batch.selectVisible(view);
    EXPECT_EQ(std::vector<uint32_t>(expected.begin(), expected.begin() + 48),
              batch.visibleIndices());

    // Copy 1, never in view, is transformed only when it comes into view.
    const LineVertex& corner = batch.lines().m_vertices[8 * 1];
    EXPECT_FLOAT_EQ(-0.5f, corner.z);
    batch.place(1, {0, 0, -20}, ORIGIN);
    batch.selectVisible(view);
    EXPECT_FLOAT_EQ(-20.5f, corner.z);
}
