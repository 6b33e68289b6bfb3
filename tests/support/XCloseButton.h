// XCloseButton: does what a window manager does when the close button of a window
// is pressed: sends the window a WM_DELETE_WINDOW client message. Works on the X
// display of $DISPLAY, which has no window manager under Xvfb.
#pragma once

#include <string>

class XCloseButton {
public:
    // Presses the close button of the first window whose name is exactly `name`.
    // False when the display or such a window cannot be found.
    static bool press(const std::string& name);
};
