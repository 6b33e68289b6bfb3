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
#include "Demo/ShowLoop.h"
#include "Demo/ShowSetup.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Controllers/InputManager.h"
#include "Zembra/Controllers/SDL_Keyboard.h"
#include "Zembra/Engine.h"
#include "Zembra/Exceptions/EngineInitialisationException.h"
#include "Zembra/Exceptions/GLErrorException.h"
#include "Zembra/Exceptions/ShaderException.h"
#include "Zembra/Window.h"

#ifdef __EMSCRIPTEN__
#include "web/BrowserShow.h"
#else
#include "Zembra/Controllers/QuitRequests.h"
#include "Zembra/Controllers/QuitSignals.h"
#endif

namespace {

const char* const TITLE = "DedoZ";

}  // namespace

// Return codes: 0 after a normal run (also when the hardware is too weak),
// -2 GLEW failed, -3 an OpenGL error or a shader program failed, -4 anything else.
int main(int, char**)
{
#ifndef __EMSCRIPTEN__
    // First: a signal at any later moment, while SDL starts included, ends the run
    // in order (at the first frame) instead of killing it.
    const QuitSignals quitSignals;
#endif
    try {
        const DataFiles data = DataFiles::forThisRun();
        Settings settings(data.settings());
        const ShowSetup show(settings);
        std::unique_ptr<Engine> engine = show.openWindow(TITLE);
        if (!hasRequiredExtensions(*engine)) {
            std::cout << "The demo needs better hardware. Sorry about it" << std::endl;
            return 0;
        }

        // A music failure is reported by the player itself; the demo runs silently.
        auto music = std::make_unique<Music>();
        music->init();
        music->load(data.music().c_str());

        // Escape held, Ctrl-C, SIGTERM and the window's close button all end the
        // loop the same way. The keyboard comes first: its update pumps the events
        // that the quit requests then read. The browser sends no signals, and its
        // show outlives this function's locals.
        auto inputs = std::make_unique<InputManager>();
        inputs->addInput(std::make_unique<SDL_Keyboard>());
#ifndef __EMSCRIPTEN__
        inputs->addInput(std::make_unique<QuitRequests>(quitSignals));
#endif

        const GLenum pending = glGetError();
        if (pending != GL_NO_ERROR)
            std::cerr << "OpenGL Error: " << pending << std::endl;

        std::cout << "Scene creation" << std::endl;
        std::unique_ptr<SceneManager> scenes = show.makeScenes();

        std::cout << "Geometry generation" << std::endl;
        std::unique_ptr<ChainPrograms> programs;
        try {
            programs = show.makePrograms(data.shaders());
        } catch (const ShaderException& e) {
            std::cout << e.what() << std::endl;
            return -3;
        }

        std::cout << show.glowMessage() << std::endl;
        const PixelSize render = show.presentShow(*engine);
        std::cout << "Texture preparation (R2T)" << std::endl;
        std::unique_ptr<PostProcessChain> chain = show.makeChain(*engine->getWindow(), render);

        // One iteration per frame until a quit request (Escape held, Ctrl-C, SIGTERM,
        // the window closed) or the end of the last scene. The loop owns the parts
        // from here on and releases them in the shutdown order.
        auto loop = std::make_unique<ShowLoop>(ShowParts{std::move(engine), std::move(music),
                                                         std::move(inputs), std::move(scenes),
                                                         std::move(programs), std::move(chain)});
#ifdef __EMSCRIPTEN__
        // The page's timer calls the frames from now on; the show outlives main.
        playInBrowser(std::move(loop));
        return 0;
#else
        loop->music().play();
        std::cout << "Start !" << std::endl;
        while (loop->frame()) {
        }
        std::cout << "End !" << std::endl;
        loop.reset();
#endif
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
