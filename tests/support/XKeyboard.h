// XKeyboard: presses keys on the X display of $DISPLAY the way a person does,
// through xdotool (XTEST), so the program under test sees real key events.
// Key names are X keysym names ("Escape", "Up", "q"); durations in milliseconds.
#pragma once

#include <string>

class XKeyboard {
public:
    // Key down, hold for holdMs, key up. False when xdotool failed. A program that
    // polls the key state only sees a hold longer than its slowest frame.
    static bool holdKey(const std::string& key, int holdMs = 300);
    // The two halves, for a key held for as long as the test needs.
    static bool keyDown(const std::string& key);
    static bool keyUp(const std::string& key);
};
