// The dedoz program run whole inside Xvfb: lines, their order and streams, return
// codes, the window it opens, and leaving on Escape held like a person holds it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "support/Process.h"
#include "support/XKeyboard.h"

namespace {

const std::string DEDOZ = DEDOZ_BINARY_DIR "/dedoz";
const int RUN_MS = 30000;

// A private working directory: its own data/settings.ini, the repository's other
// data folders linked in, so the program finds everything else it reads.
class DemoRun : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/dedoz-run-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        m_dir = pattern;
        ASSERT_EQ(0, mkdir((m_dir + "/data").c_str(), 0755));
        for (const char* sub : {"music", "shaders"}) {
            const std::string target = std::string(DEDOZ_SOURCE_DIR) + "/data/" + sub;
            ASSERT_EQ(0, symlink(target.c_str(), (m_dir + "/data/" + sub).c_str()));
        }
    }
    void TearDown() override
    {
        const std::string command = "rm -rf '" + m_dir + "'";
        EXPECT_EQ(0, std::system(command.c_str()));
    }

    void writeSettings(const std::string& content)
    {
        std::ofstream(m_dir + "/data/settings.ini") << content;
    }

    // Starts the demo, waits for "Start !", reads the window's geometry, holds
    // Escape for 300 ms and waits for the end.
    Process::Result runUntilEscape(const std::vector<std::string>& env = {})
    {
        Process demo({DEDOZ}, env, m_dir);
        EXPECT_TRUE(demo.start());
        const bool started = demo.waitForOutput("Start !", RUN_MS);
        EXPECT_TRUE(started) << "the demo never started";
        if (started) {
            const Process::Result geometry = Process::run(
                {"xdotool", "search", "--name", "^DedoZ- \\(OpenGL\\)$", "getwindowgeometry"},
                {}, 10000);
            m_geometry = geometry.out;
            EXPECT_TRUE(XKeyboard::holdKey("Escape", 300));
        }
        return demo.wait(RUN_MS);
    }

    std::string m_dir;
    std::string m_geometry;  // xdotool's description of the demo's window
};

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

}  // namespace

TEST_F(DemoRun, EscapeEndsTheRunInOrder)
{
    writeSettings("seed 42\nhres 640\nvres 480\n");
    const Process::Result run = runUntilEscape();
    EXPECT_FALSE(run.timedOut) << "Escape did not end the run";
    EXPECT_EQ(0, run.exitCode) << run.err;
    expectOrder(run.out, {"Zembra initiliased", "Start !", "End !", "Zembra closed"});
    EXPECT_EQ(std::string::npos, run.err.find("Exception cought"));
    EXPECT_NE(std::string::npos, m_geometry.find("Geometry: 640x480")) << m_geometry;
}

TEST_F(DemoRun, SettingsChooseTheWindowAndBadValuesFallBack)
{
    writeSettings("hres 800\nvres 600\n");
    Process::Result run = runUntilEscape();
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_NE(std::string::npos, m_geometry.find("Geometry: 800x600")) << m_geometry;

    // Sizes no int or window can hold: the run goes on at the default size.
    writeSettings("seed 1e30\nhres 1e30\nvres -5\n");
    run = runUntilEscape();
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_NE(std::string::npos, m_geometry.find("Geometry: 640x480")) << m_geometry;
    EXPECT_EQ(3, countOccurrences(run.out, "Warning: setting '")) << run.out;
}

TEST_F(DemoRun, MissingSettingsFileStillRuns)
{
    const Process::Result run = runUntilEscape();
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ(0, lineIndex(run.err, "Fail to open the setting file")) << run.err;
    EXPECT_NE(std::string::npos, m_geometry.find("Geometry: 640x480")) << m_geometry;
}

TEST_F(DemoRun, HardwareCheckStopsAtTheFirstMissingExtension)
{
    writeSettings("");
    // Both removed: a query of the second would write a line of its own.
    const Process::Result run = Process::run(
        {DEDOZ}, {"MESA_EXTENSION_OVERRIDE=-GL_ARB_framebuffer_object -GL_ARB_framebuffer_sRGB"},
        RUN_MS, m_dir);
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ("Zembra initiliased\n"
              "Extension 'GL_ARB_framebuffer_object' not found\n"
              "The demo needs better hardware. Sorry about it\n"
              "Zembra closed\n",
              run.out);

    const Process::Result srgb = Process::run(
        {DEDOZ}, {"MESA_EXTENSION_OVERRIDE=-GL_ARB_framebuffer_sRGB"}, RUN_MS, m_dir);
    EXPECT_EQ(0, srgb.exitCode) << srgb.err;
    EXPECT_EQ("Zembra initiliased\n"
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
