// Window: wraps the SDL 1.2 video surface of the run (mode, caption, clear, present).
// Does not own the surface (SDL does). Sizes are pixels of the current video mode.
#pragma once

#include <SDL/SDL.h>
#include <string>

class Window {
public:
    // flags: SDL video mode flags; a windowed mode (no SDL_FULLSCREEN) is made resizable.
    Window(int width, int height, const std::string& title, Uint32 flags);
    virtual ~Window();

    virtual void clear();
    // Sets a new video mode with the flags the window was made with (the surface
    // the compatibility layer returns does not report SDL_RESIZABLE, so a window
    // resized with the surface's flags would lose it); throws "Fail to resize".
    // An OpenGL window keeps its context and every object in it.
    virtual void resize(int width, int height);
    // Takes the window system's resize requests out of SDL's queue (pumping it
    // first) and follows the last one with resize(). Nothing happens for a
    // full-screen window, which gets none. True when the size changed.
    bool followResizeRequests();
    virtual void flip();

    int getWidth() const;   // pixels
    int getHeight() const;  // pixels
    // True for a window the user can resize (any mode but full screen).
    bool isResizable() const { return (m_flags & SDL_RESIZABLE) != 0; }

    // The video mode flags the constructor asks SDL for: a windowed mode (no
    // SDL_FULLSCREEN) gains SDL_RESIZABLE, a full-screen one is left as given.
    static Uint32 modeFlags(Uint32 flags);

protected:
    SDL_Surface* m_surface;  // owned by SDL, never freed here
    Uint32 m_flags;          // the video mode flags asked for, as modeFlags() made them
};
