// Texture on a real GL context: names and log lines, level-0 parameters, solid
// colour bytes, the binding left behind, and release of the name on failure.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <limits>
#include <string>
#include <vector>

#include "3D/GLTestContext.h"
#include "3D/Texture.h"
#include "Zembra/Exceptions/GLErrorException.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

GLint boundTexture()
{
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

GLint levelParameter(const Texture& texture, GLenum parameter)
{
    GLint value = -1;
    texture.bind();
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
    Texture::unbind();
    return value;
}

GLint textureParameter(const Texture& texture, GLenum parameter)
{
    GLint value = -1;
    texture.bind();
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    Texture::unbind();
    return value;
}

std::vector<unsigned char> textureBytes(const Texture& texture, size_t pixelCount)
{
    std::vector<unsigned char> bytes(pixelCount * 4, 0xAB);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    texture.bind();
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    Texture::unbind();
    return bytes;
}

std::string createdLine(GLuint id)
{
    return "GL Texture ID created: " + std::to_string(id) + "\n";
}

}  // namespace

TEST(Texture, RenderTargetHasItsSizeAndFormatAndIsLeftUnbound)
{
    testgl::engine();
    // Another texture bound beforehand: the constructor still leaves none bound.
    const float grey[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    Texture previous(1, 1, grey);
    previous.bind();

    CaptureStdout();
    Texture target(64, 32);
    EXPECT_EQ(createdLine(target.getId()), GetCapturedStdout());
    EXPECT_NE(0u, target.getId());
    EXPECT_NE(previous.getId(), target.getId());
    EXPECT_EQ(0, boundTexture());

    EXPECT_EQ(64, levelParameter(target, GL_TEXTURE_WIDTH));
    EXPECT_EQ(32, levelParameter(target, GL_TEXTURE_HEIGHT));
    EXPECT_EQ(GL_RGBA8, levelParameter(target, GL_TEXTURE_INTERNAL_FORMAT));
    // Linear minification set; magnification and wrap keep OpenGL's defaults.
    EXPECT_EQ(GL_LINEAR, textureParameter(target, GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_LINEAR, textureParameter(target, GL_TEXTURE_MAG_FILTER));
    EXPECT_EQ(GL_REPEAT, textureParameter(target, GL_TEXTURE_WRAP_S));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(Texture, SolidColourBytesAreTruncatedProducts)
{
    testgl::engine();
    const float colour[4] = {1.0f, 0.5f, 0.0f, 0.25f};
    CaptureStdout();
    const Texture texture(3, 2, colour);
    EXPECT_EQ(createdLine(texture.getId()), GetCapturedStdout());
    EXPECT_EQ(0, boundTexture());
    EXPECT_EQ(3, levelParameter(texture, GL_TEXTURE_WIDTH));
    EXPECT_EQ(2, levelParameter(texture, GL_TEXTURE_HEIGHT));
    EXPECT_EQ(GL_LINEAR, textureParameter(texture, GL_TEXTURE_MIN_FILTER));

    const std::vector<unsigned char> bytes = textureBytes(texture, 6);
    for (size_t pixel = 0; pixel < 6; ++pixel) {
        EXPECT_EQ(255, bytes[pixel * 4 + 0]) << "pixel " << pixel;
        EXPECT_EQ(127, bytes[pixel * 4 + 1]) << "pixel " << pixel;  // 127.5 truncated
        EXPECT_EQ(0, bytes[pixel * 4 + 2]) << "pixel " << pixel;
        EXPECT_EQ(63, bytes[pixel * 4 + 3]) << "pixel " << pixel;  // 63.75 truncated
    }
}

TEST(Texture, ComponentsOutsideTheUnitRangeAreClamped)
{
    // Out-of-range floats must not wrap around (2.0 x 255 = 510 would become 254).
    EXPECT_EQ(0, Texture::componentToByte(-0.5f));
    EXPECT_EQ(255, Texture::componentToByte(2.0f));
    EXPECT_EQ(0, Texture::componentToByte(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(254, Texture::componentToByte(0.999f));

    testgl::engine();
    const float wild[4] = {-1.0f, 3.0f, 0.2f, 1.0f};
    CaptureStdout();
    const Texture texture(2, 2, wild);
    GetCapturedStdout();
    const std::vector<unsigned char> bytes = textureBytes(texture, 4);
    EXPECT_EQ(0, bytes[0]);
    EXPECT_EQ(255, bytes[1]);
    EXPECT_EQ(51, bytes[2]);
    EXPECT_EQ(255, bytes[3]);
}

TEST(Texture, EmptySolidColourTextureIsStillCreated)
{
    testgl::engine();
    const float colour[4] = {1, 1, 1, 1};
    CaptureStdout();
    const Texture texture(0, 0, colour);
    EXPECT_EQ(createdLine(texture.getId()), GetCapturedStdout());
    EXPECT_TRUE(glIsTexture(texture.getId()));
    EXPECT_EQ(0, levelParameter(texture, GL_TEXTURE_WIDTH));
    EXPECT_EQ(0, boundTexture());
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(Texture, DestructionAndFailedConstructionReleaseTheName)
{
    testgl::engine();
    GLuint id = 0;
    {
        CaptureStdout();
        const Texture texture(8, 8);
        GetCapturedStdout();
        id = texture.getId();
        EXPECT_TRUE(glIsTexture(id));
    }
    EXPECT_FALSE(glIsTexture(id));

    // A negative size is refused by the driver; the pending error surfaces at the
    // unbind check, and the texture the constructor generated is deleted.
    CaptureStdout();
    try {
        const Texture bad(-1, 4);
        FAIL() << "no exception";
    } catch (const GLErrorException& e) {
        EXPECT_STREQ("Invalid value in 'glBindTexture (unbind)'", e.what());
    }
    const std::string log = GetCapturedStdout();
    const std::string prefix = "GL Texture ID created: ";
    ASSERT_EQ(0u, log.rfind(prefix, 0)) << log;
    const GLuint badId = static_cast<GLuint>(std::stoul(log.substr(prefix.size())));
    EXPECT_NE(0u, badId);
    EXPECT_FALSE(glIsTexture(badId));
    EXPECT_EQ(0, boundTexture());
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
