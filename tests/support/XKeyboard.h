// XKeyboard: presses keys on the X display of $DISPLAY the way a person does,
// through xdotool (XTEST), so the program under test sees real key events.
// Key names are X keysym names ("Escape", "Up", "q"); durations in milliseconds.
#pragma once

#include <string>

class XKeyboard {
public:
    // Key down, hold for holdMs, key up. False when xdotool failed.
    static bool holdKey(const std::string& key, int holdMs = 300);
};
