// The dedoz program run inside Xvfb through the two trail scenes: screenshots show
// coloured trail points over a lit floor. The run is silent (no soundtrack), so no
// colour wave or beat flash adds colour of its own: the floor stays grey and white.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "support/Process.h"
#include "support/XKeyboard.h"
#include "support/XwdImage.h"

namespace {

// Start of the spectrum part scene in ms after "Start !": the nominal lengths of the
// scenes before it, plus a few frames. Every screenshot time below follows from it.
const int SPECTRUM_PART_START_MS = 52842 + 300;
// Three moments of the second shot (5000 to 10000 ms) as the camera closes in on the
// trails, then the middle of the impulse scene's 15000 ms shot. Each leaves over a
// second of margin for a run that falls behind by slow frames.
const int SPECTRUM_SHOTS_MS[] = {SPECTRUM_PART_START_MS + 7000, SPECTRUM_PART_START_MS + 8000,
                                 SPECTRUM_PART_START_MS + 9000};
const int IMPULSE_SHOT_MS = SPECTRUM_PART_START_MS + 10000 + 7000;

// The trail colours' hue families (degrees): red, yellow, green, blue.
const int FAMILIES[4][2] = {{-20, 20}, {40, 70}, {90, 170}, {200, 280}};

// The hue family of a pixel, or -1 for near-black, greys, whites and weak tints
// (saturation below 0.5: relative, as a scene may play a shot dimmed by its fade).
int familyOf(const XwdImage::Rgb& p)
{
    const int high = std::max({p.r, p.g, p.b});
    const int spread = high - std::min({p.r, p.g, p.b});
    if (high < 24 || spread * 2 < high)
        return -1;
    double hue = high == p.r   ? 60.0 * (p.g - p.b) / spread
                 : high == p.g ? 60.0 * (p.b - p.r) / spread + 120.0
                               : 60.0 * (p.r - p.g) / spread + 240.0;
    if (hue >= 340.0)
        hue -= 360.0;
    for (int f = 0; f < 4; ++f)
        if (hue >= FAMILIES[f][0] && hue < FAMILIES[f][1])
            return f;
    return -1;
}

struct Window {
    int left = -1, top = -1, width = 0, height = 0;
};

// What a screenshot shows inside the demo's window.
struct Census {
    int coloured = 0;      // pixels of the four hue families
    int colouredNear = 0;  // of those, in the lowest quarter: on the near floor
    int families = 0;      // families with at least 3 pixels
    int litNear = 0;       // pixels not black in the lowest quarter
};

Census census(const XwdImage& screen, const Window& w)
{
    Census c;
    int perFamily[4] = {};
    for (int y = w.top; y < w.top + w.height; ++y)
        for (int x = w.left; x < w.left + w.width; ++x) {
            const XwdImage::Rgb p = screen.pixel(x, y);
            const bool near = y >= w.top + w.height * 3 / 4;
            c.litNear += near && std::max({p.r, p.g, p.b}) > 0;
            const int family = familyOf(p);
            if (family < 0)
                continue;
            ++perFamily[family];
            ++c.coloured;
            c.colouredNear += near;
        }
    for (int n : perFamily)
        c.families += n >= 3;
    return c;
}

}  // namespace

TEST(TrailsRun, BothTrailScenesShowColouredPointsOverTheFloor)
{
    // A private working directory: settings, the shaders, and no soundtrack.
    char pattern[] = "/tmp/dedoz-trails-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    const std::string dir = pattern;
    const struct Remover {
        std::string dir;
        ~Remover() { EXPECT_EQ(0, std::system(("rm -rf '" + dir + "'").c_str())); }
    } remover{dir};
    ASSERT_EQ(0, mkdir((dir + "/data").c_str(), 0755));
    const std::string shaders = std::string(DEDOZ_SOURCE_DIR) + "/data/shaders";
    ASSERT_EQ(0, symlink(shaders.c_str(), (dir + "/data/shaders").c_str()));
    std::ofstream(dir + "/data/settings.ini") << "seed 42\nhres 640\nvres 480\nfullscreen 0\n";

    Process demo({DEDOZ_BINARY_DIR "/dedoz"}, {}, dir);
    ASSERT_TRUE(demo.start());
    ASSERT_TRUE(demo.waitForOutput("Start !", 30000)) << "the demo never started";
    const auto start = std::chrono::steady_clock::now();
    const std::string geometry =
        Process::run({"xdotool", "search", "--name", "^DedoZ- \\(OpenGL\\)$", "getwindowgeometry"},
                     {}, 10000)
            .out;
    Window w;
    const std::size_t at = geometry.find("Position: "), size = geometry.find("Geometry: ");
    ASSERT_TRUE(at != std::string::npos && size != std::string::npos) << geometry;
    ASSERT_EQ(2, std::sscanf(geometry.c_str() + at, "Position: %d,%d", &w.left, &w.top));
    ASSERT_EQ(2, std::sscanf(geometry.c_str() + size, "Geometry: %dx%d", &w.width, &w.height));

    auto shotAt = [&](int ms) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(ms));
        XwdImage screen;
        EXPECT_TRUE(screen.captureRoot()) << screen.error();
        const bool inside =
            w.left + w.width <= screen.width() && w.top + w.height <= screen.height();
        EXPECT_TRUE(inside) << geometry;
        return inside ? census(screen, w) : Census();
    };
    // The spectrum part's trails are small and far off: the most colourful of three counts.
    Census spectrum;
    for (int ms : SPECTRUM_SHOTS_MS) {
        const Census c = shotAt(ms);
        if (c.coloured >= spectrum.coloured)
            spectrum = c;
    }
    const Census impulse = shotAt(IMPULSE_SHOT_MS);
    // Held until the demo has gone: it polls the key once a frame, and a frame of a
    // loaded machine can outlast a short press.
    EXPECT_TRUE(XKeyboard::keyDown("Escape"));
    const Process::Result run = demo.wait(30000);
    EXPECT_TRUE(XKeyboard::keyUp("Escape"));
    EXPECT_EQ(0, run.exitCode) << run.err;

    // Grey lines and white glow have no hue: every coloured pixel is a trail's. On a
    // slow machine a shot may play dimmed (its fade holds the last fade-in value), so
    // the floor only has to be there, not bright.
    EXPECT_GE(spectrum.coloured, 5) << "spectrum part: no coloured trail points";
    EXPECT_GE(impulse.coloured, 20) << "impulse part: no coloured trail points";
    EXPECT_GE(impulse.families, 2) << "impulse part: the trails are not several colours";
    const Census* shots[] = {&spectrum, &impulse};
    for (const Census* c : shots) {
        const char* scene = c == &spectrum ? "spectrum part" : "impulse part";
        std::printf("%s: %d coloured pixels in %d hue families; %d lit on the near floor\n", scene,
                    c->coloured, c->families, c->litNear);
        EXPECT_EQ(0, c->colouredNear) << scene << ": colour on the floor of a silent run";
        EXPECT_GT(c->litNear, w.width * w.height / 4 / 50) << scene << ": no floor";
    }
}
