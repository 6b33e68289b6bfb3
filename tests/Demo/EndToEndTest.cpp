// The dedoz program run whole inside Xvfb: lines, their order and streams, return
// codes, the window it opens, leaving on Escape held like a person holds it, and the
// whole show played to its end on a faster clock. The show's pictures are checked on
// the capture's fixed clock (capture_show_pictures_test).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "support/DemoDirectory.h"
#include "support/Process.h"
#include "support/XCloseButton.h"
#include "support/XKeyboard.h"
#include "support/XwdImage.h"

namespace {

const std::string DEDOZ = DEDOZ_BINARY_DIR "/dedoz";
const int RUN_MS = 30000;
const int STOP_MS = 15000;  // from a stop request to the end of the run

// A private working directory: its own data/settings.ini, the repository's other
// data folders linked in, so the program finds everything else it reads.
class DemoRun : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.ok()) << m_folder.error();
        m_dir = m_folder.path();
    }

    void writeSettings(const std::string& content) { m_folder.writeSettings(content); }

    // Replaces the linked shader folder by one of the run's own: every shader of
    // the repository linked in, except `missing` (left out) and `replaced` (written
    // with `source`).
    void makeShaderFolder(const std::string& missing, const std::string& replaced = "",
                          const std::string& source = "")
    {
        const std::string folder = m_dir + "/data/shaders";
        ASSERT_EQ(0, unlink(folder.c_str()));
        ASSERT_EQ(0, mkdir(folder.c_str(), 0755));
        for (const char* name : {"pulse.vs", "pulse.ps", "blur.vs", "blur.ps"}) {
            const std::string path = folder + "/" + name;
            if (name == missing)
                continue;
            if (name == replaced) {
                std::ofstream(path) << source;
                continue;
            }
            const std::string target = std::string(DEDOZ_SOURCE_DIR) + "/data/shaders/" + name;
            ASSERT_EQ(0, symlink(target.c_str(), path.c_str()));
        }
    }

    // Starts the demo, waits for "Start !", reads the window's geometry, runs
    // m_whileRunning, then calls `stop` and waits for the end. The scene alone
    // lasts 22 s: a run asked to stop soon after "Start !" that ignores the request
    // outlives STOP_MS and fails.
    Process::Result runUntilStopped(const std::function<bool(Process&)>& stop,
                                    const std::vector<std::string>& env = {})
    {
        Process demo({DEDOZ}, env, m_dir);
        EXPECT_TRUE(demo.start());
        const bool started = demo.waitForOutput("Start !", RUN_MS);
        EXPECT_TRUE(started) << "the demo never started";
        if (!started)
            return demo.wait(0);
        const Process::Result geometry = Process::run(
            {"xdotool", "search", "--name", "^DedoZ- \\(OpenGL\\)$", "getwindowgeometry"}, {},
            10000);
        m_geometry = geometry.out;
        if (m_whileRunning)
            m_whileRunning();
        EXPECT_TRUE(stop(demo)) << "the stop request could not be made";
        const Process::Result run = demo.wait(STOP_MS);
        EXPECT_FALSE(run.timedOut) << "the stop request did not end the run";
        return run;
    }

    // Escape is held until the demo has ended: the demo polls the key state once
    // per frame, and a frame of a loaded machine can outlast a short press.
    Process::Result runUntilEscape(const std::vector<std::string>& env = {})
    {
        const Process::Result run =
            runUntilStopped([](Process&) { return XKeyboard::keyDown("Escape"); }, env);
        EXPECT_TRUE(XKeyboard::keyUp("Escape"));
        return run;
    }

    DemoDirectory m_folder{DEDOZ_SOURCE_DIR};
    std::string m_dir;
    std::string m_geometry;                // xdotool's description of the demo's window
    std::function<void()> m_whileRunning;  // run after "Start !", before Escape
};

// The number that follows the nth (from 0) occurrence of prefix, or "?".
std::string numberAfter(const std::string& text, const std::string& prefix, int nth = 0)
{
    std::size_t at = text.find(prefix);
    for (; nth > 0 && at != std::string::npos; --nth)
        at = text.find(prefix, at + prefix.size());
    if (at == std::string::npos)
        return "?";
    const std::size_t begin = at + prefix.size();
    const std::size_t end = text.find_first_not_of("0123456789", begin);
    return end == begin ? "?" : text.substr(begin, end - begin);
}

