// Engine: SDL, window and GLEW lifecycle; clock and frame pacing.
// Depends on SDL 1.2 (sdl12-compat) and GLEW.
#include "Zembra/Engine.h"

#include <GL/glew.h>

#include <cstdlib>
#include <iostream>
#include <new>

#include "Zembra/Exceptions/EngineInitialisationException.h"
#include "Zembra/FramePlacement.h"
#include "Zembra/GLWindow.h"

Engine::Engine(unsigned int flags, int width, int height, const std::string& title, bool fullScreen)
    : m_flags(flags), m_pacer(m_pacingClock, std::chrono::milliseconds(FRAME_MS)), m_screenWidth(0),
      m_screenHeight(0)
{
    // The SDL 1.2 compatibility layer scales OpenGL windows by default: it renders
    // into a hidden frame buffer and stretches that onto a desktop-sized window. The
    // GLEW entry points bypass its wrappers, so binding frame buffer 0 reaches the
    // wrong surface and the screen showed a cropped, enlarged part of the frame.
    // Without the scaling the whole frame is shown unscaled, centred on a larger
    // screen, on every run. Set before SDL starts; a value in the user's
    // environment still wins.
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);

    if (m_flags & ENGINE_INIT_SDL) {
        Uint32 subsystems = SDL_INIT_VIDEO;
        if (m_flags & ENGINE_INIT_AUDIO)
            subsystems |= SDL_INIT_AUDIO;
        // A failure here shows up as a failed video mode just below.
        SDL_Init(subsystems);
    }
    // Read before the video mode is set: afterwards SDL 1.2 reports the window's mode.
    if (const SDL_VideoInfo* screen = SDL_GetVideoInfo()) {
        m_screenWidth = screen->current_w > 0 ? screen->current_w : 0;
        m_screenHeight = screen->current_h > 0 ? screen->current_h : 0;
    }
    // SDL 1.2 takes 0 x 0 as the desktop's size, but the compatibility layer,
    // without its scaling, then opens a 1 x 1 window behind a surface of the
    // desktop's size: the size is asked for explicitly instead.
    if (width == 0 && height == 0 && m_screenWidth > 0 && m_screenHeight > 0) {
        width = m_screenWidth;
        height = m_screenHeight;
    }
    // A window the window manager would cut or clamp is asked for at a size that fits.
    if (!fullScreen && m_screenWidth > 0 && m_screenHeight > 0 &&
        (width > m_screenWidth || height > m_screenHeight)) {
        const PixelRect fitted = placeFrame(width, height, m_screenWidth, m_screenHeight);
        width = fitted.width;
        height = fitted.height;
    }

    try {
        m_window.reset(new (std::nothrow) GLWindow(width, height, title, fullScreen));
    } catch (...) {
        // No engine exists to quit SDL later: do it before the failure propagates.
        if (m_flags & ENGINE_INIT_SDL)
            SDL_Quit();
        throw;
    }
    if (m_window == nullptr) {
        std::cerr << "Fail to allocate Window memory";
        throw std::bad_alloc();
    }

    if (m_flags & ENGINE_INIT_GLEW) {
        const GLenum result = glewInit();
        if (result != GLEW_OK) {
            std::cerr << glewGetErrorString(result) << std::endl;
            m_window.reset();
            if (m_flags & ENGINE_INIT_SDL)
                SDL_Quit();
            throw EngineInitialisationException("Glew failed to initialise");
        }
    }

    std::cout << "Zembra initiliased" << std::endl;
}

Engine::~Engine()
{
    // The window goes first: its surface belongs to SDL and must not outlive it.
    m_window.reset();
    if (m_flags & ENGINE_INIT_SDL)
        SDL_Quit();
    std::cout << "Zembra closed" << std::endl;
}

bool Engine::isExtensionSupported(const char* name)
{
    const bool supported = glewIsSupported(name) != GL_FALSE;
    if (!supported)
        std::cout << "Extension '" << name << "' not found" << std::endl;
    return supported;
}

Window* Engine::getWindow()
{
    return m_window.get();
}

Uint32 Engine::getTicks() const
{
    return SDL_GetTicks();
}
