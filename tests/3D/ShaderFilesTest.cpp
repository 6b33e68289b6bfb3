// The four shader files of the demo on a real GL context: they build, the pulse
// program fades and pumps the scene colours, and each blur spreads a thin line
// along its own axis only, wide enough to read as glow.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "3D/GLTestContext.h"
#include "3D/LineRenderer.h"
#include "3D/ScreenQuad.h"
#include "3D/Shader.h"
#include "3D/Texture.h"
#include "Zembra/Window.h"

using testgl::Pixel;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// One source for both blurs; the definition in front of it picks the axis.
const char* const BLUR_VS = "data/shaders/blur.vs";
const char* const BLUR_PS = "data/shaders/blur.ps";

std::unique_ptr<Shader> makePulse()
{
    return std::make_unique<Shader>("data/shaders/pulse.vs", "data/shaders/pulse.ps");
}

// Draws a horizontal line of the given colour through the pulse program with
// the two uniforms set, and returns the pixel at the middle of that line.
Pixel renderPulse(const Shader& pulse, const float colour[4], float amplif, float fade)
{
    const auto target = testgl::newWindowSizedTarget();
    const int w = target->width;
    const int h = target->height;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, w, 0, h);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    pulse.use();
    glUniform1f(glGetUniformLocation(pulse.getProgramId(), "amplif"), amplif);
    glUniform1f(glGetUniformLocation(pulse.getProgramId(), "fade"), fade);
    LineRenderer line;
    const float y = h / 2 + 0.5f;
    line.addLine({-1, y, 0, colour[0], colour[1], colour[2], colour[3]},
                 {w + 1.0f, y, 0, colour[0], colour[1], colour[2], colour[3]});
    line.draw(1, DrawContext());
    Shader::unuse();
    const std::vector<Pixel> pixels = target->read();
    return pixels[static_cast<size_t>(h / 2) * w + w / 2];
}

void expectNear(int expected, int actual, const char* what)
{
    EXPECT_LE(std::abs(expected - actual), 1)
        << what << ": expected " << expected << ", got " << actual;
}

// A window-sized source texture, black but for white texels in the rectangle
// [x0, x1] x [y0, y1] (inclusive, texel coordinates, row 0 at the bottom).
std::unique_ptr<Texture> makeSource(int x0, int x1, int y0, int y1)
{
    const int w = testgl::window().getWidth();
    const int h = testgl::window().getHeight();
    std::vector<unsigned char> texels(static_cast<size_t>(w) * h * 4, 0);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            for (int c = 0; c < 4; ++c)
                texels[(static_cast<size_t>(y) * w + x) * 4 + c] = 255;
    auto source = std::make_unique<Texture>(w, h);
    source->bind();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    Texture::unbind();
    return source;
}

// Draws source through program into a window-sized target cleared to clear
// (grey level 0-1), as the chain does, and returns what landed there.
std::vector<Pixel> blur(const Shader& program, const Texture& source, float clear = 0.0f,
                        bool additive = false, float blurOffset = 0.0f)
{
    const auto target = testgl::newWindowSizedTarget();
    glClearColor(clear, clear, clear, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
    if (additive) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE);
    }
    program.use();
    if (blurOffset != 0.0f)
        glUniform1f(glGetUniformLocation(program.getProgramId(), "blurOffset"), blurOffset);
    drawScreenQuad(source, testgl::window());
    Shader::unuse();
    glDisable(GL_BLEND);
    return target->read();
}

class BlurFiles : public testing::Test {
protected:
    void SetUp() override
    {
        testgl::engine();
        w = testgl::window().getWidth();
        h = testgl::window().getHeight();
        cx = w / 2;
        cy = h / 2;
    }

    const Pixel& at(const std::vector<Pixel>& pixels, int x, int y) const
    {
        return pixels[static_cast<size_t>(y) * w + x];
    }

    int w = 0;
    int h = 0;
    int cx = 0;
    int cy = 0;
};

}  // namespace

