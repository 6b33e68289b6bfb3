// ShowSetup: reads the show's numbers and builds its parts in the order every
// program relies on.
#include "Demo/ShowSetup.h"

#include <GL/glew.h>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Demo/ChainPrograms.h"
#include "Demo/DemoContent.h"
#include "Demo/GlowSize.h"
#include "Demo/HeapPolicy.h"
#include "Demo/PostProcessChain.h"
#include "Demo/Settings.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Engine.h"
#include "Zembra/FramePlacement.h"
#include "Zembra/Random.h"
#include "Zembra/Window.h"

namespace {

#ifdef __EMSCRIPTEN__
// WebGL names itself "WebKit WebGL"; the device behind it (a software one too) is
// the unmasked name of the debug extension, where the browser gives it.
std::string rendererName()
{
    // 32-bit WebAssembly: the pointer travels as an int.
    char* name = reinterpret_cast<char*>(EM_ASM_INT({
        var gl = Module.ctx;
        var info = gl && gl.getExtension('WEBGL_debug_renderer_info');
        var text = info ? gl.getParameter(info.UNMASKED_RENDERER_WEBGL) : null;
        return text ? stringToNewUTF8(String(text)) : 0;
    }));
    if (name == nullptr)
        return reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const std::string text(name);
    std::free(name);
    return text;
}
#else
std::string rendererName()
{
    const GLubyte* name = glGetString(GL_RENDERER);
    return name != nullptr ? reinterpret_cast<const char*>(name) : "";
}
#endif

// The largest side of a render size the driver can give every target of the chain.
int largestRenderSide()
{
    GLint texture = 0, renderBuffer = 0, viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderBuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return std::max(1, std::min({texture, renderBuffer, viewport[0], viewport[1]}));
}

}  // namespace

ShowSetup::ShowSetup(const Settings& settings, const ShowOverrides& overrides)
{
    m_seed = overrides.seed
                 ? *overrides.seed
                 : static_cast<uint32_t>(settings.getInt("seed", DEFAULT_SEED, INT_MIN, INT_MAX));
    m_frameSizedWindow = overrides.frameSizedWindow;
    if (overrides.width > 0 && overrides.height > 0)
        m_presentation = {RenderRequest::Setting, {overrides.width, overrides.height}, true};
    else
        m_presentation = readPresentationSettings(settings);
    m_glow = overrides.glow ? *overrides.glow
                            : settings.getInt("glow", GLOW_AUTOMATIC, GLOW_AUTOMATIC, GLOW_HALF);
}

ShowSetup::ShowSetup(uint32_t seed, int windowWidth, int windowHeight, int glow)
    : m_seed(seed), m_presentation{windowWidth == 0 && windowHeight == 0 ? RenderRequest::Screen
                                                                         : RenderRequest::Setting,
                                   {windowWidth, windowHeight},
                                   true},
      m_frameSizedWindow(true), m_glow(glow)
{
}

int ShowSetup::windowWidth() const
{
    switch (m_presentation.request) {
    case RenderRequest::Setting: return m_presentation.size.width;
    case RenderRequest::Screen:
        return 0;  // SDL's video mode call takes 0 x 0 as the screen's own size
    case RenderRequest::Automatic: break;
    }
    return DEFAULT_WIDTH;
}

int ShowSetup::windowHeight() const
{
    switch (m_presentation.request) {
    case RenderRequest::Setting: return m_presentation.size.height;
    case RenderRequest::Screen: return 0;
    case RenderRequest::Automatic: break;
    }
    return DEFAULT_HEIGHT;
}

