// Point trails drawn on a real GL context: where the points land, their colour, the
// client state left behind, and the additive blending the scenes draw them with.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "3D/GLTestContext.h"
#include "Effects/AdditiveBlend.h"
#include "Effects/PointTrail.h"

using testgl::Pixel;

namespace {

const float kScale = 20.0f;  // pixels per world unit

// x and y in world units map to kScale pixels each from the bottom left; z is kept
// well inside the clip volume.
void scaledProjection(int width, int height)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(kScale, kScale, 1.0f);
}

bool isLit(const Pixel& p)
{
    return p.r != 0 || p.g != 0 || p.b != 0;
}

}  // namespace

TEST(PointTrailDraw, PointsLandOnTheCurveWithTheirColour)
{
    testgl::engine();
    const auto target = testgl::newWindowSizedTarget();
    const int w = target->width;
    const int h = target->height;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    scaledProjection(w, h);

    ImpulseTrail trail({3.0f, 3.0f, 0.0f}, {1.0f, 0.5f, 0.0f, 1.0f}, 500, 0.0f);
    for (int i = 0; i < 60; ++i)
        trail.update();
    trail.draw();
    glFinish();
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    GLfloat size = 0;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(3.0f, size);

    const std::vector<Pixel> pixels = target->read();
    auto at = [&](const TrailPoint& p) -> const Pixel& {
        const int px = static_cast<int>(std::floor(p.x * kScale));
        const int py = static_cast<int>(std::floor(p.y * kScale));
        return pixels[static_cast<size_t>(py) * w + px];
    };
    // Every point lights the pixel under its centre.
    ASSERT_EQ(60u, trail.count());
    for (unsigned j = 0; j < trail.count(); ++j)
        EXPECT_TRUE(isLit(at(trail.points()[j]))) << "point " << j;
    // The newest point is drawn last: its own colour, 0.3 of the trail's, is on top.
    const Pixel& newest = at(trail.points()[trail.count() - 1]);
    EXPECT_NEAR(76.5, newest.r, 1.0);
    EXPECT_NEAR(38.25, newest.g, 1.0);
    EXPECT_EQ(0, newest.b);

    // Nothing is lit away from the points (a point of size 3 covers one pixel around its centre).
    int lit = 0;
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) {
            if (!isLit(pixels[static_cast<size_t>(py) * w + px]))
                continue;
            ++lit;
            bool near = false;
            for (unsigned j = 0; j < trail.count() && !near; ++j) {
                const TrailPoint& p = trail.points()[j];
                near = std::abs(p.x * kScale - (px + 0.5f)) <= 2.0f &&
                       std::abs(p.y * kScale - (py + 0.5f)) <= 2.0f;
            }
            EXPECT_TRUE(near) << "stray pixel at " << px << ", " << py;
        }
    EXPECT_GE(lit, 60);
}

TEST(PointTrailDraw, AdditiveBlendAddsAndPutsTheFrameStateBack)
{
    testgl::engine();
    const auto target = testgl::newWindowSizedTarget();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    scaledProjection(target->width, target->height);

    SpectrumTrail trail({3.0f, 3.0f, 0.0f}, {1.0f, 0.0f, 0.0f, 1.0f}, 1, 0.0f);
    trail.update();  // one point at (3, 5), colour (0.3, 0, 0, 1)
    {
        const AdditiveBlend additive;
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
        GLint source = 0, destination = 0;
        glGetIntegerv(GL_BLEND_SRC_RGB, &source);
        glGetIntegerv(GL_BLEND_DST_RGB, &destination);
        EXPECT_EQ(GL_SRC_ALPHA, source);
        EXPECT_EQ(GL_ONE, destination);
        trail.draw();
        trail.draw();  // the same point twice adds up to twice its colour
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glFinish();

    const std::vector<Pixel> pixels = target->read();
    const Pixel& p = pixels[static_cast<size_t>(5 * kScale) * target->width + static_cast<int>(3 * kScale)];
    EXPECT_NEAR(153, p.r, 2);
    EXPECT_EQ(0, p.g);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