// The last line of text, which must end with a newline; "" otherwise.
std::string lastLine(const std::string& text)
{
    if (text.empty() || text.back() != '\n')
        return "";
    const std::size_t end = text.size() - 1;
    const std::size_t previous = end == 0 ? std::string::npos : text.rfind('\n', end - 1);
    const std::size_t begin = previous == std::string::npos ? 0 : previous + 1;
    return text.substr(begin, end - begin);
}

void expectOrder(const std::string& out, const std::vector<std::string>& lines)
{
    int previous = -1;
    for (const std::string& line : lines) {
        const int at = lineIndex(out, line);
        EXPECT_GT(at, previous) << "'" << line << "' missing or out of order in:\n" << out;
        EXPECT_EQ(1, countOccurrences(out, line + "\n")) << line;
        previous = at;
    }
}

const std::string SCREEN = "1920x1080";  // tests/xvfb-run.sh's screen
const std::string RENDER_640 = "Render size 640x480 (setting), full screen " + SCREEN;

// Every line of a whole run, in order and nothing else: start-up, "Start !", and
// after the stop request the shutdown, the frame buffer named by the id it was given.
// scaled: the frame target for scaling the frame onto the window exists; `err` is all
// of standard error.
void expectWholeRun(const Process::Result& run, const std::string& renderLine, bool scaled,
                    const std::string& err = "")
{
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ(err, run.err);
    const std::string frameBuffer = numberAfter(run.out, "New FrameBuffer id: ");
    const std::string first = numberAfter(run.out, "GL Texture ID created: ");
    const std::string second = numberAfter(run.out, "GL Texture ID created: ", 1);
    EXPECT_NE(first, second);
    const std::string scaling = numberAfter(run.out, "New FrameBuffer id: ", 1);
    EXPECT_EQ(
        "Settings file: data/settings.ini\n"
        "Zembra initiliased\n"
        "Music created\n"
        "Scene creation\n"
        "Geometry generation\n"
        "Glow at half size (software renderer)\n" +
            renderLine +
            "\n"
            "Texture preparation (R2T)\n"
            "GL Texture ID created: " +
            first +
            "\n"
            "GL Texture ID created: " +
            second +
            "\n"
            "Frame buffer preparation (R2T)\n"
            "New FrameBuffer id: " +
            frameBuffer +
            "\n"
            "FrameBuffer created\n" +
            (scaled
                 ? "GL Texture ID created: " + numberAfter(run.out, "GL Texture ID created: ", 2) +
                       "\nNew RenderBuffer id: " + numberAfter(run.out, "New RenderBuffer id: ") +
                       "\nRenderBuffer created\nNew FrameBuffer id: " + scaling +
                       "\nFrameBuffer created\n"
                 : "") +
            "Start !\n"
            "End !\n" +
            (scaled ? "FrameBuffer '" + scaling + "' deleted\ndeleted created\n" : "") +
            "FrameBuffer '" + frameBuffer +
            "' deleted\n"
            "Music deleted\n"
            "Zembra closed\n",
        run.out);
}

// The bounding box of the lit pixels of a screenshot within a rectangle of it, and
// their count.
struct LitBox {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;  // inclusive
    int count = 0;
};

bool isLit(const XwdImage::Rgb& p)
{
    return std::max({p.r, p.g, p.b}) > 40;
}

LitBox litBox(const XwdImage& screen, int left, int top, int width, int height)
{
    LitBox box;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            if (isLit(screen.pixel(x, y))) {
                box.x0 = std::min(box.x0, x);
                box.x1 = std::max(box.x1, x);
                box.y0 = std::min(box.y0, y);
                box.y1 = std::max(box.y1, y);
                ++box.count;
            }
    return box;
}

// The "Position: X,Y" and "Geometry: WxH" of xdotool's window description.
bool parseGeometry(const std::string& geometry, int& left, int& top, int& width, int& height)
{
    const std::size_t at = geometry.find("Position: "), size = geometry.find("Geometry: ");
    return at != std::string::npos && size != std::string::npos &&
           std::sscanf(geometry.c_str() + at, "Position: %d,%d", &left, &top) == 2 &&
           std::sscanf(geometry.c_str() + size, "Geometry: %dx%d", &width, &height) == 2;
}

}  // namespace

