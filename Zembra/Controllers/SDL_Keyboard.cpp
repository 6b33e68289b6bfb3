// SDL_Keyboard: keyboard state through SDL 1.2's key state array.
#include "Zembra/Controllers/SDL_Keyboard.h"

#include <cassert>

#ifdef __EMSCRIPTEN__
// emscripten's SDL 1.2 keeps SDL 2's headers: the same key state array, indexed by
// key code, comes from SDL_GetKeyboardState.
#define SDL_GetKeyState SDL_GetKeyboardState
#endif

SDL_Keyboard::SDL_Keyboard() : m_nbKeys(0), m_keys(nullptr)
{
    update();
}

void SDL_Keyboard::update()
{
    // The only place where SDL's event queue is pumped: the key state array is
    // refreshed from the events that the pump delivers.
    SDL_PumpEvents();
#ifdef __EMSCRIPTEN__
    // emscripten's SDL keeps every pumped event queued until someone takes it, and
    // in the browser nothing else reads the queue (no quit requests, no resizes
    // followed): taken here, or it grows with every key press and mouse move. The
    // key state has been updated by the pump.
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
    }
#endif
    int count = 0;
    m_keys = SDL_GetKeyState(&count);
    m_nbKeys = count;
}

Uint8 SDL_Keyboard::isKeyDown(SDLKey key) const
{
    assert(static_cast<int>(key) < m_nbKeys);
    return m_keys[key];
}

bool SDL_Keyboard::isQuitRequested()
{
    return isKeyDown(SDLK_ESCAPE) == 1;
}

int SDL_Keyboard::getDirections()
{
    const bool up = m_keys[SDLK_UP], down = m_keys[SDLK_DOWN];
    const bool left = m_keys[SDLK_LEFT], right = m_keys[SDLK_RIGHT];
    if (up)
        return DIR_UP | (right ? DIR_RIGHT : left ? DIR_LEFT : 0);
    if (down)
        return DIR_DOWN | (right ? DIR_RIGHT : left ? DIR_LEFT : 0);
    return left ? DIR_LEFT : right ? DIR_RIGHT : 0;
}

int SDL_Keyboard::getButtons()
{
    static const struct {
        SDLKey key;
        int bit;
    } table[] = {
        {SDLK_q, BUTTON_Q},          {SDLK_w, BUTTON_W},
        {SDLK_a, BUTTON_A},          {SDLK_s, BUTTON_S},
        {SDLK_z, BUTTON_Z},          {SDLK_x, BUTTON_X},
        {SDLK_KP_PLUS, BUTTON_PLUS}, {SDLK_KP_MINUS, BUTTON_MINUS},
    };
    int buttons = 0;
    for (const auto& entry : table) {
        if (m_keys[entry.key])
            buttons |= entry.bit;
    }
    return buttons;
}
