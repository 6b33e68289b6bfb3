// What reaches the screen: a 640x480 full-screen frame on the larger Xvfb screen
// (1920x1080) must show whole, each quadrant in its place, on every run.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <algorithm>
#include <cstdlib>
#include <map>

#include "Zembra/Engine.h"
#include "Zembra/Window.h"
#include "support/Process.h"
#include "support/XwdImage.h"

namespace {

struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;  // inclusive, screen pixels
    long count = 0;
    int width() const { return x1 - x0 + 1; }
    int height() const { return y1 - y0 + 1; }
    bool empty() const { return count == 0; }
};

enum Colour { RED, GREEN, BLUE, WHITE, OTHER, BLACK };

Colour classify(const XwdImage::Rgb& p)
{
    const bool r = p.r > 200, g = p.g > 200, b = p.b > 200;
    const bool rLow = p.r < 50, gLow = p.g < 50, bLow = p.b < 50;
    if (rLow && gLow && bLow)
        return BLACK;
    if (r && gLow && bLow)
        return RED;
    if (rLow && g && bLow)
        return GREEN;
    if (rLow && gLow && b)
        return BLUE;
    if (r && g && b)
        return WHITE;
    return OTHER;
}

// Top-left red, top-right green, bottom-left blue, bottom-right white (screen view;
// GL's origin is the bottom-left corner).
void drawQuadrants(int w, int h)
{
    glEnable(GL_SCISSOR_TEST);
    const struct {
        int x, y, w, h;
        float r, g, b;
    } quads[] = {
        {0, h / 2, w / 2, h - h / 2, 1, 0, 0},
        {w / 2, h / 2, w - w / 2, h - h / 2, 0, 1, 0},
        {0, 0, w / 2, h / 2, 0, 0, 1},
        {w / 2, 0, w - w / 2, h / 2, 1, 1, 1},
    };
    for (const auto& q : quads) {
        glScissor(q.x, q.y, q.w, q.h);
        glClearColor(q.r, q.g, q.b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
}

// Shows the pattern, screenshots the root window and checks the four quadrants.
void expectWholeFrameOnScreen(int width, int height)
{
    testing::internal::CaptureStdout();
    Engine engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, width, height, "screen");
    testing::internal::GetCapturedStdout();
    // The window's own frame buffer must be the one bound after the mode is set.
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(0, bound);

    // A few frames, so the X server has the final one whatever the swap latency.
    for (int i = 0; i < 3; ++i) {
        drawQuadrants(engine.getWindow()->getWidth(), engine.getWindow()->getHeight());
        engine.getWindow()->flip();
        glFinish();
        SDL_Delay(50);
    }

    XwdImage shot;
    ASSERT_TRUE(shot.captureRoot()) << shot.error();
    Box boxes[4];
    long others = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const Colour c = classify(shot.pixel(x, y));
            if (c == OTHER) {
                ++others;
            } else if (c != BLACK) {
                Box& b = boxes[c];
                b.x0 = std::min(b.x0, x);
                b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x);
                b.y1 = std::max(b.y1, y);
                ++b.count;
            }
        }
    }
    const char* names[] = {"red (top-left)", "green (top-right)", "blue (bottom-left)",
                           "white (bottom-right)"};
    for (int c = RED; c <= WHITE; ++c) {
        ASSERT_FALSE(boxes[c].empty()) << names[c] << " quadrant missing from the screen";
        // A quadrant is one solid rectangle: nothing of another colour inside it.
        EXPECT_EQ(long(boxes[c].width()) * boxes[c].height(), boxes[c].count) << names[c];
    }
    const Box& red = boxes[RED];
    const Box& green = boxes[GREEN];
    const Box& blue = boxes[BLUE];
    const Box& white = boxes[WHITE];
    // Placement: a 2x2 arrangement without gaps or overlaps.
    EXPECT_EQ(red.x1 + 1, green.x0);
    EXPECT_EQ(blue.x1 + 1, white.x0);
    EXPECT_EQ(red.x0, blue.x0);
    EXPECT_EQ(red.y1 + 1, blue.y0);
    EXPECT_EQ(green.y1 + 1, white.y0);
    EXPECT_EQ(red.y0, green.y0);
    // Whole: the union keeps the frame's proportions and each quadrant is a quarter.
    const int frameW = white.x1 - red.x0 + 1;
    const int frameH = white.y1 - red.y0 + 1;
    EXPECT_NEAR(double(width) / height, double(frameW) / frameH, 0.01);
    EXPECT_NEAR(frameW / 2.0, red.width(), 1.0);
    EXPECT_NEAR(frameH / 2.0, red.height(), 1.0);
    EXPECT_EQ(0, others);
}

}  // namespace

TEST(Screen, FullScreenFrameShowsWholeOnLargerScreen)
{
    // Two runs: the picture must not depend on the run.
    expectWholeFrameOnScreen(640, 480);
    expectWholeFrameOnScreen(640, 480);
}

TEST(Screen, OtherSizeShowsWhole)
{
    expectWholeFrameOnScreen(800, 600);
}
