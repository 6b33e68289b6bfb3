// QuitRequests: the program's signal flag and SDL's event queue.
#include "Zembra/Controllers/QuitRequests.h"

#include <SDL/SDL.h>

#include "Zembra/Controllers/QuitSignals.h"

QuitRequests::QuitRequests(const QuitSignals& signals) : m_signals(signals), m_closed(false)
{
}

bool QuitRequests::isQuitRequested()
{
    return m_closed || m_signals.received();
}

void QuitRequests::update()
{
    // SDL's queue holds 128 events and nothing else reads it: the key state the
    // keyboard polls is kept apart from it. Left alone it fills up with window and
    // key events, and a close request arriving then is lost.
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_ALLEVENTS) > 0) {
        if (event.type == SDL_QUIT)
            m_closed = true;
    }
}