// The whole show, on a clock (SDL's ticks and delays, FastClock.cpp) that runs 20
// times faster: it ends by itself with the lines of a normal run, and not before its
// scenes' length has passed on that clock. Scene time is SDL ticks: a loop that
// counted frames instead would play far longer than the deadline allows. Without
// the soundtrack, as here, the player's one error line is all: the show plays silently.
TEST_F(DemoRun, WholeShowPlaysSilentlyWithoutItsSoundtrackAndEndsByItself)
{
    const int speed = 20;       // as FastClock.cpp
    const int showMs = 102842;  // the scenes' nominal length
    writeSettings("seed 42\nhres 320\nvres 240\nfullscreen 0\n");
    ASSERT_EQ(0, unlink((m_dir + "/data/music").c_str()));
    // A sanitizer runtime wants to be the first library loaded; the clock comes first.
    const char* asan = std::getenv("ASAN_OPTIONS");
    Process demo({DEDOZ},
                 {std::string("LD_PRELOAD=") + DEDOZ_FAST_CLOCK,
                  std::string("ASAN_OPTIONS=") + (asan ? asan : "") + ":verify_asan_link_order=0"},
                 m_dir);
    ASSERT_TRUE(demo.start());
    ASSERT_TRUE(demo.waitForOutput("Start !", RUN_MS)) << "the demo never started";
    const auto start = std::chrono::steady_clock::now();
    const Process::Result run = demo.wait(showMs / speed + 30000);
    const auto played = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    ASSERT_FALSE(run.timedOut) << "the demo did not end by itself";
    expectWholeRun(run, "Render size 320x240 (setting), window 320x240", true,
                   "The sound file does not exist or cannot be opened.\n");
    // The margin: the time this test takes to see "Start !", on the fast clock.
    EXPECT_GE(played * speed, showMs - 2000) << "the show ended early";
}

// Escape ends a full-screen run with every line in order, in a window of the screen's size.
TEST_F(DemoRun, EscapeEndsTheRunInOrder)
{
    writeSettings("seed 42\nhres 640\nvres 480\n");
    expectWholeRun(runUntilEscape(), RENDER_640, true);
    EXPECT_NE(std::string::npos, m_geometry.find("Geometry: " + SCREEN)) << m_geometry;
}

// Ctrl-C, SIGTERM and the window's close button end the run as Escape does.
TEST_F(DemoRun, SignalsAndTheCloseButtonEndTheRunAsEscapeDoes)
{
    writeSettings("");
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(strsignal(signal));
        expectWholeRun(runUntilStopped([signal](Process& demo) { return demo.signal(signal); }),
                       RENDER_640, true);
    }
    SCOPED_TRACE("close button");
    expectWholeRun(runUntilStopped([](Process&) { return XCloseButton::press("DedoZ- (OpenGL)"); }),
                   RENDER_640, true);
}

// A signal during start-up, before SDL has started, ends the run in order too (at
// its first frame) instead of killing it.
TEST_F(DemoRun, ASignalBeforeSdlStartsEndsTheRunInOrder)
{
    // No settings file: its warning is written before SDL starts.
    Process demo({DEDOZ}, {}, m_dir);
    ASSERT_TRUE(demo.start());
    ASSERT_TRUE(demo.waitForOutput("Fail to open the setting file", RUN_MS));
    ASSERT_TRUE(demo.signal(SIGTERM));
    const Process::Result run = demo.wait(STOP_MS);
    EXPECT_EQ(0, run.signal) << "killed by the signal";
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("Start !\nEnd !\n")) << run.out;
    EXPECT_EQ(run.out.size() - 14, run.out.rfind("Zembra closed\n")) << run.out;
}

TEST_F(DemoRun, SettingsChooseTheWindowAndBadValuesFallBack)
{
    writeSettings("hres 800\nvres 600\nglow 1\n");
    Process::Result run = runUntilEscape();
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ(
        1, countOccurrences(run.out, "Render size 800x600 (setting), full screen " + SCREEN + "\n"))
        << run.out;
    EXPECT_EQ(1, countOccurrences(run.out, "Glow at full size (setting)\n")) << run.out;

    // Sizes no int or window can hold, a glow size that does not exist: the run
    // goes on with the defaults.
    writeSettings("seed 1e30\nhres 1e30\nvres -5\nglow 3\n");
    run = runUntilEscape();
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ(1, countOccurrences(run.out, RENDER_640 + "\n")) << run.out;
    EXPECT_EQ(4, countOccurrences(run.out, "Warning: setting '")) << run.out;
    EXPECT_EQ(1, countOccurrences(run.out, "Glow at half size (software renderer)\n")) << run.out;
}

