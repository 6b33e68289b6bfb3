// XKeyboard: key presses through the xdotool program.
#include "support/XKeyboard.h"

#include "support/Process.h"

bool XKeyboard::keyDown(const std::string& key)
{
    return Process::run({"xdotool", "keydown", key}, {}, 10000).exitCode == 0;
}

bool XKeyboard::keyUp(const std::string& key)
{
    return Process::run({"xdotool", "keyup", key}, {}, 10000).exitCode == 0;
}
