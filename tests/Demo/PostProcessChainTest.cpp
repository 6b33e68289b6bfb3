// PostProcessChain with the real shader files, a real window under Xvfb and a
// probe scene that records, inside each of its draws, what the pass gave it:
// the program's "amplif" and "fade" values, the bound frame buffer, viewport and
// projection. Pictures are read back from the window after the flip (see ChainRig::shown).
// Tests that hold at both glow sizes run at both.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <cmath>
#include <memory>
#include <vector>

#include "support/Process.h"
#include "support/XwdImage.h"

#include "3D/LineRenderer.h"
#include "3D/Shader.h"
#include "3D/Texture.h"
#include "Demo/ChainPrograms.h"
#include "Demo/PostProcessChain.h"
#include "Scenes/Scene.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Engine.h"
#include "Zembra/Window.h"

// The blur programs' one source, as the demo loads it from data/shaders.
static const std::string BLUR_VS = std::string("data/shaders/") + BLUR_VERTEX_SOURCE;
static const std::string BLUR_PS = std::string("data/shaders/") + BLUR_FRAGMENT_SOURCE;

namespace {

// What one draw of the scene found in force.
struct PassState {
    GLint program = -1;
    GLint frameBuffer = -1;
    GLint colourAttachment = -1;  // texture attached to colour 0 of the bound frame buffer
    GLint viewport[4] = {};
    GLfloat projection[16] = {};
    GLfloat amplif = -1.0f;
    GLfloat fade = -1.0f;
    float strokeScale = -1.0f;
};

// A scene under the test's control. Its camera points away from the floor grid
// (the grid lands behind the eye), so the picture holds only what draw adds: one
// white vertical line through the middle of the view when `line` is set, one pixel
// wide, or `rendererWidth` pixels wide through a LineRenderer (which the chain
// scales with the glow's size) when that is set, `lineX` eye units right of the middle.
class ProbeScene : public Scene {
public:
    void set(float amplification, float fade)
    {
        m_amplification = amplification;
        m_fade = fade;
    }
    void applyCamera() override
    {
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, 1000.0f);
    }
    // GL state: modelview identity, line width 1. A careless probe leaves blending
    // on and depth testing off, which the scenes' contract forbids.
    void draw(const DrawContext& context) override
    {
        PassState s;
        glGetIntegerv(GL_CURRENT_PROGRAM, &s.program);
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &s.frameBuffer);
        if (s.frameBuffer != 0)
            glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                                  GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME,
                                                  &s.colourAttachment);
        glGetIntegerv(GL_VIEWPORT, s.viewport);
        glGetFloatv(GL_PROJECTION_MATRIX, s.projection);
        if (s.program > 0) {
            const GLuint program = static_cast<GLuint>(s.program);
            glGetUniformfv(program, glGetUniformLocation(program, "amplif"), &s.amplif);
            glGetUniformfv(program, glGetUniformLocation(program, "fade"), &s.fade);
        }
        s.strokeScale = context.strokeScale;
        passes.push_back(s);

        if (line) {
            glLoadIdentity();
            if (rendererWidth > 0) {
                LineRenderer lines;
                lines.addLine({lineX, -1.0f, -2.0f, 1.0f, 1.0f, 1.0f, 1.0f},
                              {lineX, 1.0f, -2.0f, 1.0f, 1.0f, 1.0f, 1.0f});
                lines.draw(rendererWidth, context);
            } else {
                glLineWidth(1.0f);
                glBegin(GL_LINES);
                glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
                glVertex3f(lineX, -1.0f, -2.0f);
                glVertex3f(lineX, 1.0f, -2.0f);
                glEnd();
            }
        }
        if (blockGrey > 0.0f) {
            // 41 lines 4 pixels wide, 3 pixels apart: a solid light area.
            glLoadIdentity();
            LineRenderer block;
            for (int i = 0; i <= 40; ++i) {
                const float x = -0.6f + i * 0.0103f;
                block.addLine({x, -1.0f, -2.0f, blockGrey, blockGrey, blockGrey, 1.0f},
                              {x, 1.0f, -2.0f, blockGrey, blockGrey, blockGrey, 1.0f});
            }
            block.draw(4, context);
        }
        if (careless) {
            glEnable(GL_BLEND);
            glDisable(GL_DEPTH_TEST);
        }
    }
    bool update(SpectrumGrid&, Music&, unsigned) override { return true; }

    bool line = false;
    float lineX = 0.0f;
    unsigned rendererWidth = 0;
    float blockGrey =
        0.0f;  // above 0: also a dense block of lines of that grey, left of the middle
    bool careless = false;
    std::vector<PassState> passes;
};