// hres 0 vres 0: rendered at the screen's own size, which needs no scaling.
TEST_F(DemoRun, ScreenSizedRender)
{
    writeSettings("hres 0\nvres 0\n");
    expectWholeRun(runUntilEscape(),
                   "Render size " + SCREEN + " (screen size), full screen " + SCREEN, false);
    EXPECT_NE(std::string::npos, m_geometry.find("Geometry: " + SCREEN)) << m_geometry;
}

TEST_F(DemoRun, MissingSettingsFileStillRuns)
{
    const Process::Result run = runUntilEscape();
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ(0, lineIndex(run.err, "Fail to open the setting file")) << run.err;
    EXPECT_EQ(1, countOccurrences(run.out, RENDER_640 + "\n")) << run.out;
}

TEST_F(DemoRun, HardwareCheckStopsAtTheFirstMissingExtension)
{
    writeSettings("");
    // Both removed: a query of the second would write a line of its own.
    const Process::Result run = Process::run(
        {DEDOZ}, {"MESA_EXTENSION_OVERRIDE=-GL_ARB_framebuffer_object -GL_ARB_framebuffer_sRGB"},
        RUN_MS, m_dir);
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ(
        "Settings file: data/settings.ini\n"
        "Zembra initiliased\n"
        "Extension 'GL_ARB_framebuffer_object' not found\n"
        "The demo needs better hardware. Sorry about it\n"
        "Zembra closed\n",
        run.out);

    const Process::Result srgb =
        Process::run({DEDOZ}, {"MESA_EXTENSION_OVERRIDE=-GL_ARB_framebuffer_sRGB"}, RUN_MS, m_dir);
    EXPECT_EQ(0, srgb.exitCode) << srgb.err;
    EXPECT_EQ(
        "Settings file: data/settings.ini\n"
        "Zembra initiliased\n"
        "Extension 'GL_ARB_framebuffer_sRGB' not found\n"
        "The demo needs better hardware. Sorry about it\n"
        "Zembra closed\n",
        srgb.out);
}

TEST_F(DemoRun, WindowCreationFailureReturnsMinusFour)
{
    writeSettings("");
    // The dummy video driver offers no OpenGL, so the video mode fails.
    const Process::Result run = Process::run({DEDOZ}, {"SDL_VIDEODRIVER=dummy"}, RUN_MS, m_dir);
    EXPECT_EQ(-4, run.exitCode);
    EXPECT_EQ("Fail to create the window\nException cought\n", run.err);
    EXPECT_EQ(std::string::npos, run.out.find("Zembra initiliased")) << run.out;
    EXPECT_EQ(std::string::npos, run.out.find("Zembra closed")) << run.out;
}

// A shader file that cannot be opened ends the start-up before any target exists.
TEST_F(DemoRun, MissingShaderFileReturnsMinusThree)
{
    writeSettings("");
    makeShaderFolder("blur.ps");
    const Process::Result run = Process::run({DEDOZ}, {}, RUN_MS, m_dir);
    EXPECT_EQ(-3, run.exitCode);
    EXPECT_EQ("Erreur d'ouverture du fichier: 'data/shaders/blur.ps'\n", run.err);
    EXPECT_EQ(
        "Settings file: data/settings.ini\n"
        "Zembra initiliased\n"
        "Music created\n"
        "Scene creation\n"
        "Geometry generation\n"
        "Fail to read shaders\n"
        "Music deleted\n"
        "Zembra closed\n",
        run.out);
}

