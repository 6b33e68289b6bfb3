// FrameBuffer and RenderBuffer on a real GL context: life lines, attachments,
// what stays bound afterwards, and validation of complete and incomplete buffers.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <string>

#include "3D/FrameBuffer.h"
#include "3D/GLTestContext.h"
#include "3D/NoCurrentContext.h"
#include "3D/RenderBuffer.h"
#include "3D/Texture.h"
#include "Zembra/Exceptions/FrameBufferException.h"
#include "Zembra/Exceptions/GLErrorException.h"
#include "Zembra/Exceptions/RenderBufferException.h"

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

GLint boundFrameBuffer()
{
    GLint name = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &name);
    return name;
}

GLint boundRenderBuffer()
{
    GLint name = -1;
    glGetIntegerv(GL_RENDERBUFFER_BINDING, &name);
    return name;
}

// The object attached as colour 0 of the frame buffer bound to GL_FRAMEBUFFER.
GLint colourAttachment()
{
    GLint name = -1;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
    return name;
}

// Reads the name logged after "New FrameBuffer id: " / "New RenderBuffer id: ".
GLuint loggedId(const std::string& log, const std::string& prefix)
{
    EXPECT_EQ(0u, log.rfind(prefix, 0)) << log;
    return static_cast<GLuint>(std::stoul(log.substr(prefix.size())));
}

}  // namespace

TEST(FrameBuffer, LifeLinesAndName)
{
    testgl::engine();
    GLuint id = 0;
    CaptureStdout();
    {
        FrameBuffer frameBuffer;
        const std::string created = GetCapturedStdout();
        id = loggedId(created, "New FrameBuffer id: ");
        EXPECT_NE(0u, id);
        EXPECT_EQ("New FrameBuffer id: " + std::to_string(id) + "\nFrameBuffer created\n", created);

        frameBuffer.bind(GL_FRAMEBUFFER);
        EXPECT_EQ(static_cast<GLint>(id), boundFrameBuffer());
        EXPECT_TRUE(glIsFramebuffer(id));
        FrameBuffer::unbind(GL_FRAMEBUFFER);
        EXPECT_EQ(0, boundFrameBuffer());
        CaptureStdout();
    }
    EXPECT_EQ("FrameBuffer '" + std::to_string(id) + "' deleted\n", GetCapturedStdout());
    EXPECT_FALSE(glIsFramebuffer(id));
}

TEST(FrameBuffer, AttachmentsCanBeReplacedAndLeaveNoFrameBufferBound)
{
    testgl::engine();
    CaptureStdout();
    Texture first(32, 32);
    Texture second(32, 32);
    FrameBuffer frameBuffer;
    GetCapturedStdout();

    frameBuffer.bind(GL_FRAMEBUFFER);  // bound before: still 0 after attaching
    frameBuffer.attachTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, first.getId());
    EXPECT_EQ(0, boundFrameBuffer());

    frameBuffer.bind(GL_FRAMEBUFFER);
    EXPECT_EQ(static_cast<GLint>(first.getId()), colourAttachment());
    CaptureStderr();
    frameBuffer.validate(GL_FRAMEBUFFER);
    EXPECT_EQ("", GetCapturedStderr());
    // validate() does not touch the binding.
    EXPECT_NE(0, boundFrameBuffer());
    FrameBuffer::unbind(GL_FRAMEBUFFER);

    frameBuffer.attachTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, second.getId());
    EXPECT_EQ(0, boundFrameBuffer());
    frameBuffer.bind(GL_FRAMEBUFFER);
    EXPECT_EQ(static_cast<GLint>(second.getId()), colourAttachment());

    // Rendering through it lands in the attached texture, not the first one.
    glViewport(0, 0, 32, 32);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const std::vector<testgl::Pixel> pixels = testgl::readPixels(32, 32);
    EXPECT_EQ(255, pixels[0].g);
    EXPECT_EQ(0, pixels[0].r);
    FrameBuffer::unbind(GL_FRAMEBUFFER);
    glClearColor(0, 0, 0, 1);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(FrameBuffer, IncompleteBufferIsReportedAndTheRunGoesOn)
{
    testgl::engine();
    CaptureStdout();
    FrameBuffer frameBuffer;
    const float colour[4] = {1, 1, 1, 1};
    Texture empty(0, 0, colour);
    GetCapturedStdout();

    // Nothing attached at all.
    frameBuffer.bind(GL_FRAMEBUFFER);
    CaptureStderr();
    frameBuffer.validate(GL_FRAMEBUFFER);
    EXPECT_EQ("Fail to validate the FBO\n", GetCapturedStderr());
    FrameBuffer::unbind(GL_FRAMEBUFFER);

    // A 0 x 0 texture attached.
    frameBuffer.attachTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, empty.getId());
    frameBuffer.bind(GL_FRAMEBUFFER);
    CaptureStderr();
    EXPECT_NO_THROW(frameBuffer.validate(GL_FRAMEBUFFER));
    EXPECT_EQ("Fail to validate the FBO\n", GetCapturedStderr());
    FrameBuffer::unbind(GL_FRAMEBUFFER);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(FrameBuffer, AttachingANameThatIsNoTextureThrows)
{
    testgl::engine();
    CaptureStdout();
    FrameBuffer frameBuffer;
    GetCapturedStdout();
    try {
        frameBuffer.attachTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, 987654u);
        FAIL() << "no exception";
    } catch (const GLErrorException& e) {
        EXPECT_STREQ("Invalid operation in 'glFramebufferTexture2D'", e.what());
    }
    FrameBuffer::unbind(GL_FRAMEBUFFER);
}