void textureSize(const Texture& texture, GLint& width, GLint& height)
{
    texture.bind();
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    Texture::unbind();
}

struct Rgba {
    unsigned char r, g, b, a;
    int brightest() const { return std::max({r, g, b}); }
};

// One engine, the three programs, a scene manager playing a probe scene and the
// chain, at the window and glow size the test chooses. A test may give the vertical
// blur a fragment shader of its own.
class ChainRig {
public:
    ChainRig(int width, int height, GlowSize size = GlowSize::Full,
             const std::string& verticalBlurFragment = BLUR_PS)
        : engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, width, height, "chain test"),
          pulse("data/shaders/pulse.vs", "data/shaders/pulse.ps"),
          horizontalBlur(BLUR_VS, BLUR_PS, HORIZONTAL_BLUR),
          verticalBlur(BLUR_VS, verticalBlurFragment, VERTICAL_BLUR), probe(new ProbeScene)
    {
        scenes.addScene(std::unique_ptr<Scene>(probe));
        chain = std::make_unique<PostProcessChain>(window(), size);
    }
    ~ChainRig() { chain.reset(); }

    Window& window() { return *engine.getWindow(); }
    void frame() { chain->renderFrame(scenes, pulse, horizontalBlur, verticalBlur); }

    // The picture the last flip showed, bottom row first. Mesa's software driver
    // presents a frame by copying the back buffer to the X window and keeps the
    // back buffer as it was (its front buffer reads back as black), so the back
    // buffer is read; GlowLightsTheWindowBesideABrightLine checks it against the
    // X server's own copy of the window.
    std::vector<Rgba> shown()
    {
        const int w = window().getWidth(), h = window().getHeight();
        std::vector<Rgba> pixels(static_cast<size_t>(w) * h);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    // The content of one render target, bottom row first.
    std::vector<Rgba> targetPixels(const Texture& target)
    {
        GLint w = 0, h = 0;
        textureSize(target, w, h);
        std::vector<Rgba> pixels(static_cast<size_t>(w) * h);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        target.bind();
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        Texture::unbind();
        return pixels;
    }

    Engine engine;
    Shader pulse;
    Shader horizontalBlur;
    Shader verticalBlur;
    ProbeScene* probe;  // owned by scenes
    SceneManager scenes;
    std::unique_ptr<PostProcessChain> chain;
};

// Where the rig's window lies on the X screen: top-left corner in pixels.
bool windowOrigin(int& x, int& y)
{
    const Process::Result found = Process::run(
        {"xdotool", "search", "--name", "^chain test- \\(OpenGL\\)$", "getwindowgeometry"}, {},
        10000);
    const size_t at = found.out.find("Position: ");
    return at != std::string::npos &&
           std::sscanf(found.out.c_str() + at, "Position: %d,%d", &x, &y) == 2;
}

int brightestOf(const std::vector<Rgba>& pixels)
{
    int most = 0;
    for (const Rgba& p : pixels)
        most = std::max(most, p.brightest());
    return most;
}

// gluPerspective(45 degrees, aspect 1, 0.1, 120): the scale on x equals that on y.
void expectSquarePerspective(const GLfloat (&m)[16])
{
    const float f = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);
    EXPECT_NEAR(f, m[0], 1e-4);
    EXPECT_NEAR(f, m[5], 1e-4);
    EXPECT_NEAR((120.0f + 0.1f) / (0.1f - 120.0f), m[10], 1e-4);
    EXPECT_NEAR(-1.0f, m[11], 1e-6);
}

}  // namespace