TEST(ShaderFiles, AllThreeProgramsBuildAndUseTheUniformsTheChainLooksUp)
{
    testgl::engine();
    const Shader pulse("data/shaders/pulse.vs", "data/shaders/pulse.ps");
    const Shader hblur(BLUR_VS, BLUR_PS, "#define BLUR_HORIZONTAL\n");
    const Shader vblur(BLUR_VS, BLUR_PS, "#define BLUR_VERTICAL\n");
    // An unused uniform is optimised away and its lookup answers -1.
    EXPECT_GE(glGetUniformLocation(pulse.getProgramId(), "amplif"), 0);
    EXPECT_GE(glGetUniformLocation(pulse.getProgramId(), "fade"), 0);
    EXPECT_GE(glGetUniformLocation(hblur.getProgramId(), "blurOffset"), 0);
    EXPECT_GE(glGetUniformLocation(vblur.getProgramId(), "blurOffset"), 0);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(ShaderFiles, PulseFadesFromBlackAndPassesColoursAtRest)
{
    testgl::engine();
    CaptureStdout();
    const std::unique_ptr<Shader> pulse = makePulse();
    const float colour[4] = {0.4f, 0.6f, 0.2f, 0.5f};

    for (float amplif : {0.0f, 1.0f}) {
        const Pixel black = renderPulse(*pulse, colour, amplif, 0.0f);
        EXPECT_EQ(0, black.r) << "amplif " << amplif;
        EXPECT_EQ(0, black.g) << "amplif " << amplif;
        EXPECT_EQ(0, black.b) << "amplif " << amplif;
    }

    const Pixel rest = renderPulse(*pulse, colour, 0.0f, 1.0f);
    expectNear(102, rest.r, "red");
    expectNear(153, rest.g, "green");
    expectNear(51, rest.b, "blue");
    expectNear(127, rest.a, "alpha");

    const Pixel half = renderPulse(*pulse, colour, 0.0f, 0.5f);
    expectNear(51, half.r, "red at half fade");
    expectNear(76, half.g, "green at half fade");
    expectNear(25, half.b, "blue at half fade");
    expectNear(127, half.a, "alpha is not faded");
    GetCapturedStdout();
}

TEST(ShaderFiles, PulseBrightensTheColoursOnABeat)
{
    testgl::engine();
    CaptureStdout();
    const std::unique_ptr<Shader> pulse = makePulse();
    const float colour[4] = {0.4f, 0.6f, 0.2f, 1.0f};
    const Pixel rest = renderPulse(*pulse, colour, 0.0f, 1.0f);
    const Pixel half = renderPulse(*pulse, colour, 0.5f, 1.0f);
    const Pixel beat = renderPulse(*pulse, colour, 1.0f, 1.0f);
    GetCapturedStdout();

    // Every channel rises with the pulse, by a visible amount at full pulse.
    EXPECT_GT(half.r, rest.r);
    EXPECT_GT(beat.r, half.r);
    EXPECT_GT(beat.g, half.g);
    EXPECT_GT(beat.b, half.b);
    const int restSum = rest.r + rest.g + rest.b;
    const int beatSum = beat.r + beat.g + beat.b;
    EXPECT_GT(beatSum, restSum * 3 / 2) << "rest " << restSum << ", beat " << beatSum;
    // Lifted but not washed out: the hue survives (green stays the strongest).
    EXPECT_GT(beat.g, beat.r);
    EXPECT_GT(beat.r, beat.b);
}

TEST_F(BlurFiles, HorizontalBlurSpreadsAVerticalLineSidewaysOnly)
{
    const Shader hblur(BLUR_VS, BLUR_PS, "#define BLUR_HORIZONTAL\n");
    const std::unique_ptr<Texture> source = makeSource(cx, cx, cy - 10, cy + 10);
    const std::vector<Pixel> pixels = blur(hblur, *source, 0.0f);

    // Along the line's middle row: brightest on the line, fading symmetrically,
    // still visible 11 pixels away, gone beyond the kernel's reach (11 texels and
    // the linear filter's one).
    EXPECT_GT(at(pixels, cx, cy).r, 30);
    for (int d = 1; d <= 11; ++d) {
        const int left = at(pixels, cx - d, cy).r;
        const int right = at(pixels, cx + d, cy).r;
        EXPECT_GT(left, 0) << "distance " << d;
        EXPECT_LE(std::abs(left - right), 1) << "distance " << d;
        EXPECT_LE(left, at(pixels, cx - d + 1, cy).r) << "distance " << d;
    }
    EXPECT_EQ(0, at(pixels, cx - 14, cy).r);
    EXPECT_EQ(0, at(pixels, cx + 14, cy).r);

    // Nothing above or below the segment, in any column.
    for (int y = 0; y < h; ++y) {
        if (y >= cy - 10 && y <= cy + 10)
            continue;
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(0, at(pixels, x, y).r + at(pixels, x, y).g + at(pixels, x, y).b)
                << "x " << x << " y " << y;
    }
}

TEST_F(BlurFiles, VerticalBlurSpreadsAHorizontalLineUpAndDownOnly)
{
    const Shader vblur(BLUR_VS, BLUR_PS, "#define BLUR_VERTICAL\n");
    const std::unique_ptr<Texture> source = makeSource(cx - 10, cx + 10, cy, cy);
    const std::vector<Pixel> pixels = blur(vblur, *source, 0.0f);

    EXPECT_GT(at(pixels, cx, cy).r, 25);
    for (int d = 1; d <= 11; ++d) {
        const int below = at(pixels, cx, cy - d).r;
        const int above = at(pixels, cx, cy + d).r;
        EXPECT_GT(below, 0) << "distance " << d;
        EXPECT_LE(std::abs(below - above), 1) << "distance " << d;
        EXPECT_LE(below, at(pixels, cx, cy - d + 1).r) << "distance " << d;
    }
    EXPECT_EQ(0, at(pixels, cx, cy - 14).r);
    EXPECT_EQ(0, at(pixels, cx, cy + 14).r);

    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (x >= cx - 10 && x <= cx + 10)
                continue;
            ASSERT_EQ(0, at(pixels, x, y).r + at(pixels, x, y).g + at(pixels, x, y).b)
                << "x " << x << " y " << y;
        }
}

