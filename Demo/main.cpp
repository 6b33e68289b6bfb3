// DedoZ entry routine: settings, engine, hardware check, music, scenes, shader
// programs and post-processing chain, then the paced main loop and an ordered
// shutdown. Every failure ends as one line on a standard stream and a return code.
#include <GL/glew.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>

#include "3D/Shader.h"
#include "Demo/ChainPrograms.h"
#include "Demo/DemoContent.h"
#include "Demo/FrameTimeLog.h"
#include "Demo/GlowSize.h"
#include "Demo/PostProcessChain.h"
#include "Demo/Settings.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Controllers/InputManager.h"
#include "Zembra/Controllers/QuitRequests.h"
#include "Zembra/Controllers/SDL_Keyboard.h"
#include "Zembra/Engine.h"
#include "Zembra/Exceptions/EngineInitialisationException.h"
#include "Zembra/Exceptions/GLErrorException.h"
#include "Zembra/Exceptions/ShaderException.h"
#include "Zembra/Random.h"
#include "Zembra/Window.h"

namespace {

const char* const TITLE = "DedoZ";

// The window size the settings ask for, in pixels. hres 0 with vres 0 asks for the
// screen's own size (SDL's video mode call takes 0 x 0 that way); any other value
// outside 1 to DemoContent::MAX_WINDOW_SIDE falls back to its default with a warning.
void windowSize(const Settings& settings, int& width, int& height)
{
    int zero = -1;
    if (Settings::truncateInRange(settings.getFloat("hres", 640), 0, 0, zero) &&
        Settings::truncateInRange(settings.getFloat("vres", 480), 0, 0, zero)) {
        width = height = 0;
        return;
    }
    height = settings.getInt("vres", 480, 1, DemoContent::MAX_WINDOW_SIDE);
    width = settings.getInt("hres", 640, 1, DemoContent::MAX_WINDOW_SIDE);
}

// A full-screen window larger than the screen is centred with its edges cut off
// (unless the compatibility layer scales it, which the user must have asked for):
// one line says so and how to get the screen's own size.
void warnIfLargerThanTheScreen(Engine& engine)
{
    const Window& window = *engine.getWindow();
    const int screenWidth = engine.getScreenWidth(), screenHeight = engine.getScreenHeight();
    const char* scaling = std::getenv("SDL12COMPAT_OPENGL_SCALING");
    const bool scaled = scaling != nullptr && std::strcmp(scaling, "0") != 0;
    if (scaled || screenWidth <= 0 || screenHeight <= 0 ||
        (window.getWidth() <= screenWidth && window.getHeight() <= screenHeight))
        return;
    std::cout << "Warning: the window (" << window.getWidth() << "x" << window.getHeight()
              << ") is larger than the screen (" << screenWidth << "x" << screenHeight
              << "), its edges are cut off; hres 0 vres 0 gives the screen's own size" << std::endl;
}

// One iteration per frame until a quit request (Escape held, Ctrl-C, SIGTERM, the
// window closed) or the end of the last scene.
void runLoop(Engine& engine, InputManager& inputs, SceneManager& scenes, Music& music,
             PostProcessChain& chain, const ChainPrograms& programs)
{
    FrameTimeLog frameLog(std::getenv(FrameTimeLog::ENVIRONMENT));
    for (;;) {
        chain.renderFrame(scenes, *programs.pulse, *programs.horizontalBlur,
                          *programs.verticalBlur);
        frameLog.framePresented(scenes.currentIndex());
        inputs.update();
        engine.waitNextFrame();
        if (inputs.isQuitRequested())
            break;
        if (scenes.update(music, engine.getTicks()))
            break;
    }
}

}  // namespace

// Return codes: 0 after a normal run (also when the hardware is too weak),
// -2 GLEW failed, -3 an OpenGL error or a shader program failed, -4 anything else.
int main(int, char**)
{
    try {
        Settings settings(DemoContent::SETTINGS_PATH);
        // Seeded before any object that draws random numbers exists.
        Random::seed(static_cast<uint32_t>(settings.getInt("seed", 42, INT_MIN, INT_MAX)));
        int width = 0, height = 0;
        windowSize(settings, width, height);
        const int glow = settings.getInt("glow", GLOW_AUTOMATIC, GLOW_AUTOMATIC, GLOW_HALF);

        Engine engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, width, height, TITLE);
        warnIfLargerThanTheScreen(engine);
        if (!hasRequiredExtensions(engine)) {
            std::cout << "The demo needs better hardware. Sorry about it" << std::endl;
            return 0;
        }

        // A music failure is reported by the player itself; the demo runs silently.
        Music music;
        music.init();
        music.load(DemoContent::MUSIC_PATH);

        // Escape held, Ctrl-C, SIGTERM and the window's close button all end the
        // loop the same way. The keyboard comes first: its update pumps the events
        // that the quit requests then read.
        InputManager inputs;
        inputs.addInput(std::make_unique<SDL_Keyboard>());
        inputs.addInput(std::make_unique<QuitRequests>());

        const GLenum pending = glGetError();
        if (pending != GL_NO_ERROR)
            std::cerr << "OpenGL Error: " << pending << std::endl;

        std::cout << "Scene creation" << std::endl;
        SceneManager scenes;
        addDemoScenes(scenes);

        std::cout << "Geometry generation" << std::endl;
        ChainPrograms programs;
        try {
            programs.load();
        } catch (const ShaderException& e) {
            std::cout << e.what() << std::endl;
            return -3;
        }

        const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        std::cout << glowMessage(glow, renderer) << std::endl;
        std::cout << "Texture preparation (R2T)" << std::endl;
        std::optional<PostProcessChain> chain;
        chain.emplace(*engine.getWindow(), chooseGlowSize(glow, renderer));

        music.play();
        std::cout << "Start !" << std::endl;
        runLoop(engine, inputs, scenes, music, *chain, programs);
        std::cout << "End !" << std::endl;

        programs.release();
        music.stop();
        chain.reset();
        // The scene manager, the input manager, the music, the engine and the
        // settings follow in reverse order of creation.
    } catch (const EngineInitialisationException& e) {
        // Handlers take const references: a by-value std::exception would slice
        // away the message.
        std::cerr << e.what() << std::endl;
        return -2;
    } catch (const GLErrorException& e) {
        std::cerr << e.what() << std::endl;
        return -3;
    } catch (const std::exception& e) {
        std::cerr << e.what() << std::endl;
        std::cerr << "Exception cought" << std::endl;
        return -4;
    }
    return 0;
}