// Names the size in the messages of the tests that run at both sizes.
void PrintTo(GlowSize size, std::ostream* out)
{
    *out << (size == GlowSize::Half ? "half size" : "full size");
}

namespace {

// The chain's tests that hold at both glow sizes.
class ChainAtGlowSize : public testing::TestWithParam<GlowSize> {
protected:
    static bool half() { return GetParam() == GlowSize::Half; }
};

std::string sizeName(const testing::TestParamInfo<GlowSize>& info)
{
    return info.param == GlowSize::Half ? "Half" : "Full";
}

// The brightest pixel of `row`, searched away from the window's sides.
int brightestColumn(const std::vector<Rgba>& pixels, int width, int row)
{
    int best = 100;
    for (int x = 100; x < width - 100; ++x)
        if (pixels[size_t(row) * width + x].brightest() >
            pixels[size_t(row) * width + best].brightest())
            best = x;
    return best;
}

}  // namespace

TEST_P(ChainAtGlowSize, FrameLeavesTheStateTheLoopExpects)
{
    ChainRig rig(640, 480, GetParam());
    rig.probe->set(0.5f, 1.0f);
    rig.probe->careless = true;
    // Disorder from before the frame that the chain must not depend on.
    glViewport(3, 4, 50, 60);
    glClearColor(0.3f, 0.2f, 0.1f, 0.5f);
    rig.frame();
    ASSERT_EQ(GLenum(GL_NO_ERROR), glGetError());

    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "the scene left blending on";
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "the scene left depth testing off";
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint program = -1, frameBuffer = -1, viewport[4] = {}, textureEnv = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &frameBuffer);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &textureEnv);
    EXPECT_EQ(0, program);
    EXPECT_EQ(0, frameBuffer);
    EXPECT_EQ((std::vector<GLint>{0, 0, 640, 480}), std::vector<GLint>(viewport, viewport + 4));
    EXPECT_EQ(GL_MODULATE, textureEnv);
    GLfloat projection[16], clear[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    expectSquarePerspective(projection);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ((std::vector<GLfloat>{0, 0, 0, 1}), std::vector<GLfloat>(clear, clear + 4));
}

// Observed from inside each scene draw: the pulse program is current and holds the
// values the current scene reports, the first draw goes to the first target and the
// second to the window, with the square projection and the viewport of where
// they draw.
TEST_P(ChainAtGlowSize, BothScenePassesGetTheScenesPulseAndFade)
{
    ChainRig rig(640, 480, GetParam());
    rig.probe->set(0.37f, 0.61f);
    rig.frame();
    rig.probe->set(0.9f, 0.2f);  // a scene update between frames
    rig.frame();
    ASSERT_EQ(GLenum(GL_NO_ERROR), glGetError());

    const std::vector<PassState>& passes = rig.probe->passes;
    ASSERT_EQ(4u, passes.size()) << "two scene draws per frame";
    const float amplif[] = {0.37f, 0.37f, 0.9f, 0.9f};
    const float fade[] = {0.61f, 0.61f, 0.2f, 0.2f};
    const std::vector<GLint> copyViewport =
        half() ? std::vector<GLint>{0, 0, 320, 240} : std::vector<GLint>{0, 0, 640, 480};
    for (size_t i = 0; i < passes.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "scene draw " << i);
        const PassState& s = passes[i];
        EXPECT_EQ(GLint(rig.pulse.getProgramId()), s.program);
        EXPECT_FLOAT_EQ(amplif[i], s.amplif);
        EXPECT_FLOAT_EQ(fade[i], s.fade);
        expectSquarePerspective(s.projection);
        const std::vector<GLint> viewport(s.viewport, s.viewport + 4);
        if (i % 2 == 0) {
            EXPECT_NE(0, s.frameBuffer) << "pass 1 draws off-screen";
            EXPECT_EQ(GLint(rig.chain->firstTarget().getId()), s.colourAttachment);
            EXPECT_EQ(copyViewport, viewport);
            EXPECT_EQ(half() ? 0.5f : 1.0f, s.strokeScale) << "strokes keep their share";
        } else {
            EXPECT_EQ(0, s.frameBuffer) << "pass 3 draws into the window";
            EXPECT_EQ((std::vector<GLint>{0, 0, 640, 480}), viewport);
            EXPECT_EQ(1.0f, s.strokeScale);
        }
    }
}