// A FIFO where a data file belongs is refused at once, never waited on: at the
// settings path it reads as a missing file and the run goes on; at a shader path
// the start-up ends as for a missing shader.
TEST_F(DemoRun, FifoInsteadOfADataFileNeverBlocks)
{
    ASSERT_EQ(0, mkfifo((m_dir + "/data/settings.ini").c_str(), 0644));
    Process::Result run = runUntilEscape();
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ("Fail to open the setting file\n", run.err);

    makeShaderFolder("pulse.ps");
    ASSERT_EQ(0, mkfifo((m_dir + "/data/shaders/pulse.ps").c_str(), 0644));
    run = Process::run({DEDOZ}, {}, RUN_MS, m_dir);
    EXPECT_FALSE(run.timedOut) << "the start-up waited on the FIFO";
    EXPECT_EQ(-3, run.exitCode);
    EXPECT_EQ(
        "Fail to open the setting file\n"
        "Erreur d'ouverture du fichier: 'data/shaders/pulse.ps'\n",
        run.err);
    expectOrder(run.out, {"Fail to read shaders", "Music deleted", "Zembra closed"});
}

// A GL error raised inside the loop, for real: this pulse shader declares "amplif"
// as a vec2 (and uses it, so it stays active), so the chain's glUniform1f on it
// raises GL_INVALID_OPERATION, which the check after the next lookup reports.
TEST_F(DemoRun, GLErrorInTheLoopReturnsMinusThree)
{
    writeSettings("");
    makeShaderFolder(
        "", "pulse.ps",
        "#version 120\n"
        "uniform vec2 amplif;\n"
        "uniform float fade;\n"
        "void main()\n"
        "{\n"
        "    gl_FragColor = vec4(gl_Color.rgb * fade + vec3(amplif.x * 0.01), gl_Color.a);\n"
        "}\n");
    const Process::Result run = Process::run({DEDOZ}, {}, RUN_MS, m_dir);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(-3, run.exitCode) << run.err;
    EXPECT_EQ("Invalid operation in 'glGetUniformLocation 'fade''", lastLine(run.err)) << run.err;
    EXPECT_EQ(std::string::npos, run.err.find("Exception cought")) << run.err;
    // The objects of the run are gone before the handler writes its line; the loop
    // never reached its end.
    expectOrder(
        run.out,
        {"Start !", "FrameBuffer '" + numberAfter(run.out, "New FrameBuffer id: ") + "' deleted",
         "Music deleted", "Zembra closed"});
    EXPECT_EQ(std::string::npos, run.out.find("End !")) << run.out;
    EXPECT_EQ("Zembra closed", lastLine(run.out));
}

// A FIFO where the soundtrack should be: opening it as a file would wait for a writer
// forever. The player refuses it with its usual line and the demo runs silently.
TEST_F(DemoRun, SoundtrackPathNamingAFifoRunsSilently)
{
    writeSettings("");
    const std::string music = m_dir + "/data/music";
    ASSERT_EQ(0, unlink(music.c_str()));
    ASSERT_EQ(0, mkdir(music.c_str(), 0755));
    ASSERT_EQ(0, mkfifo((music + "/tovane.mp3").c_str(), 0644));
    const Process::Result run = runUntilEscape();
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ("The sound file does not exist or cannot be opened.\n", run.err);
    expectOrder(run.out, {"Music created", "Start !", "End !", "Music deleted", "Zembra closed"});
}

// Screenshots until one shows the floor lit over at least `share` of the rectangle,
// for at most 10 s: the scene fades in over its first 500 ms on its own clock, and
// on a loaded machine whose frames come far apart it stays dark until the fade's
// next edge. The horizon's glow lights up first: the lowest quarter, near the camera,
// must show lines too.
bool captureLit(XwdImage& screen, int left, int top, int width, int height, int share)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        usleep(500 * 1000);
        if (!screen.captureRoot())
            continue;
        int count = 0, near = 0;
        for (int y = top; y < top + height; y += 4)
            for (int x = left; x < left + width; x += 4) {
                const bool lit = isLit(screen.pixel(x, y));
                count += lit;
                near += lit && y >= top + height * 3 / 4;
            }
        if (count > width * height / share / 16 && near > width * height / 4 / 50 / 16)
            return true;
    }
    return false;
}

