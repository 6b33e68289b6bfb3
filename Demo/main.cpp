// DedoZ entry routine: settings, engine, hardware check, music, scenes, shader
// programs and post-processing chain, then the paced main loop and an ordered
// shutdown. Every failure ends as one line on a standard stream and a return code.
#include <GL/glew.h>

#include <iostream>
#include <memory>

#include "3D/Shader.h"
#include "Demo/ChainPrograms.h"
#include "Demo/DataFiles.h"
#include "Demo/DemoContent.h"
#include "Demo/PostProcessChain.h"
#include "Demo/Settings.h"
#include "Demo/ShowSetup.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Controllers/InputManager.h"
#include "Zembra/Controllers/QuitRequests.h"
#include "Zembra/Controllers/QuitSignals.h"
#include "Zembra/Controllers/SDL_Keyboard.h"
#include "Zembra/Engine.h"
#include "Zembra/Exceptions/EngineInitialisationException.h"
#include "Zembra/Exceptions/GLErrorException.h"
#include "Zembra/Exceptions/ShaderException.h"

namespace {

const char* const TITLE = "DedoZ";

// One iteration per frame until a quit request (Escape held, Ctrl-C, SIGTERM, the
// window closed) or the end of the last scene.
void runLoop(Engine& engine, InputManager& inputs, SceneManager& scenes, Music& music,
             PostProcessChain& chain, const ChainPrograms& programs)
{
    for (;;) {
        chain.renderFrame(scenes, *programs.pulse, *programs.horizontalBlur,
                          *programs.verticalBlur);
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
    // First: a signal at any later moment, while SDL starts included, ends the run
    // in order (at the first frame) instead of killing it.
    const QuitSignals quitSignals;
    try {
        const DataFiles data = DataFiles::forThisRun();
        Settings settings(data.settings());
        const ShowSetup show(settings);
        const std::unique_ptr<Engine> engine = show.openWindow(TITLE);
        if (!hasRequiredExtensions(*engine)) {
            std::cout << "The demo needs better hardware. Sorry about it" << std::endl;
            return 0;
        }

        // A music failure is reported by the player itself; the demo runs silently.
        Music music;
        music.init();
        music.load(data.music().c_str());

        // Escape held, Ctrl-C, SIGTERM and the window's close button all end the
        // loop the same way. The keyboard comes first: its update pumps the events
        // that the quit requests then read.
        InputManager inputs;
        inputs.addInput(std::make_unique<SDL_Keyboard>());
        inputs.addInput(std::make_unique<QuitRequests>(quitSignals));

        const GLenum pending = glGetError();
        if (pending != GL_NO_ERROR)
            std::cerr << "OpenGL Error: " << pending << std::endl;

        std::cout << "Scene creation" << std::endl;
        const std::unique_ptr<SceneManager> scenes = show.makeScenes();

        std::cout << "Geometry generation" << std::endl;
        std::unique_ptr<ChainPrograms> programs;
        try {
            programs = show.makePrograms(data.shaders());
        } catch (const ShaderException& e) {
            std::cout << e.what() << std::endl;
            return -3;
        }

        std::cout << show.glowMessage() << std::endl;
        std::cout << "Texture preparation (R2T)" << std::endl;
        std::unique_ptr<PostProcessChain> chain = show.makeChain(*engine->getWindow());

        music.play();
        std::cout << "Start !" << std::endl;
        runLoop(*engine, inputs, *scenes, music, *chain, *programs);
        std::cout << "End !" << std::endl;

        programs.reset();
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
