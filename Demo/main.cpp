// DedoZ entry routine: settings, engine, hardware check, music, scenes, shader
// programs and post-processing chain, then the paced main loop and an ordered
// shutdown. Every failure ends as one line on a standard stream and a return code.
#include <GL/glew.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>

#include "3D/Shader.h"
#include "Demo/ChainPrograms.h"
#include "Demo/DemoContent.h"
#include "Demo/GlowSize.h"
#include "Demo/PostProcessChain.h"
#include "Demo/RenderSize.h"
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
#include "Zembra/FramePlacement.h"
#include "Zembra/Random.h"
#include "Zembra/Window.h"

namespace {

const char* const TITLE = "DedoZ";

// The largest side of a render size the driver can give every target of the chain.
int largestRenderSide()
{
    GLint texture = 0, renderBuffer = 0, viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderBuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return std::max(1, std::min({texture, renderBuffer, viewport[0], viewport[1]}));
}

// Picks the render size now that the renderer is known, says so, and gives a
// window (not full screen) the render size, or the largest with its shape that
// fits the screen. Returns the render size.
PixelSize presentShow(Engine& engine, const PresentationSettings& presentation,
                      const char* renderer)
{
    Window& window = *engine.getWindow();
    PixelSize screen = {engine.getScreenWidth(), engine.getScreenHeight()};
    if (screen.width <= 0 || screen.height <= 0)
        screen = {window.getWidth(), window.getHeight()};
    const RenderChoice choice =
        chooseRenderSize(presentation, screen, renderer, largestRenderSide());
    if (!choice.warning.empty())
        std::cout << choice.warning << std::endl;
    if (!presentation.fullScreen) {
        PixelSize wanted = choice.size;
        if (wanted.width > screen.width || wanted.height > screen.height) {
            const PixelRect fitted =
                placeFrame(wanted.width, wanted.height, screen.width, screen.height);
            wanted = {fitted.width, fitted.height};
        }
        if (wanted.width != window.getWidth() || wanted.height != window.getHeight())
            window.resize(wanted.width, wanted.height);
    }
    std::cout << presentationMessage(choice, presentation.fullScreen,
                                     {window.getWidth(), window.getHeight()})
              << std::endl;
    return choice.size;
}

// One iteration per frame until a quit request (Escape held, Ctrl-C, SIGTERM, the
// window closed) or the end of the last scene.
void runLoop(Engine& engine, InputManager& inputs, SceneManager& scenes, Music& music,
             PostProcessChain& chain, const ChainPrograms& programs)
{
    for (;;) {
        chain.renderFrame(scenes, *programs.pulse, *programs.horizontalBlur,
                          *programs.verticalBlur);
        inputs.update();
        // The next frame is scaled to the size the user left the window at.
        engine.getWindow()->followResizeRequests();
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
        const PresentationSettings presentation = readPresentationSettings(settings);
        const int glow = settings.getInt("glow", GLOW_AUTOMATIC, GLOW_AUTOMATIC, GLOW_HALF);

        // Full screen is the screen's size (0 x 0). A window opens at the size asked
        // for; one whose size depends on the renderer at the screen's size, and is
        // resized before the first frame.
        const bool sizeKnown =
            !presentation.fullScreen && presentation.request == RenderRequest::Setting;
        Engine engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, sizeKnown ? presentation.size.width : 0,
                      sizeKnown ? presentation.size.height : 0, TITLE, presentation.fullScreen);
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
        const PixelSize render = presentShow(engine, presentation, renderer);
        std::cout << "Texture preparation (R2T)" << std::endl;
        std::optional<PostProcessChain> chain;
        chain.emplace(*engine.getWindow(), render.width, render.height,
                      chooseGlowSize(glow, renderer));

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