TEST(RenderBuffer, LifeLinesStorageAndAttachment)
{
    testgl::engine();
    GLuint id = 0;
    CaptureStdout();
    {
        RenderBuffer renderBuffer;
        const std::string created = GetCapturedStdout();
        id = loggedId(created, "New RenderBuffer id: ");
        EXPECT_NE(0u, id);
        EXPECT_EQ(id, renderBuffer.getId());
        EXPECT_EQ("New RenderBuffer id: " + std::to_string(id) + "\nRenderBuffer created\n",
                  created);

        renderBuffer.setStorage(GL_RENDERBUFFER, GL_RGBA8, 40, 30);
        EXPECT_EQ(0, boundRenderBuffer());
        renderBuffer.bind(GL_RENDERBUFFER);
        EXPECT_EQ(static_cast<GLint>(id), boundRenderBuffer());
        GLint width = 0;
        GLint height = 0;
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &width);
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &height);
        EXPECT_EQ(40, width);
        EXPECT_EQ(30, height);
        RenderBuffer::unbind(GL_RENDERBUFFER);
        EXPECT_EQ(0, boundRenderBuffer());

        CaptureStdout();
        FrameBuffer frameBuffer;
        GetCapturedStdout();
        frameBuffer.attachRenderBuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, renderBuffer);
        EXPECT_EQ(0, boundFrameBuffer());
        frameBuffer.bind(GL_FRAMEBUFFER);
        EXPECT_EQ(static_cast<GLint>(id), colourAttachment());
        CaptureStderr();
        frameBuffer.validate(GL_FRAMEBUFFER);
        EXPECT_EQ("", GetCapturedStderr());
        FrameBuffer::unbind(GL_FRAMEBUFFER);
        CaptureStdout();
    }
    const std::string deleted = GetCapturedStdout();
    EXPECT_NE(std::string::npos, deleted.find("deleted created\n")) << deleted;
    EXPECT_FALSE(glIsRenderbuffer(id));
}

TEST(RenderBuffer, RefusedStorageThrows)
{
    testgl::engine();
    CaptureStdout();
    RenderBuffer renderBuffer;
    GetCapturedStdout();
    try {
        renderBuffer.setStorage(GL_RENDERBUFFER, GL_RGBA8, -4, 4);
        FAIL() << "no exception";
    } catch (const GLErrorException& e) {
        EXPECT_STREQ("Invalid value in 'glRenderbufferStorage'", e.what());
    }
    RenderBuffer::unbind(GL_RENDERBUFFER);
}

TEST(FrameBuffer, ZeroNamesAreRefusedAfterTheIdLine)
{
    testgl::engine();
    std::string out;
    bool frameBufferRefused = false;
    bool renderBufferRefused = false;
    {
        // With no current context the generators leave the name at 0.
        const testgl::NoCurrentContext none;
        ASSERT_TRUE(none.detached());
        CaptureStdout();
        try {
            const FrameBuffer frameBuffer;
        } catch (const FrameBufferException& e) {
            frameBufferRefused = std::string("FrameBuffer id is 0") == e.what();
        }
        try {
            const RenderBuffer renderBuffer;
        } catch (const RenderBufferException& e) {
            renderBufferRefused = std::string("RenderBuffer id is 0") == e.what();
        }
        out = GetCapturedStdout();
    }
    EXPECT_TRUE(frameBufferRefused);
    EXPECT_TRUE(renderBufferRefused);
    // The id line comes first; neither "created" line, nor a deletion line.
    EXPECT_EQ("New FrameBuffer id: 0\nNew RenderBuffer id: 0\n", out);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(RenderBuffer, DeletedEvenWithoutTheExtensionEntryPoint)
{
    testgl::engine();
    // A driver with only the core frame-buffer names leaves the EXT pointer null.
    const PFNGLDELETERENDERBUFFERSEXTPROC saved = glDeleteRenderbuffersEXT;
    GLuint id = 0;
    CaptureStdout();
    {
        RenderBuffer renderBuffer;
        id = renderBuffer.getId();
        renderBuffer.setStorage(GL_RENDERBUFFER, GL_RGBA8, 4,
                                4);  // a name becomes an object once bound
        EXPECT_TRUE(glIsRenderbuffer(id));
        glDeleteRenderbuffersEXT = nullptr;
    }
    glDeleteRenderbuffersEXT = saved;
    EXPECT_NE(std::string::npos, GetCapturedStdout().find("deleted created\n"));
    EXPECT_FALSE(glIsRenderbuffer(id));
}
