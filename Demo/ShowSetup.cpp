// ShowSetup: reads the show's numbers and builds its parts in the order every
// program relies on.
#include "Demo/ShowSetup.h"

#include <GL/glew.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Demo/ChainPrograms.h"
#include "Demo/DemoContent.h"
#include "Demo/GlowSize.h"
#include "Demo/PostProcessChain.h"
#include "Demo/Settings.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Engine.h"
#include "Zembra/Random.h"
#include "Zembra/Window.h"

namespace {

const char* rendererName()
{
    return reinterpret_cast<const char*>(glGetString(GL_RENDERER));
}

}  // namespace

ShowSetup::ShowSetup(const Settings& settings, const ShowOverrides& overrides)
{
    m_seed = overrides.seed
                 ? *overrides.seed
                 : static_cast<uint32_t>(settings.getInt("seed", DEFAULT_SEED, INT_MIN, INT_MAX));
    int zero = -1;
    if (overrides.width > 0 && overrides.height > 0) {
        m_windowWidth = overrides.width;
        m_windowHeight = overrides.height;
    } else if (Settings::truncateInRange(settings.getFloat("hres", DEFAULT_WIDTH), 0, 0, zero) &&
               Settings::truncateInRange(settings.getFloat("vres", DEFAULT_HEIGHT), 0, 0, zero)) {
        // SDL's video mode call takes 0 x 0 as the screen's own size.
        m_windowWidth = m_windowHeight = 0;
    } else {
        m_windowHeight = settings.getInt("vres", DEFAULT_HEIGHT, 1, DemoContent::MAX_WINDOW_SIDE);
        m_windowWidth = settings.getInt("hres", DEFAULT_WIDTH, 1, DemoContent::MAX_WINDOW_SIDE);
    }
    m_glow = overrides.glow ? *overrides.glow
                            : settings.getInt("glow", GLOW_AUTOMATIC, GLOW_AUTOMATIC, GLOW_HALF);
}

ShowSetup::ShowSetup(uint32_t seed, int windowWidth, int windowHeight, int glow)
    : m_seed(seed), m_windowWidth(windowWidth), m_windowHeight(windowHeight), m_glow(glow)
{
}

std::unique_ptr<Engine> ShowSetup::openWindow(const std::string& title) const
{
    auto engine = std::make_unique<Engine>(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, m_windowWidth,
                                           m_windowHeight, title);
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
    return ::glowMessage(m_glow, rendererName());
}

std::unique_ptr<PostProcessChain> ShowSetup::makeChain(Window& window) const
{
    return std::make_unique<PostProcessChain>(window, chooseGlowSize(m_glow, rendererName()));
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
