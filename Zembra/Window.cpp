// Window: SDL 1.2 software surface window.
#include "Zembra/Window.h"

#include "Zembra/Exceptions/WindowCreationException.h"

Window::Window(int width, int height, const std::string& title, Uint32 flags) : m_surface(nullptr)
{
    m_surface = SDL_SetVideoMode(width, height, 32, modeFlags(flags));
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
    m_surface = SDL_SetVideoMode(width, height, 32, m_surface->flags);
    if (m_surface == nullptr)
        throw WindowCreationException("Fail to resize");
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
