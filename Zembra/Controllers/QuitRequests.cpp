// QuitRequests: POSIX signal handlers and SDL's event queue.
#include "Zembra/Controllers/QuitRequests.h"

#include <SDL/SDL.h>

volatile std::sig_atomic_t QuitRequests::s_signalled = 0;

QuitRequests::QuitRequests() : m_closed(false)
{
    s_signalled = 0;
    struct sigaction action = {};
    action.sa_handler = &QuitRequests::onSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the handler serves once, then the default action is back.
    // SA_RESTART: the signal does not make the loop's system calls fail.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    // SDL installs handlers of its own that turn these signals into SDL_QUIT
    // events; they are replaced here and restored by the destructor.
    sigaction(SIGINT, &action, &m_previousInt);
    sigaction(SIGTERM, &action, &m_previousTerm);
}

QuitRequests::~QuitRequests()
{
    sigaction(SIGTERM, &m_previousTerm, nullptr);
    sigaction(SIGINT, &m_previousInt, nullptr);
}

void QuitRequests::onSignal(int)
{
    s_signalled = 1;
}

bool QuitRequests::isQuitRequested()
{
    return m_closed || s_signalled != 0;
}

void QuitRequests::update()
{
    // SDL's queue holds 128 events and nothing else reads it: the key state the
    // keyboard polls is kept apart from it. Left alone it fills up with window and
    // key events, and a close request arriving then is lost. Resize requests stay
    // for the window (Window::followResizeRequests), which reads them next.
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_ALLEVENTS & ~SDL_VIDEORESIZEMASK) > 0) {
        if (event.type == SDL_QUIT)
            m_closed = true;
    }
}
