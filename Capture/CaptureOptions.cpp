// CaptureOptions: strict parsing; a number with trailing characters, a sign where
// none belongs or a value out of range is refused with one line naming the option.
#include "Capture/CaptureOptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

namespace {

// Whole decimal digits only (no sign, no blanks), at most `max`.
bool parseUnsigned(const std::string& text, unsigned long long max, unsigned long long& value)
{
    if (text.empty() || text.size() > 19 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return value <= max;
}

// A decimal int with an optional minus sign.
bool parseInt(const std::string& text, int& value)
{
    const bool negative = !text.empty() && text[0] == '-';
    unsigned long long magnitude = 0;
    const unsigned long long limit =
        negative ? 1ull + std::numeric_limits<int>::max() : std::numeric_limits<int>::max();
    if (!parseUnsigned(negative ? text.substr(1) : text, limit, magnitude))
        return false;
    value = negative ? static_cast<int>(-static_cast<long long>(magnitude))
                     : static_cast<int>(magnitude);
    return true;
}

const unsigned long long MAX_MS = std::numeric_limits<unsigned>::max();

std::string parseSize(const std::string& text, CaptureOptions& options)
{
    const std::string bad = "--size needs WIDTHxHEIGHT, each 1 to " +
                            std::to_string(CaptureOptions::MAX_SIDE) + " pixels, not '" + text +
                            "'";
    const size_t x = text.find('x');
    unsigned long long w = 0, h = 0;
    if (x == std::string::npos || !parseUnsigned(text.substr(0, x), CaptureOptions::MAX_SIDE, w) ||
        !parseUnsigned(text.substr(x + 1), CaptureOptions::MAX_SIDE, h) || w == 0 || h == 0)
        return bad;
    options.width = static_cast<int>(w);
    options.height = static_cast<int>(h);
    return "";
}

std::string parseStills(const std::string& text, CaptureOptions& options)
{
    options.stills.clear();
    size_t begin = 0;
    for (;;) {
        const size_t comma = text.find(',', begin);
        const std::string item =
            text.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin);
        unsigned long long ms = 0;
        if (!parseUnsigned(item, MAX_MS, ms))
            return "--stills needs times in milliseconds separated by commas, not '" + text + "'";
        options.stills.push_back(static_cast<unsigned>(ms));
        if (comma == std::string::npos)
            break;
        begin = comma + 1;
    }
    std::sort(options.stills.begin(), options.stills.end());
    options.stills.erase(std::unique(options.stills.begin(), options.stills.end()),
                         options.stills.end());
    return "";
}

}  // namespace

std::string CaptureOptions::parse(const std::vector<std::string>& args, CaptureOptions& options)
{
    bool fromGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name.compare(0, 2, "--") != 0)
            return "unexpected argument '" + name + "' (see --help)";
        if (i + 1 >= args.size())
            return name + " needs a value (see --help)";
        const std::string& value = args[++i];
        unsigned long long number = 0;
        if (name == "--out") {
            if (value.empty())
                return "--out needs a file name";
            options.out = value;
        } else if (name == "--fps") {
            if (!parseUnsigned(value, MAX_FPS, number) || number == 0)
                return "--fps needs a whole number from 1 to " + std::to_string(MAX_FPS) +
                       ", not '" + value + "'";
            options.fps = static_cast<int>(number);
        } else if (name == "--size") {
            const std::string error = parseSize(value, options);
            if (!error.empty())
                return error;
        } else if (name == "--from" || name == "--to") {
            if (!parseUnsigned(value, MAX_MS, number))
                return name + " needs a time in whole milliseconds, not '" + value + "'";
            if (name == "--from") {
                options.from = static_cast<unsigned>(number);
                fromGiven = true;
            } else {
                options.to = static_cast<unsigned>(number);
            }
        } else if (name == "--stills") {
            const std::string error = parseStills(value, options);
            if (!error.empty())
                return error;
        } else if (name == "--seed") {
            int seed = 0;
            if (!parseInt(value, seed))
                return "--seed needs a whole number within the range of an int, not '" + value +
                       "'";
            options.seed = seed;
        } else if (name == "--glow") {
            if (value != "1" && value != "2")
                return "--glow needs 1 (full size) or 2 (half size), not '" + value + "'";
            options.glow = value[0] - '0';
        } else if (name == "--music") {
            options.music = value;
        } else if (name == "--frame-log") {
            options.frameLog = value;
        } else if (name == "--layout-log") {
            options.layoutLog = value;
        } else {
            return "unknown option '" + name + "' (see --help)";
        }
    }
    if (options.to && options.from >= *options.to)
        return "--from (" + std::to_string(options.from) + " ms) must come before --to (" +
               std::to_string(*options.to) + " ms)";
    if (!options.stills.empty() && (fromGiven || options.to))
        return "--stills takes its own times: leave out --from and --to";
    return "";
}

std::string CaptureOptions::stillPath(unsigned ms) const
{
    const size_t slash = out.find_last_of('/');
    const size_t dot = out.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? out.substr(0, dot) : out) + "-" + std::to_string(ms) + ".png";
}

std::string CaptureOptions::usage()
{
    return "Usage: dedoz-capture [options]\n"
           "Renders the demo frame by frame on a fixed clock into an MP4 video (H.264 and\n"
           "the soundtrack as AAC), or into PNG stills. No sound is played.\n"
           "\n"
           "  --out FILE        output file (default dedoz.mp4); stills are named\n"
           "                    FILE without its extension, then -MS.png\n"
           "  --fps N           frames per second, 1 to 240 (default 60)\n"
           "  --size WxH        frame size in pixels, 1 to 16384 each (default: the\n"
           "                    size in the settings file); even sides for a video\n"
           "  --from MS         start the video MS milliseconds into the show\n"
           "  --to MS           end the video there (default: the end of the show)\n"
           "  --stills MS,...   write a PNG of the frame shown at each time instead\n"
           "  --seed N          random seed (default: the seed in the settings file)\n"
           "  --glow N          glow targets at full size (1, default) or half size (2)\n"
           "  --music FILE      soundtrack (default: the demo's music/tovane.mp3)\n"
           "  --frame-log FILE  write one line per captured frame: index, time (ms),\n"
           "                    band 2 of the spectrum, hash of the frame's pixels\n"
           "  --layout-log FILE write the floor's 16 band lists as drawn from the seed\n"
           "  --help            this text\n"
           "\n"
           "The data (settings, soundtrack, shaders) is read from data/ in the working\n"
           "directory, else from ../share/games/dedoz beside the program; the user's\n"
           "~/.config/dedoz/settings.ini wins over the installed settings.\n";
}
