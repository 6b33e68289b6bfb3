// LineRenderer list building: index shifting, odd point lists, capacity kept by clear.
#include <gtest/gtest.h>

#include "3D/LineRenderer.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

LineVertex vertex(float x)
{
    return {x, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f};
}

const char* const ODD_WARNING =
    "Warning: You are trying to add a odd number to the LineRenderer (last point truncated)\n";

}  // namespace

TEST(LineRendererLists, AddShiftsIndicesByTheVerticesAlreadyHeld)
{
    LineRenderer renderer;
    renderer.add({vertex(0), vertex(1), vertex(2), vertex(3)}, {0, 1, 2, 3});
    renderer.add({vertex(4), vertex(5)}, {0, 1});

    ASSERT_EQ(6u, renderer.m_vertices.size());
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3, 4, 5}), renderer.m_indices);
    // Vertices are appended in order, untouched.
    for (size_t i = 0; i < renderer.m_vertices.size(); ++i)
        EXPECT_FLOAT_EQ(static_cast<float>(i), renderer.m_vertices[i].x);

    // Shared vertices: indices may repeat and come in any order.
    renderer.add({vertex(6), vertex(7), vertex(8)}, {2, 0, 0, 1});
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 8, 6, 6, 7}), renderer.m_indices);
}

TEST(LineRendererLists, AddLineAppendsOneSegment)
{
    LineRenderer renderer;
    renderer.addLine(vertex(0), vertex(1));
    renderer.addLine(vertex(2), vertex(3));
    EXPECT_EQ(4u, renderer.m_vertices.size());
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3}), renderer.m_indices);
    EXPECT_FLOAT_EQ(3.0f, renderer.m_vertices[3].x);
}

TEST(LineRendererLists, AddLinesPairsPointsAndDropsAnOddLastOne)
{
    LineRenderer renderer;
    renderer.addLine(vertex(-2), vertex(-1));

    CaptureStdout();
    renderer.addLines({vertex(0), vertex(1), vertex(2), vertex(3), vertex(4)});
    EXPECT_EQ(ODD_WARNING, GetCapturedStdout());

    ASSERT_EQ(6u, renderer.m_vertices.size());
    EXPECT_FLOAT_EQ(3.0f, renderer.m_vertices.back().x);  // the fifth point is gone
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3, 4, 5}), renderer.m_indices);

    // A single point is odd too: warning, nothing added.
    CaptureStdout();
    renderer.addLines({vertex(9)});
    EXPECT_EQ(ODD_WARNING, GetCapturedStdout());
    EXPECT_EQ(6u, renderer.m_vertices.size());
    EXPECT_EQ(6u, renderer.m_indices.size());
}

TEST(LineRendererLists, AddLinesWithEvenOrNoPointsIsSilent)
{
    LineRenderer renderer;
    CaptureStdout();
    renderer.addLines({});
    EXPECT_TRUE(renderer.m_vertices.empty());
    EXPECT_TRUE(renderer.m_indices.empty());
    renderer.addLines({vertex(0), vertex(1)});
    EXPECT_EQ("", GetCapturedStdout());
    EXPECT_EQ((std::vector<uint32_t>{0, 1}), renderer.m_indices);
}

TEST(LineRendererLists, ClearEmptiesButKeepsCapacity)
{
    LineRenderer renderer;
    for (int i = 0; i < 50; ++i)
        renderer.addLine(vertex(0), vertex(1));
    const size_t vertexCapacity = renderer.m_vertices.capacity();
    const size_t indexCapacity = renderer.m_indices.capacity();
    const LineVertex* storage = renderer.m_vertices.data();

    renderer.clear();
    EXPECT_TRUE(renderer.m_vertices.empty());
    EXPECT_TRUE(renderer.m_indices.empty());
    EXPECT_EQ(vertexCapacity, renderer.m_vertices.capacity());
    EXPECT_EQ(indexCapacity, renderer.m_indices.capacity());

    // Refilling with the same amount reuses the same storage: no allocation per frame.
    for (int i = 0; i < 50; ++i)
        renderer.addLine(vertex(0), vertex(1));
    EXPECT_EQ(storage, renderer.m_vertices.data());

    // Indices restart from 0 after a clear.
    renderer.clear();
    renderer.add({vertex(0), vertex(1)}, {1, 0});
    EXPECT_EQ((std::vector<uint32_t>{1, 0}), renderer.m_indices);
}

TEST(LineRendererLists, ManySmallAddsReallocateRarely)
{
    // A 100 x 100 grid built segment by segment: the index list must grow
    // geometrically, not be copied on every call.
    LineRenderer renderer;
    int reallocations = 0;
    const uint32_t* storage = renderer.m_indices.data();
    for (int i = 0; i < 10000; ++i) {
        renderer.add({vertex(0), vertex(1)}, {0, 1});
        if (renderer.m_indices.data() != storage) {
            ++reallocations;
            storage = renderer.m_indices.data();
        }
    }
    EXPECT_EQ(20000u, renderer.m_indices.size());
    EXPECT_LT(reallocations, 40);
}
