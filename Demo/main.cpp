// DedoZ entry routine (grows with the demo): settings, engine, hardware check, loop.
#include <GL/glew.h>
#include <iostream>

#include "Zembra/Engine.h"
#include "Zembra/Exceptions/EngineInitialisationException.h"
#include "Zembra/Exceptions/GLErrorException.h"
#include "Zembra/Window.h"

int main(int, char**)
{
    try {
        Engine engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, 640, 480, "DedoZ");
        if (!engine.isExtensionSupported("GL_ARB_framebuffer_object") ||
            !engine.isExtensionSupported("GL_ARB_framebuffer_sRGB")) {
            std::cout << "The demo needs better hardware. Sorry about it" << std::endl;
            return 0;
        }
        for (int frame = 0; frame < 60; ++frame) {
            glClearColor(0.0f, 0.3f, 0.0f, 1.0f);
            engine.getWindow()->clear();
            engine.getWindow()->flip();
            engine.waitNextFrame();
        }
    } catch (const EngineInitialisationException& e) {
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
