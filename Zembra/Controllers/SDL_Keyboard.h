// SDL_Keyboard: the keyboard as an Input device, read from SDL's key state array.
// Owns nothing: the array belongs to SDL and is refreshed by update(), which pumps
// SDL's events. Key codes are SDL 1.2 SDLKey values; m_keys holds m_nbKeys bytes.
#pragma once

#include <SDL/SDL.h>

#include "Zembra/Controllers/Input.h"

class SDL_Keyboard : public Input {
public:
    // Button bits of getButtons(); 0x10 and 0x20 are never produced by the keyboard.
    enum Button {
        BUTTON_Q = 0x1,
        BUTTON_W = 0x2,
        BUTTON_A = 0x4,
        BUTTON_S = 0x8,
        BUTTON_Z = 0x40,
        BUTTON_X = 0x80,
        BUTTON_PLUS = 0x100,
        BUTTON_MINUS = 0x200,
    };

    // Takes a first snapshot, so a new keyboard already knows the held keys.
    SDL_Keyboard();

    // Directions never combine opposites: up beats down; with up or down held,
    // right beats left; alone, left beats right. One of 0,1,2,3,4,6,8,9,12.
    int getDirections() override;
    int getButtons() override;
    bool isQuitRequested() override;  // Escape held
    void update() override;

    // The key's state byte; asserts that the key code is inside SDL's array.
    Uint8 isKeyDown(SDLKey key) const;

private:
    int m_nbKeys;
    Uint8* m_keys;  // owned by SDL; null until the first update
};