TEST_P(ChainAtGlowSize, FadeZeroGivesABlackFrame)
{
    ChainRig rig(640, 480, GetParam());
    rig.probe->line = true;
    // The line is there and lit at full fade: the black frame below is the fade's doing.
    rig.probe->set(0.0f, 1.0f);
    rig.frame();
    EXPECT_GT(brightestOf(rig.shown()), 200);

    // A beat at the same time must not lift a faded picture off black either.
    rig.probe->set(1.0f, 0.0f);
    rig.frame();
    ASSERT_EQ(GLenum(GL_NO_ERROR), glGetError());
    EXPECT_EQ(0, brightestOf(rig.shown()));
    EXPECT_EQ(0, brightestOf(rig.targetPixels(rig.chain->firstTarget())));
}

// A one-pixel line: the window is lit a few pixels beside it, and the light falls
// off with the distance.
TEST_P(ChainAtGlowSize, GlowLightsTheWindowBesideABrightLine)
{
    ChainRig rig(640, 480, GetParam());
    rig.probe->line = true;
    rig.probe->set(0.0f, 1.0f);
    rig.frame();
    ASSERT_EQ(GLenum(GL_NO_ERROR), glGetError());
    const std::vector<Rgba> window = rig.shown();

    const int w = 640, row = 240;
    auto at = [&](const std::vector<Rgba>& p, int x) { return p[size_t(row) * w + x].brightest(); };
    const int lineX = brightestColumn(window, w, row);
    ASSERT_GT(at(window, lineX), 200) << "no line in the window";
    if (!half()) {
        // The full-size copy is the sharp scene: the light beside the line is glow.
        // (At half size the first target ends the frame holding the blurred glow.)
        const std::vector<Rgba> sharp = rig.targetPixels(rig.chain->firstTarget());
        EXPECT_GT(at(sharp, lineX), 200) << "no line in the first target";
        EXPECT_EQ(0, at(sharp, lineX - 4)) << "the sharp line is wider than expected";
        EXPECT_EQ(0, at(sharp, lineX + 4)) << "the sharp line is wider than expected";
    }

    for (int side : {-1, 1}) {
        SCOPED_TRACE(side < 0 ? "left of the line" : "right of the line");
        EXPECT_GT(at(window, lineX + 4 * side), 15) << "no glow beside the line";
        EXPECT_GT(at(window, lineX + 4 * side), at(window, lineX + 8 * side));
        EXPECT_GT(at(window, lineX + 8 * side), 0) << "the glow is narrower than 8 pixels";
        EXPECT_EQ(0, at(window, lineX + 40 * side)) << "light far from the line";
    }

    // The read-back is what the X server shows in the window.
    glFinish();
    int left = 0, top = 0;
    ASSERT_TRUE(windowOrigin(left, top));
    XwdImage screen;
    int differing = -1;
    for (int attempt = 0; attempt < 5 && differing != 0; ++attempt) {
        if (attempt > 0)
            usleep(100000);  // the presented frame may still be on its way to the server
        ASSERT_TRUE(screen.captureRoot()) << screen.error();
        differing = 0;
        const int screenY = top + 479 - row;
        for (int x = 0; x < w; ++x) {
            const XwdImage::Rgb s = screen.pixel(left + x, screenY);
            const Rgba& g = window[size_t(row) * w + x];
            differing += s.r != g.r || s.g != g.g || s.b != g.b;
        }
    }
    EXPECT_EQ(0, differing) << "pixels of the row that differ from the screen";
}

