// WideLines on a real GL context: the quads it draws cover the pixels that the
// GL's own wide lines of the same width cover, seen through a perspective camera,
// at any slope and across the near plane; rebuilding allocates nothing.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include <vector>

#include "3D/GLTestContext.h"
#include "3D/LineRenderer.h"
#include "3D/WideLines.h"

using testgl::Pixel;

namespace {

const int SIZE = 160;  // pixels, square target

void perspectiveView()
{
    glViewport(0, 0, SIZE, SIZE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 0.1, 120.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 3, 10, 0, 0, 0, 0, 1, 0);
}

// Lit pixels of the lines drawn at `pixels` wide with the GL's lines (wide null)
// or as quads.
std::vector<bool> coverage(const LineRenderer& lines, float pixels, WideLines* wide)
{
    const testgl::OffscreenTarget target(SIZE, SIZE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    perspectiveView();
    DrawContext context;
    context.wideLines = wide;
    lines.draw(static_cast<unsigned>(pixels), context);
    std::vector<bool> lit;
    for (const Pixel& p : target.read())
        lit.push_back(p.r > 0);
    return lit;
}

void expectSameCoverage(const LineRenderer& lines, const char* what)
{
    WideLines wide;
    const std::vector<bool> own = coverage(lines, 4.0f, nullptr);
    const std::vector<bool> quads = coverage(lines, 4.0f, &wide);
    int ownCount = 0, quadCount = 0, both = 0;
    for (size_t i = 0; i < own.size(); ++i) {
        ownCount += own[i];
        quadCount += quads[i];
        both += own[i] && quads[i];
    }
    ASSERT_GT(ownCount, 100) << what;
    // The rasterisers round the ends and the edges each their own way: a few
    // pixels differ, all along the outline.
    EXPECT_NEAR(ownCount, quadCount, ownCount * 0.06) << what;
    EXPECT_GT(both, ownCount * 0.9) << what;
}

LineVertex red(float x, float y, float z)
{
    return {x, y, z, 1, 0, 0, 1};
}

}  // namespace

TEST(WideLinesDraw, QuadsCoverWhatTheGLsWideLinesCover)
{
    testgl::engine();
    GLfloat range[2] = {0, 0};
    glGetFloatv(GL_ALIASED_LINE_WIDTH_RANGE, range);
    ASSERT_GE(range[1], 4.0f) << "the reference needs the GL's own 4-pixel lines";

    LineRenderer flat;  // mostly horizontal on the screen: widened vertically
    flat.addLines({red(-4, 0, 0), red(4, 0.5f, 0), red(-4, -2, 2), red(3, -1.5f, -5)});
    expectSameCoverage(flat, "x-major segments");
    LineRenderer steep;  // mostly vertical: widened horizontally
    steep.addLines({red(0, -3, 0), red(0.5f, 3, 0), red(-2, -3, 3), red(-1, 2, -8)});
    expectSameCoverage(steep, "y-major segments");
    LineRenderer diagonal;
    diagonal.addLines({red(-3, -3, 0), red(3, 2.9f, 0), red(3, -3, 0), red(-3, 3.1f, 0)});
    expectSameCoverage(diagonal, "near-diagonal segments");
    // From behind the eye (z = 10) to the far distance: the GL clips at the near
    // plane, the quads must too, or the behind part would fold onto the picture.
    LineRenderer crossing;
    crossing.addLines({red(1, -0.5f, 30), red(-1, -0.5f, -40)});
    expectSameCoverage(crossing, "a segment through the near plane");
}

TEST(WideLinesDraw, SegmentsBehindTheEyeGiveNoQuadAndRebuildsKeepTheStorage)
{
    const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // Under an identity clip matrix the near plane is z = -1.
    const std::vector<LineVertex> points = {red(0, 0, -2), red(0.5f, 0, -3), red(-1, 0, 0),
                                            red(1, 0, 0)};
    const std::vector<uint32_t> indices = {0, 1, 2, 3};
    WideLines wide;
    wide.build(points.data(), indices.data(), indices.size(), identity, 100, 100, 4.0f);
    EXPECT_EQ(1u, wide.quads()) << "only the segment in front of the near plane";

    // Many lines, then as many and fewer again: the storage of the first stays.
    std::vector<uint32_t> many;
    for (int i = 0; i < 500; ++i)
        many.insert(many.end(), {2, 3});
    wide.build(points.data(), many.data(), many.size(), identity, 100, 100, 4.0f);
    ASSERT_EQ(500u, wide.quads());
    const LineVertex* storage = wide.corners().data();
    const size_t capacity = wide.corners().capacity();
    wide.build(points.data(), many.data(), many.size(), identity, 100, 100, 4.0f);
    EXPECT_EQ(storage, wide.corners().data()) << "a rebuild of as many lines reallocated";
    wide.build(points.data(), indices.data(), indices.size(), identity, 100, 100, 4.0f);
    EXPECT_EQ(capacity, wide.corners().capacity()) << "a rebuild of fewer lines let go";
}
