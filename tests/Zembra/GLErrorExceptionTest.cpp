// GLErrorException messages and checkGLError against a real GL context.
#include <gtest/gtest.h>

#include "Zembra/Engine.h"
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
