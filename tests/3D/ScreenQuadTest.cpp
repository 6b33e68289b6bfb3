// drawScreenQuad on a real GL context: coverage of the viewport, orientation of
// the texture, and the GL state it restores or forces.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include "3D/GLTestContext.h"
#include "3D/ScreenQuad.h"
#include "3D/Shader.h"
#include "3D/Texture.h"
#include "Zembra/Window.h"

using testgl::Pixel;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

struct Matrix {
    GLfloat m[16];
};

Matrix matrix(GLenum which)
{
    Matrix result;
    glGetFloatv(which, result.m);
    return result;
}

GLint integer(GLenum which)
{
    GLint value = -1;
    glGetIntegerv(which, &value);
    return value;
}

}  // namespace

TEST(ScreenQuad, CoversTheWholeViewportWithATextureOfAnotherSize)
{
    testgl::engine();
    CaptureStdout();
    const auto target = testgl::newWindowSizedTarget();
    const float green[4] = {0, 1, 0, 1};
    const Texture small(4, 4, green);
    GetCapturedStdout();

    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
    glViewport(0, 0, 10, 10);  // the quad sets the full window itself
    glColor4f(1, 1, 1, 1);
    drawScreenQuad(small, testgl::window());

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(0, viewport[0]);
    EXPECT_EQ(0, viewport[1]);
    EXPECT_EQ(testgl::window().getWidth(), viewport[2]);
    EXPECT_EQ(testgl::window().getHeight(), viewport[3]);

    int notGreen = 0;
    for (const Pixel& p : target->read())
        notGreen += (p.r == 0 && p.g == 255 && p.b == 0) ? 0 : 1;
    EXPECT_EQ(0, notGreen);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(ScreenQuad, TexelRowZeroLandsAtTheBottom)
{
    testgl::engine();
    CaptureStdout();
    const auto target = testgl::newWindowSizedTarget();
    const Texture strip(1, 4);
    GetCapturedStdout();
    // Rows bottom to top: red, black, black, blue.
    const unsigned char rows[16] = {255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255};
    strip.bind();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1, 4, GL_RGBA, GL_UNSIGNED_BYTE, rows);
    Texture::unbind();

    glColor4f(1, 1, 1, 1);
    drawScreenQuad(strip, testgl::window());
    const int w = target->width;
    const int h = target->height;
    const std::vector<Pixel> pixels = target->read();
    // Pixel rows at the centres of texel rows 0 and 3 (bottom row of the read first).
    const Pixel bottom = pixels[static_cast<size_t>(h / 8) * w + w / 2];
    const Pixel top = pixels[static_cast<size_t>(h - 1 - h / 8) * w + w / 2];
    // Linear filtering may blend a little of the neighbouring row.
    EXPECT_GE(bottom.r, 250);
    EXPECT_LE(bottom.b, 5);
    EXPECT_GE(top.b, 250);
    EXPECT_LE(top.r, 5);
}

TEST(ScreenQuad, RestoresMatricesAndForcesDepthOnTexturingOff)
{
    testgl::engine();
    CaptureStdout();
    const auto target = testgl::newWindowSizedTarget();
    const float white[4] = {1, 1, 1, 1};
    const Texture texture(2, 2, white);
    GetCapturedStdout();
    const Shader program("data/shaders/blur.vs", "data/shaders/blur.ps",
                         "#define BLUR_HORIZONTAL\n");

    // The opposite of what the quad leaves: odd matrices, projection current,
    // depth test off, texturing on, a program in use.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(30, 0, 0, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-3, 5, -2, 7, -1, 1);
    const Matrix projection = matrix(GL_PROJECTION_MATRIX);
    const Matrix modelview = matrix(GL_MODELVIEW_MATRIX);
    const GLint projectionDepth = integer(GL_PROJECTION_STACK_DEPTH);
    const GLint modelviewDepth = integer(GL_MODELVIEW_STACK_DEPTH);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    program.use();

    drawScreenQuad(texture, testgl::window());

    const Matrix projectionAfter = matrix(GL_PROJECTION_MATRIX);
    const Matrix modelviewAfter = matrix(GL_MODELVIEW_MATRIX);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(projection.m[i], projectionAfter.m[i]) << "projection " << i;
        EXPECT_EQ(modelview.m[i], modelviewAfter.m[i]) << "modelview " << i;
    }
    EXPECT_EQ(projectionDepth, integer(GL_PROJECTION_STACK_DEPTH));
    EXPECT_EQ(modelviewDepth, integer(GL_MODELVIEW_STACK_DEPTH));
    EXPECT_EQ(GL_MODELVIEW, integer(GL_MATRIX_MODE));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(0, integer(GL_TEXTURE_BINDING_2D));
    EXPECT_EQ(static_cast<GLint>(program.getProgramId()), integer(GL_CURRENT_PROGRAM));

    // Depth on before stays on.
    Shader::unuse();
    glEnable(GL_DEPTH_TEST);
    drawScreenQuad(texture, testgl::window());
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