std::unique_ptr<Engine> ShowSetup::openWindow(const std::string& title) const
{
    const unsigned flags = ENGINE_INIT_GLEW | ENGINE_INIT_SDL;
    // Before the driver starts: its per-draw blocks then stay in the heap between
    // frames instead of being faulted in anew (a third of the world scene's main
    // thread on the software driver). A refusal only costs that time.
    keepFreedHeapMemory();
    if (!m_frameSizedWindow) {
        // Full screen is the screen's size (0 x 0). A window opens at the render
        // size the settings give; one whose size depends on the renderer at the
        // screen's size, until presentShow sizes it before the first frame.
        const bool sized =
            !m_presentation.fullScreen && m_presentation.request == RenderRequest::Setting;
        return std::make_unique<Engine>(flags, sized ? m_presentation.size.width : 0,
                                        sized ? m_presentation.size.height : 0, title,
                                        m_presentation.fullScreen);
    }
    auto engine = std::make_unique<Engine>(flags, windowWidth(), windowHeight(), title);
    // Unless the user asked the compatibility layer to scale, a full-screen window
    // larger than the screen is centred with its edges cut off.
    const char* scaling = std::getenv("SDL12COMPAT_OPENGL_SCALING");
    const Window& window = *engine->getWindow();
    const std::string warning = screenWarning(window.getWidth(), window.getHeight(),
                                              engine->getScreenWidth(), engine->getScreenHeight(),
                                              scaling != nullptr && std::strcmp(scaling, "0") != 0);
    if (!warning.empty())
        std::cout << warning << std::endl;
    return engine;
}

std::unique_ptr<SceneManager> ShowSetup::makeScenes() const
{
    // The grid's band lists and some scenes draw from the sequence as they are
    // built: seed first, then the manager, then the scenes.
    Random::seed(m_seed);
    auto scenes = std::make_unique<SceneManager>();
    addDemoScenes(*scenes);
    return scenes;
}

std::unique_ptr<ChainPrograms> ShowSetup::makePrograms(const std::string& folder) const
{
    auto programs = std::make_unique<ChainPrograms>();
    programs->load(folder);
    return programs;
}

const char* ShowSetup::glowMessage() const
{
    return ::glowMessage(m_glow, rendererName().c_str());
}

std::unique_ptr<PostProcessChain> ShowSetup::makeChain(Window& window) const
{
    return std::make_unique<PostProcessChain>(window,
                                              chooseGlowSize(m_glow, rendererName().c_str()));
}

std::unique_ptr<PostProcessChain> ShowSetup::makeChain(Window& window, PixelSize render) const
{
    return std::make_unique<PostProcessChain>(window, render.width, render.height,
                                              chooseGlowSize(m_glow, rendererName().c_str()));
}

PixelSize ShowSetup::presentShow(Engine& engine) const
{
    Window& window = *engine.getWindow();
    if (m_frameSizedWindow)
        return {window.getWidth(), window.getHeight()};
    PixelSize screen = {engine.getScreenWidth(), engine.getScreenHeight()};
    if (screen.width <= 0 || screen.height <= 0)
        screen = {window.getWidth(), window.getHeight()};
    const RenderChoice choice =
        chooseRenderSize(m_presentation, screen, rendererName().c_str(), largestRenderSide());
    if (!choice.warning.empty())
        std::cout << choice.warning << std::endl;
    if (!m_presentation.fullScreen) {
        PixelSize wanted = choice.size;
        if (wanted.width > screen.width || wanted.height > screen.height) {
            const PixelRect fitted =
                placeFrame(wanted.width, wanted.height, screen.width, screen.height);
            wanted = {fitted.width, fitted.height};
        }
        if (wanted.width != window.getWidth() || wanted.height != window.getHeight())
            window.resize(wanted.width, wanted.height);
    }
    std::cout << presentationMessage(choice, m_presentation.fullScreen,
                                     {window.getWidth(), window.getHeight()})
              << std::endl;
    return choice.size;
}

std::string ShowSetup::screenWarning(int windowWidth, int windowHeight, int screenWidth,
                                     int screenHeight, bool scaled)
{
    if (scaled || screenWidth <= 0 || screenHeight <= 0 ||
        (windowWidth <= screenWidth && windowHeight <= screenHeight))
        return "";
    return "Warning: the window (" + std::to_string(windowWidth) + "x" +
           std::to_string(windowHeight) + ") is larger than the screen (" +
           std::to_string(screenWidth) + "x" + std::to_string(screenHeight) +
           "), its edges are cut off; hres 0 vres 0 gives the screen's own size";
}
