// framemeter: the table of frame intervals per scene from a frame log the demo
// wrote with DEDOZ_FRAME_LOG set (see run.sh, which plays the demo for it).
// Usage: framemeter LOG. Exit status 1 with one line on standard error for an
// unreadable or malformed log.
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "FrameMeter.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: framemeter LOG" << std::endl;
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "framemeter: cannot read '" << argv[1] << "'" << std::endl;
        return 1;
    }
    try {
        FrameMeter::printTable(FrameMeter::summarise(FrameMeter::readLog(in)), std::cout);
    } catch (const std::exception& e) {
        std::cerr << "framemeter: " << argv[1] << ": " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
