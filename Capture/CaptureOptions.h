// CaptureOptions: the command line of dedoz-capture, parsed without side effects.
// Times are milliseconds after the start of the show; sizes are pixels. Fields left
// unset take their value from the settings file (size, seed) or the defaults below.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CaptureOptions {
    static constexpr int MAX_SIDE = 16384;  // pixels, as for the demo's window
    static constexpr int MAX_FPS = 240;

    std::string out = "dedoz.mp4";
    int fps = 60;
    int width = 0;  // 0: the settings' size (width and height are set together)
    int height = 0;
    unsigned from = 0;
    std::optional<unsigned> to;    // unset: the end of the show
    std::vector<unsigned> stills;  // ascending, no repeats; non-empty: PNGs instead of a video
    std::optional<int> seed;       // unset: the settings' seed
    int glow = 1;                  // glow target size divisor: 1 full size, 2 half size
    std::string music;             // empty: the demo's soundtrack
    std::string frameLog;          // empty: none (see FrameLog)
    std::string layoutLog;         // empty: none (see LayoutLog)
    bool help = false;

    // Parses the arguments after the program name. Returns an empty string on
    // success, otherwise one line saying what is wrong (options keep what was read).
    static std::string parse(const std::vector<std::string>& args, CaptureOptions& options);
    // The text of --help.
    static std::string usage();
    // Path of the still at `ms`: `out` without its extension, "-MS.png".
    std::string stillPath(unsigned ms) const;
};