TEST_F(BlurFiles, VerticalBlurAddsOntoWhatIsAlreadyThere)
{
    // Pass 4 of the chain: the glow screened over the sharp picture (blending
    // GL_ONE_MINUS_DST_COLOR, GL_ONE), here a grey of 0.25.
    const Shader vblur(BLUR_VS, BLUR_PS, "#define BLUR_VERTICAL\n");
    const std::unique_ptr<Texture> source = makeSource(cx - 10, cx + 10, cy, cy);
    const std::vector<Pixel> pixels = blur(vblur, *source, 0.25f, true);

    const int background = 64;  // 0.25 as a byte, give or take rounding
    EXPECT_LE(std::abs(background - at(pixels, 5, 5).r), 1);
    EXPECT_EQ(at(pixels, 5, 5).r, at(pixels, cx, cy + 40).r) << "nothing added far from the line";
    EXPECT_GT(at(pixels, cx, cy).r, background + 20) << "the glow is added";
    EXPECT_GT(at(pixels, cx, cy + 6).r, at(pixels, cx, cy + 40).r);
}

TEST_F(BlurFiles, GlowDoesNotWrapAroundTheEdges)
{
    const Shader hblur(BLUR_VS, BLUR_PS, "#define BLUR_HORIZONTAL\n");
    const std::unique_ptr<Texture> source = makeSource(0, 0, 0, h - 1);
    const std::vector<Pixel> pixels = blur(hblur, *source, 0.0f);
    EXPECT_GT(at(pixels, 3, cy).r, 0);
    for (int x = w - 26; x < w; ++x)
        EXPECT_EQ(0, at(pixels, x, cy).r) << "x " << x;
}

