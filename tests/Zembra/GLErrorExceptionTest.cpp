// The failure kinds: GLErrorException messages, each kind its own type with its
// message, and checkGLError against a real GL context.
#include <gtest/gtest.h>

#include <functional>

#include "Zembra/Engine.h"
#include "Zembra/Exceptions/EngineInitialisationException.h"
#include "Zembra/Exceptions/FrameBufferException.h"
#include "Zembra/Exceptions/RenderBufferException.h"
#include "Zembra/Exceptions/ShaderCreationException.h"
#include "Zembra/Exceptions/ShaderLoadingException.h"
#include "Zembra/Exceptions/WindowCreationException.h"
#include "Zembra/GLError.h"

TEST(GLErrorException, MessagesFollowTheCodeTable)
{
    EXPECT_STREQ("Invalid enumerator in 'x'", GLErrorException(0x500, "x").what());
    EXPECT_STREQ("Invalid value in 'glGetUniformLocation 'fade''",
                 GLErrorException(0x501, "glGetUniformLocation 'fade'").what());
    EXPECT_STREQ("Invalid operation in 'Draw'", GLErrorException(0x502, "Draw").what());
    EXPECT_STREQ("Out of memory in 'y'", GLErrorException(0x505, "y").what());
    for (unsigned code : {0x503u, 0x504u, 0x506u, 0x1234u})
        EXPECT_STREQ("Unknown error in 'z'", GLErrorException(code, "z").what());
    EXPECT_STREQ("No error occured (so why this exception has been lunched in 'n'",
                 GLErrorException(0, "n").what());
}

TEST(GLErrorException, CopyKeepsTheMessage)
{
    GLErrorException original(0x502, "Draw");
    GLErrorException copy = original;
    EXPECT_STREQ(original.what(), copy.what());
}

// The entry routine's handlers in their order: the code a failure ends the run with.
int codeFor(const std::function<void()>& fail)
{
    try {
        fail();
    } catch (const EngineInitialisationException&) {
        return -2;
    } catch (const GLErrorException&) {
        return -3;
    } catch (const ShaderException&) {
        return -3;
    } catch (const std::exception&) {
        return -4;
    }
    return 0;
}

// Each kind is told apart by its handler and keeps its message through a copy.
TEST(Exceptions, EachKindReachesItsOwnHandlerWithItsMessage)
{
    EXPECT_EQ(-2, codeFor([] { throw EngineInitialisationException("a"); }));
    EXPECT_EQ(-3, codeFor([] { throw GLErrorException(0x502, "Draw"); }));
    EXPECT_EQ(-3, codeFor([] { throw ShaderCreationException("b"); }));
    EXPECT_EQ(-3, codeFor([] { throw ShaderLoadingException("c"); }));
    EXPECT_EQ(-4, codeFor([] { throw WindowCreationException("d"); }));
    EXPECT_EQ(-4, codeFor([] { throw FrameBufferException("e"); }));
    EXPECT_EQ(-4, codeFor([] { throw RenderBufferException("f"); }));
    const WindowCreationException original("Fail to resize");
    const WindowCreationException copy = original;
    EXPECT_STREQ("Fail to resize", copy.what());
    EXPECT_STREQ("Fail to read shaders", ShaderException("Fail to read shaders").what());
}

TEST(CheckGLError, RealContext)
{
    Engine engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, 320, 240, "test");
    EXPECT_NO_THROW(checkGLError("nothing pending"));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());

    glEnable(0xFFFF);  // not a capability: raises GL_INVALID_ENUM
    try {
        checkGLError("glEnable");
        FAIL() << "no exception";
    } catch (const GLErrorException& e) {
        EXPECT_STREQ("Invalid enumerator in 'glEnable'", e.what());
    }
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
