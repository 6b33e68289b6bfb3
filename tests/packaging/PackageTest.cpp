// The Debian package, built once by CPack into a temporary folder: its files and
// Depends line, lintian's verdict, and the programs extracted with dpkg-deb -x and
// started from another directory (the demo plays until Escape, the capture writes
// a 1 s video with the soundtrack), as an installed copy runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/Process.h"
#include "support/XKeyboard.h"

namespace fs = std::filesystem;

namespace {

class Package : public testing::Test {
protected:
    // The package and its extracted tree, shared by the tests below.
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/dedoz-package-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            s_failure = "no temporary folder";
            return;
        }
        s_dir = pattern;
        const Process::Result built =
            Process::run({DEDOZ_CPACK, "-G", "DEB", "--config",
                          DEDOZ_BINARY_DIR "/CPackConfig.cmake", "-B", s_dir + "/out"},
                         {}, 180000);
        std::error_code none;
        for (const fs::directory_entry& entry : fs::directory_iterator(s_dir + "/out", none))
            if (entry.path().extension() == ".deb")
                s_deb = entry.path().string();
        if (built.exitCode != 0 || s_deb.empty()) {
            s_failure = "cpack failed:\n" + built.out + built.err;
            return;
        }
        const Process::Result extracted =
            Process::run({"dpkg-deb", "-x", s_deb, s_dir + "/root"}, {}, 60000);
        if (extracted.exitCode != 0)
            s_failure = "dpkg-deb -x failed: " + extracted.err;
    }
    static void TearDownTestSuite() { fs::remove_all(s_dir); }
    void SetUp() override { ASSERT_EQ("", s_failure); }

    static std::string s_dir;  // out/ (the package), root/ (extracted), work/, home/
    static std::string s_deb;
    static std::string s_failure;
};
std::string Package::s_dir, Package::s_deb, Package::s_failure;

TEST_F(Package, HoldsBothProgramsTheirDataAndTheLinkedLibrariesAsDepends)
{
    const std::string root = s_dir + "/root";
    std::vector<std::string> files = {"usr/games/dedoz",
                                      "usr/games/dedoz-capture",
                                      "usr/share/games/dedoz/settings.ini",
                                      "usr/share/games/dedoz/music/tovane.mp3",
                                      "usr/share/applications/dedoz.desktop",
                                      "usr/share/icons/hicolor/256x256/apps/dedoz.png",
                                      "usr/share/man/man6/dedoz.6.gz",
                                      "usr/share/man/man6/dedoz-capture.6.gz",
                                      "usr/share/doc/dedoz/README.md",
                                      "usr/share/doc/dedoz/copyright",
                                      "usr/share/doc/dedoz/changelog.gz"};
    for (const char* shader : {"pulse", "hblur", "vblur"})
        for (const char* kind : {".vs", ".ps"})
            files.push_back(std::string("usr/share/games/dedoz/shaders/") + shader + kind);
    for (const std::string& file : files)
        EXPECT_TRUE(fs::is_regular_file(root + "/" + file)) << file;

    const Process::Result depends = Process::run({"dpkg-deb", "-f", s_deb, "Depends"}, {}, 30000);
    for (const char* library :
         {"libsdl1.2", "libglew", "libmpg123", "libfftw3-single", "libavcodec"})
        EXPECT_NE(std::string::npos, depends.out.find(library)) << library << " in " << depends.out;
}

TEST_F(Package, LintianReportsNoErrors)
{
    const Process::Result lintian = Process::run({"lintian", s_deb}, {}, 180000);
    if (!lintian.started || lintian.exitCode == 127)
        GTEST_SKIP() << "lintian is not installed";
    std::cout << "lintian:\n" << lintian.out << std::flush;
    std::istringstream lines(lintian.out);
    for (std::string line; std::getline(lines, line);)
        EXPECT_NE(0u, line.rfind("E: ", 0)) << line;
    EXPECT_EQ(0, lintian.exitCode) << lintian.err;
}

TEST_F(Package, ExtractedProgramsRunFromAnotherDirectory)
{
    const std::string root = s_dir + "/root", work = s_dir + "/work";
    fs::create_directories(work);
    fs::create_directories(s_dir + "/home");
    // No settings of the user's own: the installed default is read. No sound card.
    const std::vector<std::string> env = {"HOME=" + s_dir + "/home", "XDG_CONFIG_HOME=",
                                          "SDL_AUDIODRIVER=dummy"};

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
    ASSERT_EQ(0, capture.exitCode) << capture.err;
    EXPECT_EQ(std::string::npos, capture.err.find("Warning")) << capture.err;
    const Process::Result probe = Process::run(
        {"ffprobe", "-v", "error", "-show_entries", "stream=codec_type:format=duration", "-of",
         "compact=p=0", work + "/short.mp4"},
        {}, 30000);
    EXPECT_NE(std::string::npos, probe.out.find("codec_type=video")) << probe.out;
    EXPECT_NE(std::string::npos, probe.out.find("codec_type=audio")) << probe.out;
    const std::size_t at = probe.out.find("duration=");
    ASSERT_NE(std::string::npos, at) << probe.out;
    EXPECT_NEAR(1.0, std::stod(probe.out.substr(at + 9)), 0.1) << probe.out;
}

}  // namespace
