// The whole demo played to its end inside Xvfb at a small window: it ends by itself
// with code 0 after the nominal length of its scenes, with the lines of a normal run,
// and its last scene is on screen at full brightness. The meshes themselves are not
// told apart here: they are as grey as the floor and the band spikes the previous
// scene leaves standing, and where they are (resting or risen) depends on the frame
// rate. ScenePartWorldDrawTest shows them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <regex>
#include <string>
#include <thread>

#include "support/DemoDirectory.h"
#include "support/Process.h"
#include "support/XwdImage.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::string DEDOZ = DEDOZ_BINARY_DIR "/dedoz";
// Sum of the shot lengths of the six scenes, in ms: titles (4 x 2820), sweep (22032),
// greetings (19530), the two trail scenes (10000, 15000) and the world scene (25000).
const int SCENES_MS = 11280 + 22032 + 19530 + 10000 + 15000 + 25000;
const int WORLD_MS = 25000;  // the last scene
// Each shot runs one or two frames past its length and each scene change adds a
// frame; on a loaded machine frames are slow, hence the wide upper margin.
const int LATE_MARGIN_MS = 27000;
const int WIDTH = 320;
const int HEIGHT = 240;

struct Window {
    int left = -1, top = -1, width = 0, height = 0;
};

// The demo's window as xdotool describes it; width 0 when not found.
Window findWindow()
{
    const Process::Result found = Process::run(
        {"xdotool", "search", "--name", "^DedoZ- \\(OpenGL\\)$", "getwindowgeometry"}, {}, 10000);
    Window w;
    const std::size_t at = found.out.find("Position: ");
    const std::size_t size = found.out.find("Geometry: ");
    if (at == std::string::npos || size == std::string::npos ||
        std::sscanf(found.out.c_str() + at, "Position: %d,%d", &w.left, &w.top) != 2 ||
        std::sscanf(found.out.c_str() + size, "Geometry: %dx%d", &w.width, &w.height) != 2)
        return Window();
    return w;
}

}  // namespace

TEST(WholeDemo, PlaysEverySceneEndsByItselfAndShowsTheWorldSceneLast)
{
    const DemoDirectory dir(DEDOZ_SOURCE_DIR);
    ASSERT_TRUE(dir.ok()) << dir.error();
    dir.writeSettings("seed 42\nhres " + std::to_string(WIDTH) + "\nvres " +
                      std::to_string(HEIGHT) + "\nfullscreen 0\n");

    Process demo({DEDOZ}, {}, dir.path());
    ASSERT_TRUE(demo.start());
    ASSERT_TRUE(demo.waitForOutput("Start !", 30000)) << "the demo never started";
    const Clock::time_point start = Clock::now();
    const Window window = findWindow();

    // Five seconds into the world scene: faded in (500 ms) and not yet fading out (10 s).
    std::this_thread::sleep_until(start + std::chrono::milliseconds(SCENES_MS - WORLD_MS + 5000));
    XwdImage screen;
    const bool captured = screen.captureRoot();

    const Process::Result run = demo.wait(SCENES_MS + LATE_MARGIN_MS + 10000);
    const long long playedMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    ASSERT_FALSE(run.timedOut) << "the demo did not end by itself";
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ("", run.err);
    const std::regex normalRun(
        "Settings file: data/settings.ini\nZembra initiliased\nMusic created\nScene creation\nGeometry generation\n"
        "Glow at half size \\(software renderer\\)\nRender size 320x240 \\(setting\\), window 320x240\n"
        "Texture preparation \\(R2T\\)\nGL Texture ID created: [0-9]+\nGL Texture ID created: [0-9]+\n"
        "Frame buffer preparation \\(R2T\\)\nNew FrameBuffer id: ([0-9]+)\nFrameBuffer created\n"
        // A window can be resized: the target its frame would be scaled from.
        "GL Texture ID created: [0-9]+\nNew RenderBuffer id: [0-9]+\nRenderBuffer created\n"
        "New FrameBuffer id: ([0-9]+)\nFrameBuffer created\n"
        "Start !\nEnd !\nFrameBuffer '\\2' deleted\ndeleted created\n"
        "FrameBuffer '\\1' deleted\nMusic deleted\nZembra closed\n");
    EXPECT_TRUE(std::regex_match(run.out, normalRun)) << run.out;
    // Scene time is SDL ticks: the run cannot end before its scenes' length.
    EXPECT_GE(playedMs, SCENES_MS - 1000);
    EXPECT_LE(playedMs, SCENES_MS + LATE_MARGIN_MS);

    ASSERT_TRUE(captured) << screen.error();
    ASSERT_EQ(WIDTH, window.width) << "window not found";
    ASSERT_EQ(HEIGHT, window.height);
    ASSERT_LE(window.left + WIDTH, screen.width());
    ASSERT_LE(window.top + HEIGHT, screen.height());
    int lit = 0;
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            const XwdImage::Rgb p = screen.pixel(window.left + x, window.top + y);
            lit += std::max({p.r, p.g, p.b}) > 40;
        }
    // At full fade the floor's lines and their glow light a good share of the picture.
    EXPECT_GT(lit, WIDTH * HEIGHT / 10) << "the world scene is dark at full fade";
}
