// VectorFont drawn on a real GL context, seen from straight above at one world unit
// per pixel: where the table's strokes land, the pen advance, case folding, skipped
// characters, and the matrices left as they were.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstring>
#include <string>
#include <vector>

#include "3D/GLTestContext.h"
#include "3D/WideLines.h"
#include "Effects/VectorFont.h"

using testgl::Pixel;

namespace {

const int WIDTH = 480, HEIGHT = 320;
const float SCALE = 40.0f;  // pixels per cell unit

struct Drawing {
    std::vector<Pixel> pixels;

    // True when the pixel at (x, y) holds the font's green.
    bool lit(float x, float y) const
    {
        const Pixel& p = pixels[static_cast<size_t>(y) * WIDTH + static_cast<size_t>(x)];
        return p.r == 0 && p.g == 255 && p.b == 0;
    }
    bool blank() const
    {
        for (const Pixel& p : pixels)
            if (p.r || p.g || p.b)
                return false;
        return true;
    }
    bool operator==(const Drawing& o) const
    {
        return std::memcmp(pixels.data(), o.pixels.data(), pixels.size() * sizeof(Pixel)) == 0;
    }
};

std::vector<GLfloat> modelview()
{
    std::vector<GLfloat> m(16);
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// World (x, y, z) lands on pixel (x, z). Checks that the modelview matrix comes back.
Drawing draw(const std::string& text, const Vector3& at, bool turned270, float scale = SCALE,
             float background = 0.0f, const DrawContext& context = DrawContext())
{
    static const VectorFont font({0.0f, 1.0f, 0.0f, 1.0f});
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, WIDTH, 0, HEIGHT, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glClearColor(background, background, background, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const std::vector<GLfloat> before = modelview();
    if (turned270)
        font.drawText270(at, text, scale, context);
    else
        font.drawText180(at, text, scale, context);
    EXPECT_EQ(before, modelview()) << "'" << text << "'";
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    return {testgl::readPixels(WIDTH, HEIGHT)};
}

}  // namespace

// Turned 180 degrees from (420, 180), cell k's point (x, z) lands on pixel
// (420 - (x + 1.5 k) * 40, 180 - z * 40). Lit where the strokes of f, l and q run,
// dark where a mirrored or transposed stroke would run. Case changes nothing; a
// character that is not a letter is skipped like a space.
TEST(VectorFontDraw, StrokesLandWhereTheTablePutsThem)
{
    testgl::engine();
    testgl::OffscreenTarget target(WIDTH, HEIGHT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    const Drawing flq = draw("flq", {420, 0, 180}, false);
    auto lit = [&](int k, float x, float z) {
        return flq.lit(420 - (x + 1.5f * k) * SCALE, 180 - z * SCALE);
    };

    // f: left stem, bars on the top line and the middle; no baseline, no right side.
    EXPECT_TRUE(lit(0, -0.5f, 0.25f) && lit(0, 0.0f, 0.0f) && lit(0, 0.0f, 0.5f));
    EXPECT_FALSE(lit(0, 0.0f, 1.0f) || lit(0, 0.5f, 0.25f));
    // l: left stem and a bar on the baseline; no top bar.
    EXPECT_TRUE(lit(1, -0.5f, 0.5f) && lit(1, 0.0f, 1.0f));
    EXPECT_FALSE(lit(1, 0.0f, 0.0f));
    // q: a box with a tail from the lower right corner to the centre.
    EXPECT_TRUE(lit(2, 0.5f, 0.5f) && lit(2, 0.25f, 0.75f));
    EXPECT_FALSE(lit(2, -0.25f, 0.75f) || lit(2, 0.25f, 0.25f));

    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(8.0f, width);
    EXPECT_TRUE(draw("FLQ", {420, 0, 180}, false) == flq);
    EXPECT_TRUE(draw("fLq", {420, 0, 180}, false) == flq);
    const Drawing gap = draw("f q", {420, 0, 180}, false);
    EXPECT_FALSE(gap == flq);
    EXPECT_TRUE(draw("f1q", {420, 0, 180}, false) == gap);
    EXPECT_TRUE(draw("f\xC9q", {420, 0, 180}, false) == gap) << "a byte above 127";
}

// Turned 270 degrees from (120, 20): cells run up the picture (+z), the baseline
// points left (-x). The space leaves its cell empty and the t stands 3 x 40 pixels
// from the q; spaces alone and the empty string draw nothing.
TEST(VectorFontDraw, PenMovesOverSpacesAndBlankTextDrawsNothing)
{
    testgl::engine();
    testgl::OffscreenTarget target(WIDTH, HEIGHT);
    glDisable(GL_DEPTH_TEST);
    const Drawing qtor = draw("Q tor", {120, 0, 20}, true);

    EXPECT_TRUE(qtor.lit(90, 20 + 10)) << "q tail";
    for (float y = 50; y <= 110; y += 5)
        for (float x = 80; x <= 120; x += 5)
            EXPECT_FALSE(qtor.lit(x, y)) << "space cell at " << x << "," << y;
    const float tRow =
        20 + 3 * SCALE;  // the t's stem, from the top line (x 120) to the baseline (x 80)
    EXPECT_TRUE(qtor.lit(90, tRow) && qtor.lit(110, tRow) && qtor.lit(120, tRow - 10));
    EXPECT_FALSE(qtor.lit(90, tRow - 20) || qtor.lit(90, tRow + 20));
    EXPECT_TRUE(qtor.lit(100, 20 + 4.5f * SCALE - 20)) << "o in cell 3";

    EXPECT_TRUE(draw("     ", {120, 0, 20}, true).blank());
    EXPECT_TRUE(draw("", {120, 0, 20}, true).blank());
}

// Small letters keep their inside open: at 10 pixels a letter the strokes are 2
// pixels wide, not 8, so the middle of an "o" (a box) stays dark between its sides.
// The 40-pixel letters above keep the full 8. Over a lit floor each stroke has a
// black margin of 2 pixels either side, and the rest of the floor stays lit.
TEST(VectorFontDraw, SmallLettersKeepTheirInsideOpen)
{
    testgl::engine();
    testgl::OffscreenTarget target(WIDTH, HEIGHT);
    glDisable(GL_DEPTH_TEST);
    const Drawing o = draw("o", {100, 0, 100}, false, 10.0f);
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_NEAR(2.0f, width, 0.01f);
    // The box spans pixels 95 to 105 across and 90 to 100 down the picture.
    EXPECT_TRUE(o.lit(95, 95) && o.lit(105, 95) && o.lit(100, 90) && o.lit(100, 100));
    for (float x = 98; x <= 102; ++x)
        for (float y = 93; y <= 97; ++y)
            EXPECT_FALSE(o.lit(x, y)) << "inside at " << x << "," << y;

    const Drawing onGrey = draw("o", {100, 0, 100}, false, 10.0f, 0.5f);
    auto grey = [&](int x, int y) { return onGrey.pixels[size_t(y) * WIDTH + x].r; };
    EXPECT_TRUE(onGrey.lit(100, 100));
    EXPECT_EQ(0, grey(100, 102)) << "no margin below the baseline";
    EXPECT_EQ(0, grey(103, 95)) << "no margin inside the right side";
    EXPECT_NEAR(128, grey(100, 95), 1) << "the middle of the box";
    EXPECT_NEAR(128, grey(100, 105), 1) << "beyond the margin";
}

// Where the GL draws no wide lines (the browser), the strokes and their outlines go
// through the context's triangles like every other line, and still land on the letter.
TEST(VectorFontDraw, StrokesFollowTheContextToWideLines)
{
    testgl::engine();
    testgl::OffscreenTarget target(WIDTH, HEIGHT);
    glDisable(GL_DEPTH_TEST);
    WideLines triangles;
    DrawContext context;
    context.wideLines = &triangles;
    context.widestLine = 1.0f;
    const Drawing o = draw("o", {100, 0, 100}, false, SCALE, 0.0f, context);
    EXPECT_GT(triangles.quads(), 0u);
    EXPECT_TRUE(o.lit(80, 80) && o.lit(120, 80) && !o.lit(100, 80)) << "the box's sides";
}