// Full screen with a 640 x 480 render on the 1920 x 1080 screen: the frame is
// scaled to the full height and 1440 pixels of width, centred between black bars;
// near the camera the floor is lines with dark cells between them. A full-screen
// setting that does not exist falls back to full screen with one warning.
TEST_F(DemoRun, FullScreenScalesTheFrameBetweenBars)
{
    writeSettings("seed 42\nhres 640\nvres 480\nfullscreen 2\n");
    XwdImage screen;
    bool captured = false;
    const int left = 240, width = 1440, height = 1080;  // the picture on the screen
    m_whileRunning = [&] { captured = captureLit(screen, left, 0, width, height, 20); };
    const Process::Result run = runUntilEscape();
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ(1, countOccurrences(run.out, "Warning: setting '")) << run.out;
    EXPECT_EQ(1, countOccurrences(run.out, "Warning: setting 'fullscreen'")) << run.out;
    EXPECT_EQ(1, countOccurrences(run.out, RENDER_640 + "\n")) << run.out;
    EXPECT_NE(std::string::npos, m_geometry.find("Geometry: " + SCREEN)) << m_geometry;
    ASSERT_TRUE(captured) << screen.error();
    ASSERT_EQ(1920, screen.width());
    ASSERT_EQ(1080, screen.height());

    const LitBox all = litBox(screen, 0, 0, screen.width(), screen.height());
    const LitBox inside = litBox(screen, left, 0, width, height);
    EXPECT_EQ(all.count, inside.count) << "lit pixels in the bars";
    // The floor's lines reach every edge of the picture.
    EXPECT_NEAR(left, all.x0, 8);
    EXPECT_NEAR(left + width - 1, all.x1, 8);
    EXPECT_LE(all.y0, 8);
    EXPECT_GE(all.y1, height - 9);
    EXPECT_GT(inside.count, width * height / 20) << "less than 5 % of the picture is lit";
    EXPECT_LT(inside.count, width * height * 9 / 10) << "the picture is lit all over, not a floor";
    const LitBox near = litBox(screen, left, height * 3 / 4, width, height / 4);
    const int quarter = width * height / 4;
    EXPECT_GT(near.count, quarter / 50) << "no floor lines close to the camera";
    EXPECT_LT(near.count, quarter * 2 / 3) << "the foreground is not a grid of lines";
}

// fullscreen 0: a window of the render size, here the automatic one, as the size
// asked for is beyond the driver's largest texture (one warning). Resized through
// the window system, the window shows the same frame scaled to its new width,
// shape kept; its close button ends the run.
TEST_F(DemoRun, WindowFollowsAResizeAndClosesByItsButton)
{
    writeSettings("hres 20000\nvres 15000\nfullscreen 0\n");
    XwdImage screen;
    bool captured = false;
    std::string resized;  // xdotool's description of the window after the resize
    m_whileRunning = [&] {
        const std::vector<std::string> window = {"xdotool", "search", "--name",
                                                 "^DedoZ- \\(OpenGL\\)$"};
        std::vector<std::string> command = window;
        command.insert(command.end(), {"windowsize", "1000", "700"});
        Process::run(command, {}, 10000);
        usleep(500 * 1000);
        command = window;
        command.push_back("getwindowgeometry");
        resized = Process::run(command, {}, 10000).out;
        int l = 0, t = 0, w = 0, h = 0;
        captured = parseGeometry(resized, l, t, w, h) && captureLit(screen, l, t, w, h, 20);
    };
    const Process::Result run =
        runUntilStopped([](Process&) { return XCloseButton::press("DedoZ- (OpenGL)"); });
    EXPECT_EQ(0, run.exitCode) << run.err;
    int left = 0, top = 0, width = 0, height = 0;
    ASSERT_TRUE(parseGeometry(m_geometry, left, top, width, height)) << m_geometry;
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    // Once each, the warning first.
    expectOrder(run.out,
                {"Warning: the render size 20000x15000 is larger than the driver allows "
                 "(16384 pixels a side), the automatic size " +
                     size + " is used",
                 "Render size " + size + " (automatic, software renderer), window " + size});

    ASSERT_TRUE(parseGeometry(resized, left, top, width, height)) << resized;
    ASSERT_EQ(1000, width);
    ASSERT_EQ(700, height);
    ASSERT_TRUE(captured) << screen.error();
    // The 16:9 frame across the whole width, between bars above and below.
    const int pictureHeight = 1000 * 9 / 16, bar = (700 - pictureHeight) / 2;
    const LitBox box = litBox(screen, left, top, width, height);
    EXPECT_NEAR(left, box.x0, 8);
    EXPECT_NEAR(left + 999, box.x1, 8);
    EXPECT_NEAR(top + bar, box.y0, 8);
    EXPECT_NEAR(top + bar + pictureHeight - 1, box.y1, 8);
}
