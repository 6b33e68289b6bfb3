// DedoZ entry routine: settings, engine, hardware check, music, scenes, shader
// programs and post-processing chain, then the paced main loop and an ordered
// shutdown. Every failure ends as one line on a standard stream and a return code.
#include <GL/glew.h>

#include <climits>
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>

#include "3D/Shader.h"
#include "Demo/GlowSize.h"
#include "Demo/PostProcessChain.h"
#include "Demo/Settings.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Scenes/SceneSadSpectrum.h"
#include "Zembra/Controllers/InputManager.h"
#include "Zembra/Controllers/SDL_Keyboard.h"
#include "Zembra/Engine.h"
#include "Zembra/Exceptions/EngineInitialisationException.h"
#include "Zembra/Exceptions/GLErrorException.h"
#include "Zembra/Exceptions/ShaderException.h"
#include "Zembra/Random.h"

namespace {

const char* const SETTINGS_PATH = "data/settings.ini";
const char* const MUSIC_PATH = "data/music/tovane.mp3";
const char* const TITLE = "DedoZ";
// Largest window side accepted from the settings, in pixels: beyond it no driver
// offers a render target of the window's size.
const int MAX_WINDOW_SIDE = 16384;

// Returns false when the driver lacks an extension the post-processing needs.
// Stops at the first missing one, so at most one missing-extension line is written.
bool hasRequiredExtensions(Engine& engine)
{
    return engine.isExtensionSupported("GL_ARB_framebuffer_object") &&
           engine.isExtensionSupported("GL_ARB_framebuffer_sRGB");
}

// The playing order. Scenes are created before being handed over, as the
// manager's grid and some scenes draw from the random sequence in a fixed order.
void addScenes(SceneManager& scenes)
{
    scenes.addScene(std::make_unique<SceneSadSpectrum>());
}

// The three programs of the chain, loaded in the order pulse, horizontal blur,
// vertical blur; deleted in the reverse order.
struct Programs {
    std::unique_ptr<Shader> pulse;
    std::unique_ptr<Shader> horizontalBlur;
    std::unique_ptr<Shader> verticalBlur;

    void load()
    {
        pulse = std::make_unique<Shader>("data/shaders/pulse.vs", "data/shaders/pulse.ps");
        horizontalBlur = std::make_unique<Shader>("data/shaders/hblur.vs", "data/shaders/hblur.ps");
        verticalBlur = std::make_unique<Shader>("data/shaders/vblur.vs", "data/shaders/vblur.ps");
    }
    void release()
    {
        verticalBlur.reset();
        horizontalBlur.reset();
        pulse.reset();
    }
    ~Programs() { release(); }
};

// One iteration per frame until Escape is held or the last scene has finished.
void runLoop(Engine& engine, InputManager& inputs, SceneManager& scenes, Music& music,
             PostProcessChain& chain, const Programs& programs)
{
    for (;;) {
        chain.renderFrame(scenes, *programs.pulse, *programs.horizontalBlur, *programs.verticalBlur);
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
        Settings settings(SETTINGS_PATH);
        // Seeded before any object that draws random numbers exists.
        Random::seed(static_cast<uint32_t>(settings.getInt("seed", 42, INT_MIN, INT_MAX)));
        const int height = settings.getInt("vres", 480, 1, MAX_WINDOW_SIDE);
        const int width = settings.getInt("hres", 640, 1, MAX_WINDOW_SIDE);
        const int glow = settings.getInt("glow", GLOW_AUTOMATIC, GLOW_AUTOMATIC, GLOW_HALF);

        Engine engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, width, height, TITLE);
        if (!hasRequiredExtensions(engine)) {
            std::cout << "The demo needs better hardware. Sorry about it" << std::endl;
            return 0;
        }

        // A music failure is reported by the player itself; the demo runs silently.
        Music music;
        music.init();
        music.load(MUSIC_PATH);

        InputManager inputs;
        inputs.addInput(new SDL_Keyboard());

        const GLenum pending = glGetError();
        if (pending != GL_NO_ERROR)
            std::cerr << "OpenGL Error: " << pending << std::endl;

        std::cout << "Scene creation" << std::endl;
        SceneManager scenes;
        addScenes(scenes);

        std::cout << "Geometry generation" << std::endl;
        Programs programs;
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
