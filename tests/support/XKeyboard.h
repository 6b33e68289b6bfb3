// XKeyboard: presses keys on the X display of $DISPLAY the way a person does,
// through xdotool (XTEST), so the program under test sees real key events.
// Key names are X keysym names ("Escape", "Up", "q").
#pragma once

#include <string>

class XKeyboard {
public:
    // Key down and key up, as two events: a program that polls the key state once
    // per frame only sees a key held across one of its frames, so a test holds a
    // key until it has seen the effect. False when xdotool failed.
    static bool keyDown(const std::string& key);
    static bool keyUp(const std::string& key);
};
