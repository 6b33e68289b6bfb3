// Point trails drawn on a real GL context: where the points land, their colour, the
// state left behind, and the additive blending the scenes draw them with.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <vector>

#include "3D/GLTestContext.h"
#include "Effects/AdditiveBlend.h"
#include "Effects/PointTrail.h"

using testgl::Pixel;

namespace {

const float SCALE = 20.0f;  // pixels per world unit in x and y

// A cleared target with SCALE pixels per unit from the bottom left; z kept in the clip volume.
std::unique_ptr<testgl::OffscreenTarget> scaledTarget()
{
    testgl::engine();
    auto target = testgl::newWindowSizedTarget();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, target->width, 0, target->height, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(SCALE, SCALE, 1.0f);
    return target;
}

const Pixel& pixelUnder(const std::vector<Pixel>& pixels, int width, const TrailPoint& p)
{
    return pixels[static_cast<size_t>(std::floor(p.y * SCALE)) * width +
                  static_cast<size_t>(std::floor(p.x * SCALE))];
}

}  // namespace

TEST(PointTrailDraw, PointsLandOnTheCurveWithTheirColour)
{
    const auto target = scaledTarget();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    ImpulseTrail trail({3.0f, 3.0f, 0.0f}, {1.0f, 0.5f, 0.0f, 1.0f}, 500, 0.0f);
    for (int i = 0; i < 60; ++i)
        trail.update();
    trail.draw(DrawContext());
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    GLfloat size = 0;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(3.0f, size);
    // A picture at half the window's size: points half as wide (drawn before the
    // read-back below, over the same pixels).
    trail.draw(DrawContext{0.5f});

    const std::vector<Pixel> pixels = target->read();
    // Each point lights the pixel under it; the newest, drawn last, shows its own
    // colour, 0.3 of the trail's.
    for (unsigned j = 0; j < trail.count(); ++j)
        EXPECT_NE(0, pixelUnder(pixels, target->width, trail.points()[j]).r) << "point " << j;
    const Pixel& newest = pixelUnder(pixels, target->width, trail.points()[59]);
    EXPECT_NEAR(76.5, newest.r, 1.0);
    EXPECT_NEAR(38.25, newest.g, 1.0);
    EXPECT_EQ(0, newest.b);
    // Nothing is lit away from the points (size 3: one pixel around the centre).
    for (int py = 0; py < target->height; ++py)
        for (int px = 0; px < target->width; ++px) {
            const Pixel& p = pixels[static_cast<size_t>(py) * target->width + px];
            if (p.r == 0 && p.g == 0 && p.b == 0)
                continue;
            bool near = false;
            for (unsigned j = 0; j < trail.count() && !near; ++j)
                near = std::fabs(trail.points()[j].x * SCALE - (px + 0.5f)) <= 2.0f &&
                       std::fabs(trail.points()[j].y * SCALE - (py + 0.5f)) <= 2.0f;
            EXPECT_TRUE(near) << "stray pixel at " << px << ", " << py;
        }
}

TEST(PointTrailDraw, AdditiveBlendWeighsByAlphaAddsAndPutsTheFrameStateBack)
{
    const auto target = scaledTarget();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    SpectrumTrail trail({3.0f, 3.0f, 0.0f}, {1.0f, 0.0f, 0.0f, 0.5f}, 1, 0.0f);
    trail.update();  // one point at (3, 5), colour (0.3, 0, 0, 0.5)
    {
        const AdditiveBlend additive;
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
        trail.draw(DrawContext());
        trail.draw(DrawContext());  // twice: 2 x 0.3 x 0.5 of full red
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_NEAR(76.5, pixelUnder(target->read(), target->width, trail.points()[0]).r, 2.0);

    // At half size the points of a trail give a quarter of the light, as the glow
    // they feed covers a quarter of the pixels: 1.5-pixel points are not simply
    // rounded to 1 or 2 pixels. Faint, so that the sums stay below white.
    ImpulseTrail faint({3.0f, 3.0f, 0.0f}, {1.0f, 0.0f, 0.0f, 0.1f}, 500, 0.0f);
    for (int i = 0; i < 60; ++i)
        faint.update();
    auto light = [&](float strokeScale) {
        glClear(GL_COLOR_BUFFER_BIT);
        {
            const AdditiveBlend additive;
            faint.draw(DrawContext{strokeScale});
        }
        int sum = 0;
        for (const Pixel& p : target->read())
            sum += p.r;
        return static_cast<double>(sum);
    };
    EXPECT_NEAR(0.25, light(0.5f) / light(1.0f), 0.03);
}
