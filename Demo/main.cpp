// DedoZ entry routine: settings, engine, hardware check, paced loop, ordered shutdown.
#include <GL/glew.h>

#include <climits>
#include <cstdlib>
#include <iostream>

#include "Demo/Settings.h"
#include "Zembra/Controllers/InputManager.h"
#include "Zembra/Controllers/SDL_Keyboard.h"
#include "Zembra/Engine.h"
#include "Zembra/Exceptions/EngineInitialisationException.h"
#include "Zembra/Exceptions/GLErrorException.h"
#include "Zembra/Window.h"

namespace {

const char* const SETTINGS_PATH = "data/settings.ini";
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

// One iteration per frame until Escape is held.
void runLoop(Engine& engine, InputManager& inputs)
{
    Window* window = engine.getWindow();
    for (;;) {
        window->clear();
        window->flip();
        inputs.update();
        engine.waitNextFrame();
        if (inputs.isQuitRequested())
            break;
    }
}

}  // namespace

// Failures end in one line on a standard stream and a return code: -2 GLEW,
// -3 an OpenGL error, -4 anything else; 0 also when the hardware is too weak.
int main(int, char**)
{
    try {
        Settings settings(SETTINGS_PATH);
        // Seeded before any object that draws random numbers exists.
        srand(static_cast<unsigned int>(settings.getInt("seed", 42, INT_MIN, INT_MAX)));
        const int height = settings.getInt("vres", 480, 1, MAX_WINDOW_SIDE);
        const int width = settings.getInt("hres", 640, 1, MAX_WINDOW_SIDE);

        Engine engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, width, height, TITLE);
        if (!hasRequiredExtensions(engine)) {
            std::cout << "The demo needs better hardware. Sorry about it" << std::endl;
            return 0;
        }

        InputManager inputs;
        inputs.addInput(new SDL_Keyboard());

        const GLenum pending = glGetError();
        if (pending != GL_NO_ERROR)
            std::cerr << "OpenGL Error: " << pending << std::endl;

        std::cout << "Start !" << std::endl;
        runLoop(engine, inputs);
        std::cout << "End !" << std::endl;
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
