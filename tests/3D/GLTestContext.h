// Shared OpenGL context for the rendering-resource tests: one Engine (SDL window
// with a GL context, GLEW initialised) for the whole test executable, plus helpers
// to capture log output and read back off-screen targets. Sizes in pixels.
#pragma once

#include <GL/glew.h>

#include <memory>
#include <string>
#include <vector>

#include "3D/FrameBuffer.h"
#include "3D/Texture.h"

class Engine;
class Window;

namespace testgl {

// The engine of this test executable, created on first use (needs $DISPLAY).
Engine& engine();
Window& window();

// One RGBA8 pixel as read back with glReadPixels.
struct Pixel {
    unsigned char r, g, b, a;
};

// Reads the whole width x height area of the bound read frame buffer, bottom row first.
std::vector<Pixel> readPixels(int width, int height);

// A width x height RGBA8 texture attached as colour 0 of a frame buffer that
// stays bound (to GL_FRAMEBUFFER) while the object lives, with the viewport on it.
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height);
    ~OffscreenTarget();
    std::vector<Pixel> read() const;

    const int width;
    const int height;
    Texture texture;
    FrameBuffer frameBuffer;
};

// A target of the window's size, as the post-processing chain uses.
std::unique_ptr<OffscreenTarget> newWindowSizedTarget();

// Writes text to a file under the build tree and returns its path.
std::string writeTempFile(const std::string& name, const std::string& text);

}  // namespace testgl
