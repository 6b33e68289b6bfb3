// VectorFont drawn on a real GL context, seen from straight above under an orthographic
// view of one world unit per pixel: where the strokes of the table land, how the pen
// moves, case folding, skipped characters and the GL state left behind.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <array>
#include <string>
#include <vector>

#include "3D/GLTestContext.h"
#include "Effects/VectorFont.h"

using testgl::Pixel;

namespace {

const int kW = 480, kH = 320;
const float kScale = 40.0f;  // pixels per cell unit
const Colour kGreen = {0.0f, 1.0f, 0.0f, 1.0f};

// World (x, y, z) lands on pixel (x, z); y only sets the depth.
void topView()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kW, 0, kH, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

// Where a string starts and how it is turned; maps a point (x, z) of cell k to its
// pixel as documented: at 180 degrees cells run towards -x and the baseline towards
// -z, at 270 degrees cells run towards +z and the baseline towards -x.
struct Pen {
    Vector3 position;
    int angle;

    std::array<float, 2> pixel(int k, float x, float z) const
    {
        const float along = (x + VectorFont::ADVANCE * k) * kScale;
        if (angle == 180)
            return {position.x - along, position.z - z * kScale};
        return {position.x - z * kScale, position.z + along};
    }
};

class Picture {
public:
    explicit Picture(std::vector<Pixel> pixels) : m_pixels(std::move(pixels)) {}

    const Pixel& at(std::array<float, 2> p) const
    {
        const int x = static_cast<int>(p[0]);
        const int y = static_cast<int>(p[1]);
        EXPECT_TRUE(x >= 0 && x < kW && y >= 0 && y < kH) << x << "," << y;
        return m_pixels[static_cast<size_t>(y) * kW + x];
    }
    // True when the pixel holds the font colour.
    bool lit(std::array<float, 2> p) const
    {
        const Pixel& px = at(p);
        return px.r == 0 && px.g == 255 && px.b == 0;
    }
    int litCount() const
    {
        int n = 0;
        for (const Pixel& p : m_pixels)
            n += p.r || p.g || p.b;
        return n;
    }
    bool operator==(const Picture& other) const
    {
        if (m_pixels.size() != other.m_pixels.size())
            return false;
        for (size_t i = 0; i < m_pixels.size(); ++i) {
            const Pixel& a = m_pixels[i];
            const Pixel& b = other.m_pixels[i];
            if (a.r != b.r || a.g != b.g || a.b != b.b)
                return false;
        }
        return true;
    }

private:
    std::vector<Pixel> m_pixels;
};

std::vector<GLfloat> matrix(GLenum which)
{
    std::vector<GLfloat> m(16);
    glGetFloatv(which, m.data());
    return m;
}

// Clears the target, draws text and reads the picture back; checks that both
// matrices are as they were and that no GL error was raised.
Picture draw(const VectorFont& font, const Pen& pen, const std::string& text)
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const std::vector<GLfloat> modelview = matrix(GL_MODELVIEW_MATRIX);
    const std::vector<GLfloat> projection = matrix(GL_PROJECTION_MATRIX);
    if (pen.angle == 180)
        font.drawText180(pen.position, text, kScale);
    else
        font.drawText270(pen.position, text, kScale);
    glFinish();
    EXPECT_EQ(modelview, matrix(GL_MODELVIEW_MATRIX)) << "'" << text << "'";
    EXPECT_EQ(projection, matrix(GL_PROJECTION_MATRIX)) << "'" << text << "'";
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError()) << "'" << text << "'";
    return Picture(testgl::readPixels(kW, kH));
}

}  // namespace

