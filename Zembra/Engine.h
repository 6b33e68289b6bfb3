// Engine: starts SDL and GLEW, owns the one window of the run, answers extension
// queries, and provides the clock (SDL ticks, unsigned 32-bit milliseconds) and
// the frame pacing (frame waits end at least 15 ms apart on a nanosecond monotonic
// clock). One engine exists per run.
#pragma once

#include <SDL/SDL.h>
#include <memory>
#include <string>

#include "Zembra/FramePacer.h"

class Window;

enum EngineFlags : unsigned int {
    ENGINE_INIT_GLEW = 1,   // initialise GLEW once the window exists; failure is fatal
    ENGINE_INIT_SDL = 2,    // SDL_Init in the constructor, SDL_Quit in the destructor
    ENGINE_INIT_AUDIO = 4,  // with ENGINE_INIT_SDL: also start SDL's audio subsystem
};

class Engine {
public:
    // Opens an OpenGL window of width x height pixels captioned title, full screen
    // or as a resizable window; 0 x 0 gives the screen's own size. A window (not
    // full screen) larger than the screen gets the largest size with its shape
    // that fits the screen.
    // Turns the compatibility layer's OpenGL scaling off unless the environment
    // sets SDL12COMPAT_OPENGL_SCALING: the frame then reaches the screen whole.
    // Throws WindowCreationException or EngineInitialisationException.
    Engine(unsigned int flags, int width, int height, const std::string& title,
           bool fullScreen = true);
    ~Engine();

    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // True when the driver offers the extension; logs "Extension '<name>' not found" otherwise.
    bool isExtensionSupported(const char* name);
    Window* getWindow();
    // The screen's size in pixels as it was before the window opened (the
    // desktop's video mode); 0 when SDL could not tell.
    int getScreenWidth() const { return m_screenWidth; }
    int getScreenHeight() const { return m_screenHeight; }

    Uint32 getTicks() const;  // milliseconds since SDL started
    // Sleeps so that consecutive calls return at least FRAME_MS apart; the first
    // call does not sleep. In the browser it returns at once: a page must not
    // block, and the browser's timer starts the frames FRAME_MS apart.
    void waitNextFrame()
    {
#ifndef __EMSCRIPTEN__
        m_pacer.wait();
#endif
    }

    static constexpr Uint32 FRAME_MS = 15;

private:
    unsigned int m_flags;
    std::unique_ptr<Window> m_window;  // a GLWindow
    SteadyPacingClock m_pacingClock;
    FramePacer m_pacer;  // on m_pacingClock, declared after it
    int m_screenWidth;   // pixels, 0 = unknown
    int m_screenHeight;  // pixels, 0 = unknown
};
