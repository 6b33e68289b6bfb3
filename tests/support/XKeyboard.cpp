// XKeyboard: key presses through the xdotool program.
#include "support/XKeyboard.h"

#include <unistd.h>

#include "support/Process.h"

bool XKeyboard::holdKey(const std::string& key, int holdMs)
{
    const bool down = keyDown(key);
    usleep(static_cast<useconds_t>(holdMs) * 1000u);
    const bool up = keyUp(key);
    return down && up;
}

bool XKeyboard::keyDown(const std::string& key)
{
    return Process::run({"xdotool", "keydown", key}, {}, 10000).exitCode == 0;
}

bool XKeyboard::keyUp(const std::string& key)
{
    return Process::run({"xdotool", "keyup", key}, {}, 10000).exitCode == 0;
}
