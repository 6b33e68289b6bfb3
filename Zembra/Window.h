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
    // Sets a new video mode with the current surface's flags; throws "Fail to resize".
    virtual void resize(int width, int height);
    virtual void flip();

    int getWidth() const;   // pixels
    int getHeight() const;  // pixels

    // The video mode flags the constructor asks SDL for: a windowed mode (no
    // SDL_FULLSCREEN) gains SDL_RESIZABLE, a full-screen one is left as given.
    static Uint32 modeFlags(Uint32 flags);

protected:
    SDL_Surface* m_surface;  // owned by SDL, never freed here
};
