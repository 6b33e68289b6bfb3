// Engine::isExtensionSupported with an extension removed from the driver for real.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Zembra/Engine.h"
#include "support/Process.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(Engine, MissingExtensionsAnswerFalseWithOneLineEach)
{
    // Mesa reads MESA_EXTENSION_OVERRIDE once per process, so CTest sets it for
    // this executable alone.
    ASSERT_STREQ("-GL_ARB_framebuffer_object", getenv("MESA_EXTENSION_OVERRIDE"));
    CaptureStdout();
    {
        Engine engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, 320, 240, "t");
        EXPECT_FALSE(engine.isExtensionSupported("GL_ARB_framebuffer_object"));
        EXPECT_FALSE(engine.isExtensionSupported("GL_DEDOZ_no_such_extension"));
        EXPECT_TRUE(engine.isExtensionSupported("GL_ARB_multitexture"));
    }
    const std::string out = GetCapturedStdout();
    EXPECT_EQ(1, countOccurrences(out, "Extension 'GL_ARB_framebuffer_object' not found\n"));
    EXPECT_EQ(1, countOccurrences(out, "Extension 'GL_DEDOZ_no_such_extension' not found\n"));
    EXPECT_EQ(0, countOccurrences(out, "GL_ARB_multitexture"));
}
