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
    // Mesa reads the override once per process, at the first context: this
    // executable holds this test alone. Set here rather than by CTest so that the
    // X server, which also loads Mesa, keeps its extensions.
    setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_framebuffer_object", 1);
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
