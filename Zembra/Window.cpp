// Window: SDL 1.2 software surface window.
#include "Zembra/Window.h"

#include "Zembra/Exceptions/WindowCreationException.h"

Window::Window(int width, int height, const std::string& title, Uint32 flags)
    : m_surface(nullptr), m_flags(modeFlags(flags))
{
    m_surface = SDL_SetVideoMode(width, height, 32, m_flags);
    if (m_surface == nullptr)
        throw WindowCreationException("Fail to create the window");
    SDL_WM_SetCaption(title.c_str(), nullptr);
}

Uint32 Window::modeFlags(Uint32 flags)
{
    return (flags & SDL_FULLSCREEN) ? flags : (flags | SDL_RESIZABLE);
}

Window::~Window()
{
}

void Window::clear()
{
    SDL_FillRect(m_surface, nullptr, SDL_MapRGB(m_surface->format, 0, 0, 0));
}

void Window::resize(int width, int height)
{
    m_surface = SDL_SetVideoMode(width, height, 32, m_flags);
    if (m_surface == nullptr)
        throw WindowCreationException("Fail to resize");
}

bool Window::followResizeRequests()
{
    // Only the resize events are taken: the rest of the queue stays for the input
    // devices. A drag delivers many; the last one is the size the user left.
    SDL_PumpEvents();
    SDL_Event event;
    int width = 0, height = 0;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_VIDEORESIZEMASK) > 0) {
        width = event.resize.w;
        height = event.resize.h;
    }
    if (width < 1 || height < 1 || (width == getWidth() && height == getHeight()))
        return false;
    resize(width, height);
    return true;
}

void Window::flip()
{
    SDL_UpdateRect(m_surface, 0, 0, 0, 0);
}

int Window::getWidth() const
{
    return m_surface->w;
}

int Window::getHeight() const
{
    return m_surface->h;
}