// A dense block of light lines (the grey of the greetings, close together as the
// far floor's) stays below white after the glow, while a lone white line beside
// it still glows.
TEST_P(ChainAtGlowSize, DenseLinesStayBelowWhiteWhileALoneLineGlows)
{
    ChainRig rig(640, 480, GetParam());
    rig.probe->line = true;
    rig.probe->lineX = 0.5f;
    rig.probe->blockGrey = 0.9f;
    rig.probe->set(0.0f, 1.0f);
    rig.frame();
    ASSERT_EQ(GLenum(GL_NO_ERROR), glGetError());
    const std::vector<Rgba> window = rig.shown();

    const int w = 640, row = 240;
    auto at = [&](int x) { return window[size_t(row) * w + x].brightest(); };
    int blockLit = 0, white = 0;
    for (int x = 0; x < 300; ++x) {
        blockLit += at(x) > 200;
        white += at(x) == 255;
    }
    EXPECT_GT(blockLit, 80) << "no block of light lines";
    EXPECT_EQ(0, white) << "pixels of the block turned white";

    const int lineX = brightestColumn(window, w, row);
    ASSERT_GT(lineX, 400) << "no lone line right of the block";
    for (int side : {-1, 1}) {
        SCOPED_TRACE(side < 0 ? "left of the line" : "right of the line");
        EXPECT_GT(at(lineX + 4 * side), 25) << "no glow beside the lone line";
        EXPECT_GT(at(lineX + 4 * side), at(lineX + 8 * side));
    }
}

// The last pass screens the vertical blur over the sharp picture: each channel
// gains the blur's value times what it lacks of white (GL_ONE_MINUS_DST_COLOR,
// GL_ONE), and the blur's alpha plays no part. Here the blur writes (0.5, 0.25, 1,
// 0.5) everywhere: all of it lands on the black background, half of it on the line
// of grey 0.5.
TEST(PostProcessChain, LastPassScreensTheBlurOverTheSharpPicture)
{
    const std::string flat = DEDOZ_BINARY_DIR "/chain-test-flat-blur.ps";
    std::ofstream(flat) << "#version 120\n"
                           "void main() { gl_FragColor = vec4(0.5, 0.25, 1.0, 0.5); }\n";
    ChainRig rig(640, 480, GlowSize::Full, flat);
    rig.probe->line = true;
    rig.probe->set(0.0f, 0.5f);
    rig.frame();
    ASSERT_EQ(GLenum(GL_NO_ERROR), glGetError());
    const std::vector<Rgba> window = rig.shown();
    std::remove(flat.c_str());

    const Rgba background = window[0];
    EXPECT_NEAR(128, background.r, 1);
    EXPECT_NEAR(64, background.g, 1);
    EXPECT_EQ(255, background.b);
    const size_t row = size_t(240) * 640;
    const auto line = std::max_element(window.begin() + row, window.begin() + row + 640,
                                       [](const Rgba& a, const Rgba& b) { return a.r < b.r; });
    EXPECT_NEAR(128 + 64, line->r, 2);
    EXPECT_NEAR(128 + 32, line->g, 2);
    EXPECT_EQ(255, line->b);
}

INSTANTIATE_TEST_SUITE_P(PostProcessChain, ChainAtGlowSize,
                         testing::Values(GlowSize::Full, GlowSize::Half), sizeName);