// "f", "l", "q": lit where their strokes run, dark where a mirrored or transposed
// stroke would run; every lit pixel inside a cell; case changes nothing, and a
// character that is not a letter leaves its cell empty like a space.
TEST(VectorFontDraw, LettersLandWhereTheirStrokesRun)
{
    testgl::engine();
    testgl::OffscreenTarget target(kW, kH);
    topView();
    const VectorFont font(kGreen);
    const Pen pen{{420, 0, 180}, 180};

    const Picture flq = draw(font, pen, "flq");
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(8.0f, width);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));

    struct Probe {
        int cell;
        float x, z;
        bool lit;
    };
    const Probe probes[] = {
        // f: stem on the left, bars along the top line and the middle, none at the baseline.
        {0, -0.5f, 0.25f, true}, {0, 0.0f, 0.0f, true}, {0, 0.0f, 0.5f, true},
        {0, 0.0f, 1.0f, false}, {0, 0.5f, 0.25f, false}, {0, 0.5f, 0.75f, false},
        // l: stem on the left, bar along the baseline.
        {1, -0.5f, 0.5f, true}, {1, 0.0f, 1.0f, true},
        {1, 0.0f, 0.0f, false}, {1, 0.5f, 0.5f, false},
        // q: a box and a tail from the lower right corner to the centre.
        {2, -0.5f, 0.5f, true}, {2, 0.5f, 0.5f, true}, {2, 0.0f, 0.0f, true},
        {2, 0.0f, 1.0f, true}, {2, 0.25f, 0.75f, true},
        {2, -0.25f, 0.75f, false}, {2, 0.25f, 0.25f, false}, {2, -0.25f, 0.25f, false},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(p.lit, flq.lit(pen.pixel(p.cell, p.x, p.z)))
            << "cell " << p.cell << " at (" << p.x << ", " << p.z << ")";

    // Nothing between the cells: the gaps of 0.5 stay dark.
    for (int k = 0; k < 2; ++k)
        for (float z = 0.0f; z <= 1.0f; z += 0.125f)
            EXPECT_FALSE(flq.lit(pen.pixel(k, 0.75f, z))) << "gap after cell " << k << " z " << z;
    EXPECT_GT(flq.litCount(), 3 * 8 * 40) << "at least three strokes of 40 px, 8 px wide";

    EXPECT_TRUE(draw(font, pen, "FLQ") == flq) << "upper case draws other strokes";
    EXPECT_TRUE(draw(font, pen, "fLq") == flq) << "mixed case draws other strokes";
    EXPECT_EQ(font.glyph('Q'), font.glyph('q'));

    const Picture skipped = draw(font, pen, "f q");
    EXPECT_LT(skipped.litCount(), flq.litCount());
    EXPECT_TRUE(draw(font, pen, "f1q") == skipped) << "a digit draws something";
    EXPECT_TRUE(draw(font, pen, std::string("f\xC9q")) == skipped) << "a byte above 127 draws something";
    EXPECT_EQ(nullptr, font.glyph('1'));
}

// "Q tor" turned by 270 degrees: the space leaves its cell empty and the "t" stands
// 3 x scale from the "q"; spaces alone and the empty string draw nothing.
TEST(VectorFontDraw, PenMovesOverSpacesAndBlankTextDrawsNothing)
{
    testgl::engine();
    testgl::OffscreenTarget target(kW, kH);
    topView();
    const VectorFont font(kGreen);
    const Pen pen{{120, 0, 20}, 270};

    const Picture qtor = draw(font, pen, "Q tor");
    // q in cell 0 (its tail), the empty cell 1, t in cell 2 (stem and top bar).
    EXPECT_TRUE(qtor.lit(pen.pixel(0, 0.25f, 0.75f)));
    for (float x = -0.5f; x <= 0.5f; x += 0.125f)
        for (float z = 0.0f; z <= 1.0f; z += 0.125f)
            EXPECT_FALSE(qtor.lit(pen.pixel(1, x, z))) << "the space cell at (" << x << ", " << z << ")";
    // The q's centre line is pixel row 20; the stem of the t runs 3 x scale further
    // along the string (+z), from the top line (x 120) to the baseline (x 80).
    const float tRow = 20 + 3 * kScale;
    EXPECT_TRUE(qtor.lit({90, tRow})) << "t stem";
    EXPECT_TRUE(qtor.lit({110, tRow})) << "t stem";
    EXPECT_TRUE(qtor.lit({120, tRow - 10})) << "t bar";
    EXPECT_FALSE(qtor.lit({90, tRow - 20})) << "t has no left side";
    EXPECT_FALSE(qtor.lit({90, tRow + 20})) << "t has no right side";
    // o and r follow in cells 3 and 4.
    EXPECT_TRUE(qtor.lit(pen.pixel(3, -0.5f, 0.5f)));
    EXPECT_TRUE(qtor.lit(pen.pixel(4, -0.5f, 0.25f)));

    EXPECT_EQ(0, draw(font, pen, "     ").litCount());
    EXPECT_EQ(0, draw(font, pen, "").litCount());
}