TEST_F(BlurFiles, BlurOffsetSetsTheSpread)
{
    const Shader hblur(BLUR_VS, BLUR_PS, "#define BLUR_HORIZONTAL\n");
    const std::unique_ptr<Texture> source = makeSource(cx, cx, 0, h - 1);
    const std::vector<Pixel> unset = blur(hblur, *source, 0.0f, false, 0.0f);
    const std::vector<Pixel> full = blur(hblur, *source, 0.0f, false, 6.0f);
    const std::vector<Pixel> half = blur(hblur, *source, 0.0f, false, 3.0f);
    const std::vector<Pixel> narrow = blur(hblur, *source, 0.0f, false, 2.0f);
    const std::vector<Pixel> widest = blur(hblur, *source, 0.0f, false, 12.0f);
    // Unset means 6; past 6 the taps are drawn apart and reach further.
    for (int d = 0; d <= 14; ++d)
        EXPECT_EQ(at(unset, cx + d, cy).r, at(full, cx + d, cy).r) << "distance " << d;
    EXPECT_GT(at(widest, cx + 21, cy).r, 0) << "a spread of 12 reaches twice as far as 6";
    EXPECT_EQ(0, at(unset, cx + 14, cy).r);
    // Half the spread (the half-size glow's) reaches half as far and keeps more on
    // the line; a narrow one keeps more still, and nothing 10 pixels away. No texel
    // is left out between the taps drawn together: the light falls off steadily.
    EXPECT_GT(at(unset, cx + 11, cy).r, 0);
    EXPECT_GT(at(half, cx + 5, cy).r, 0);
    EXPECT_EQ(0, at(half, cx + 10, cy).r);
    EXPECT_GT(at(half, cx, cy).r, at(unset, cx, cy).r);
    EXPECT_GT(at(narrow, cx, cy).r, at(half, cx, cy).r);
    EXPECT_EQ(0, at(narrow, cx + 10, cy).r);
    for (int d = 1; d <= 8; ++d)
        EXPECT_LE(at(half, cx + d, cy).r, at(half, cx + d - 1, cy).r) << "distance " << d;

    // A vanishing spread leaves the line sharp: no glow, nothing undefined.
    const std::vector<Pixel> tiny = blur(hblur, *source, 0.0f, false, 1e-20f);
    EXPECT_GT(at(tiny, cx, cy).r, at(narrow, cx, cy).r);
    EXPECT_EQ(0, at(tiny, cx + 3, cy).r);
}

// Far from any edge a uniform picture keeps its level through both blurs (the
// weights add up to 1), apart from each blur's own response: the horizontal blur
// squares and lifts by 2; the vertical one levels the light off at 0.3
// (0.3 (1 - exp(-10 x))).
TEST_F(BlurFiles, AUniformPictureKeepsItsLevel)
{
    const Shader hblur(BLUR_VS, BLUR_PS, "#define BLUR_HORIZONTAL\n");
    const Shader vblur(BLUR_VS, BLUR_PS, "#define BLUR_VERTICAL\n");
    const float grey[4] = {0.4f, 0.4f, 0.4f, 1.0f};
    const Texture source(static_cast<unsigned>(w), static_cast<unsigned>(h), grey);
    const unsigned char level = Texture::componentToByte(0.4f);
    const double value = level / 255.0;
    const std::vector<Pixel> horizontal = blur(hblur, source);
    const std::vector<Pixel> vertical = blur(vblur, source);
    expectNear(static_cast<int>(2.0 * value * value * 255 + 0.5), at(horizontal, cx, cy).r,
               "hblur");
    const double glow = 0.3 * (1.0 - std::exp(-10.0 * value));
    expectNear(static_cast<int>(glow * 255 + 0.5), at(vertical, cx, cy).r, "vblur");
}
