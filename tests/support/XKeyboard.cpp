// XKeyboard: key presses through the xdotool program.
#include "support/XKeyboard.h"

#include <unistd.h>

#include "support/Process.h"

bool XKeyboard::holdKey(const std::string& key, int holdMs)
{
    const Process::Result down = Process::run({"xdotool", "keydown", key}, {}, 10000);
    usleep(static_cast<useconds_t>(holdMs) * 1000u);
    const Process::Result up = Process::run({"xdotool", "keyup", key}, {}, 10000);
    return down.exitCode == 0 && up.exitCode == 0;
}
