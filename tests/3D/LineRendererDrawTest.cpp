// LineRenderer drawing on a real GL context: state it leaves, and where the
// pixels of an indexed line set land in an off-screen target.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include "3D/GLTestContext.h"
#include "3D/LineRenderer.h"

using testgl::Pixel;

namespace {

bool isRed(const Pixel& p)
{
    return p.r == 255 && p.g == 0 && p.b == 0;
}

bool isBlack(const Pixel& p)
{
    return p.r == 0 && p.g == 0 && p.b == 0;
}

// Pixel coordinates: one world unit per pixel, origin at the bottom left.
void pixelProjection(int width, int height)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, width, 0, height);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace

TEST(LineRendererDraw, EmptyRendererDrawsNothingAndLeavesTheArraysOff)
{
    testgl::engine();
    const auto target = testgl::newWindowSizedTarget();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    LineRenderer empty;
    empty.draw(4, DrawContext());
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    // The width stays in effect after the call.
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(4.0f, width);
    empty.draw(4, DrawContext{0.5f});
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(2.0f, width) << "times the stroke scale";

    for (const Pixel& p : target->read())
        ASSERT_TRUE(isBlack(p));
}

TEST(LineRendererDraw, RedLineLandsOnItsRowAndNowhereElse)
{
    testgl::engine();
    const auto target = testgl::newWindowSizedTarget();
    const int w = target->width;
    const int h = target->height;
    const int row = h / 2;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    pixelProjection(w, h);

    // A horizontal line through the centres of one row of pixels, from beyond the
    // left edge to beyond the right edge. The colours differ from the positions,
    // so a wrong colour offset or stride shows up as a wrong colour.
    const float y = row + 0.5f;
    LineRenderer renderer;
    renderer.addLine({-2.0f, y, 0.0f, 1, 0, 0, 1}, {w + 2.0f, y, 0.0f, 1, 0, 0, 1});
    renderer.draw(1, DrawContext());
    glFinish();

    const std::vector<Pixel> pixels = target->read();
    int redCount = 0;
    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            const Pixel& p = pixels[static_cast<size_t>(py) * w + px];
            if (py == row) {
                EXPECT_TRUE(isRed(p)) << "x " << px;
            } else {
                EXPECT_TRUE(isBlack(p)) << "x " << px << " y " << py;
            }
            redCount += isRed(p) ? 1 : 0;
        }
    }
    EXPECT_EQ(w, redCount);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(LineRendererDraw, IndicesChooseWhichVerticesAreJoined)
{
    testgl::engine();
    const auto target = testgl::newWindowSizedTarget();
    const int w = target->width;
    const int h = target->height;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    pixelProjection(w, h);

    // Vertex 1 sits in the middle of the picture but no index names it: the only
    // segment joins vertices 2 and 0, a vertical line in column 10.
    LineRenderer renderer;
    renderer.add({{10.5f, -2.0f, 0, 1, 0, 0, 1},
                  {w / 2.0f, h / 2.0f, 0, 1, 0, 0, 1},
                  {10.5f, h + 2.0f, 0, 1, 0, 0, 1}},
                 {2, 0});
    renderer.draw(1, DrawContext());
    glFinish();

    const std::vector<Pixel> pixels = target->read();
    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            const Pixel& p = pixels[static_cast<size_t>(py) * w + px];
            if (px == 10)
                ASSERT_TRUE(isRed(p)) << "y " << py;
            else
                ASSERT_TRUE(isBlack(p)) << "x " << px << " y " << py;
        }
    }
}