// The half-size glow stands in for the full-size one: a four-pixel line (the
// floor's width) drawn through a LineRenderer, which draws it half as wide at half
// size, glows alike at both sizes, as wide and as bright. The line is centred in
// the window, on a pixel boundary that the half-size copy shares.
TEST(PostProcessChain, HalfSizeGlowLooksLikeTheFullSizeGlow)
{
    const int w = 640, row = 240;
    std::vector<Rgba> pictures[2];
    for (GlowSize size : {GlowSize::Full, GlowSize::Half}) {
        ChainRig rig(w, 480, size);
        rig.probe->line = true;
        rig.probe->rendererWidth = 4;
        rig.probe->set(0.0f, 1.0f);
        rig.frame();
        ASSERT_EQ(GLenum(GL_NO_ERROR), glGetError());
        pictures[size == GlowSize::Half] = rig.shown();
    }
    auto at = [&](int picture, int x) {
        return pictures[picture][size_t(row) * w + x].brightest();
    };
    for (int picture : {0, 1})
        for (int x = 318; x <= 321; ++x)
            ASSERT_GT(at(picture, x), 200) << "no line at pixel " << x << " in picture " << picture;

    // The full-size blur's paired fetches alternate brighter and dimmer columns
    // beside a sharp line; compared four columns at a time, the light beside the
    // line agrees right from the line's edge (each window pixel weighs the glow by
    // its own brightness, at either size), and both end at the same distance.
    auto band = [&](int picture, int from, int side) {
        int sum = 0;
        for (int d = from; d < from + 4; ++d)
            sum += at(picture, side < 0 ? 318 - d : 321 + d);
        return sum;
    };
    for (int from = 1; from <= 29; from += 4) {
        SCOPED_TRACE(testing::Message() << "distances " << from << " to " << from + 3);
        const int full = band(0, from, -1);
        EXPECT_EQ(full, band(0, from, 1)) << "the full-size glow is not symmetric";
        for (int side : {-1, 1})
            EXPECT_NEAR(full, band(1, from, side), 16 + full * 0.15);
    }
}

TEST(PostProcessChain, TargetsAndViewportFollowTheWindowSize)
{
    ChainRig rig(800, 600);
    GLint w = 0, h = 0;
    textureSize(rig.chain->firstTarget(), w, h);
    EXPECT_EQ(800, w);
    EXPECT_EQ(600, h);
    textureSize(rig.chain->secondTarget(), w, h);
    EXPECT_EQ(800, w);
    EXPECT_EQ(600, h);

    rig.probe->set(0.0f, 1.0f);
    rig.frame();
    ASSERT_EQ(2u, rig.probe->passes.size());
    for (const PassState& s : rig.probe->passes) {
        EXPECT_EQ((std::vector<GLint>{0, 0, 800, 600}),
                  std::vector<GLint>(s.viewport, s.viewport + 4));
        expectSquarePerspective(s.projection);  // stretched, not the window's 4:3
    }
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ((std::vector<GLint>{0, 0, 800, 600}), std::vector<GLint>(viewport, viewport + 4));
}

// A window asked for as 0 x 0 has the screen's size: the targets follow the window
// that SDL gave, not the numbers that were asked for.
TEST(PostProcessChain, TargetsFollowAScreenSizedWindow)
{
    ChainRig rig(0, 0);
    const Process::Result display = Process::run({"xdotool", "getdisplaygeometry"}, {}, 10000);
    int width = 0, height = 0;
    ASSERT_EQ(2, std::sscanf(display.out.c_str(), "%d %d", &width, &height)) << display.out;
    EXPECT_EQ(width, rig.window().getWidth());
    EXPECT_EQ(height, rig.window().getHeight());
    GLint w = 0, h = 0;
    textureSize(rig.chain->firstTarget(), w, h);
    EXPECT_EQ(width, w);
    EXPECT_EQ(height, h);
    textureSize(rig.chain->secondTarget(), w, h);
    EXPECT_EQ(width, w);
    EXPECT_EQ(height, h);
}

// Half of an odd side is rounded up, so that the glow reaches the last column and row.
TEST(PostProcessChain, HalfSizeTargetsCoverAnOddWindow)
{
    ChainRig rig(801, 601, GlowSize::Half);
    for (Texture* target : {&rig.chain->firstTarget(), &rig.chain->secondTarget()}) {
        GLint w = 0, h = 0;
        textureSize(*target, w, h);
        EXPECT_EQ(401, w);
        EXPECT_EQ(301, h);
    }
}
