// Shared GL context and helpers of the 3D tests. Depends on the engine and gtest.
#include "3D/GLTestContext.h"

#include <fstream>

#include "Zembra/Engine.h"
#include "Zembra/Window.h"

namespace testgl {

Engine& engine()
{
    // Lives until exit, so every test in the executable shares one context.
    static Engine instance(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, 320, 240, "render3d test");
    return instance;
}

Window& window()
{
    return *engine().getWindow();
}

std::vector<Pixel> readPixels(int width, int height)
{
    std::vector<Pixel> pixels(static_cast<size_t>(width) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

OffscreenTarget::OffscreenTarget(int w, int h) : width(w), height(h), texture(w, h)
{
    frameBuffer.attachTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, texture.getId());
    frameBuffer.bind(GL_FRAMEBUFFER);
    glViewport(0, 0, width, height);
}

OffscreenTarget::~OffscreenTarget()
{
    FrameBuffer::unbind(GL_FRAMEBUFFER);
}

std::vector<Pixel> OffscreenTarget::read() const
{
    return readPixels(width, height);
}

std::unique_ptr<OffscreenTarget> newWindowSizedTarget()
{
    return std::make_unique<OffscreenTarget>(window().getWidth(), window().getHeight());
}

std::string writeTempFile(const std::string& name, const std::string& text)
{
    const std::string path = std::string(DEDOZ_BINARY_DIR) + "/tests/3D/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return path;
}

}  // namespace testgl
