// The Debian package, built by CPack into a temporary folder: its files and
// Depends line, the programs extracted with dpkg-deb -x and started from another
// directory (the demo plays until Escape, the capture writes a 1 s video with the
// soundtrack), as an installed copy runs; last, lintian's verdict.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "support/Process.h"
#include "support/TempDirectory.h"
#include "support/XKeyboard.h"

namespace fs = std::filesystem;

namespace {

class Package : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE("", folder.path()) << folder.error();
        dir = folder.path();
    }
    TempDirectory folder{"package"};
    std::string dir;  // out/ (the package), root/ (extracted), work/, home/
};

TEST_F(Package, BuildsRunsExtractedFromAnotherDirectoryAndPassesLintian)
{
    const Process::Result built =
        Process::run({DEDOZ_CPACK, "-G", "DEB", "--config", DEDOZ_BINARY_DIR "/CPackConfig.cmake",
                      "-B", dir + "/out"},
                     {}, 180000);
    ASSERT_EQ(0, built.exitCode) << built.out << built.err;
    const std::string deb = dir + "/out/dedoz_" DEDOZ_VERSION "_amd64.deb";
    ASSERT_EQ(0, Process::run({"dpkg-deb", "-x", deb, dir + "/root"}, {}, 60000).exitCode);
    const std::string root = dir + "/root", work = dir + "/work";
    // The data, settings and shaders are checked by the runs below.
    for (const char* file :
         {"applications/dedoz.desktop", "icons/hicolor/256x256/apps/dedoz.png",
          "man/man6/dedoz.6.gz", "man/man6/dedoz-capture.6.gz", "doc/dedoz/README.md"})
        EXPECT_TRUE(fs::is_regular_file(root + "/usr/share/" + file)) << file;
    const std::string depends = Process::run({"dpkg-deb", "-f", deb, "Depends"}, {}, 30000).out;
    for (const char* library :
         {"libsdl1.2", "libglew", "libmpg123", "libfftw3-single", "libavcodec"})
        EXPECT_NE(std::string::npos, depends.find(library)) << library << " in " << depends;

    fs::create_directories(work);
    // No settings of the user's own: the installed default is read. No sound card.
    const std::vector<std::string> env = {"HOME=" + dir + "/home",
                                          "XDG_CONFIG_HOME=", "SDL_AUDIODRIVER=dummy"};
    Process demo({root + "/usr/games/dedoz"}, env, work);
    ASSERT_TRUE(demo.start());
    const bool started = demo.waitForOutput("Start !", 60000);
    EXPECT_TRUE(XKeyboard::keyDown("Escape"));
    const Process::Result run = demo.wait(30000);
    EXPECT_TRUE(XKeyboard::keyUp("Escape"));
    EXPECT_TRUE(started) << run.out << run.err;
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ("", run.err);  // every file found: no loader or music line
    EXPECT_EQ(0,
              lineIndex(run.out, "Settings file: " + root + "/usr/share/games/dedoz/settings.ini"))
        << run.out;

    const Process::Result capture = Process::run({root + "/usr/games/dedoz-capture", "--out",
                                                  "short.mp4", "--size", "160x120", "--to", "1000"},
                                                 env, 120000, work);
    EXPECT_EQ(0, capture.exitCode) << capture.err;
    EXPECT_EQ(std::string::npos, capture.err.find("Warning")) << capture.err;
    const std::string probe = Process::run({"ffprobe", "-v", "error", "-show_entries",
                                            "stream=codec_type:format=duration", "-of",
                                            "compact=p=0", work + "/short.mp4"},
                                           {}, 30000)
                                  .out;
    EXPECT_EQ("codec_type=video\ncodec_type=audio\nduration=1.0", probe.substr(0, 46)) << probe;

    const Process::Result lintian = Process::run({"lintian", deb}, {}, 180000);
    if (!lintian.started)
        GTEST_SKIP() << "lintian is not installed: the package was not checked by it";
    std::cout << "lintian:\n" << lintian.out << std::flush;
    EXPECT_EQ(std::string::npos, ("\n" + lintian.out).find("\nE: ")) << lintian.out;
    EXPECT_EQ(0, lintian.exitCode) << lintian.err;
}

}  // namespace
