// The show's set-up shared by every program: what it reads from the settings and
// what overrides it, the seeding of the scenes, and the too-large-window warning.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include "Demo/GlowSize.h"
#include "Demo/Settings.h"
#include "Demo/ShowSetup.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Random.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// Settings read from a temporary file holding content.
Settings settingsOf(const std::string& content)
{
    char path[] = "/tmp/dedoz-show-XXXXXX";
    const int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(path) << content;
    Settings settings(path);
    std::remove(path);
    return settings;
}

}  // namespace

TEST(ShowSetup, SettingsGiveTheShowUnlessOverridden)
{
    const Settings screen = settingsOf("seed 7\nhres 0\nvres 0\nglow 9\n");
    CaptureStdout();
    const ShowSetup fromFile(screen);
    // hres 0 vres 0 is the screen's own size, not a bad value; glow 9 is one.
    EXPECT_EQ("Warning: setting 'glow' is out of range (0 to 2), 0 used\n", GetCapturedStdout());
    EXPECT_EQ(7u, fromFile.seed());
    EXPECT_EQ(0, fromFile.windowWidth());
    EXPECT_EQ(0, fromFile.windowHeight());
    EXPECT_EQ(GLOW_AUTOMATIC, fromFile.glow());

    // The capture's command line: the keys it overrides are not even read.
    ShowOverrides overrides;
    overrides.seed = 3;
    overrides.width = 160;
    overrides.height = 120;
    overrides.glow = GLOW_HALF;
    CaptureStdout();
    const ShowSetup overridden(screen, overrides);
    EXPECT_EQ("", GetCapturedStdout());
    EXPECT_EQ(3u, overridden.seed());
    EXPECT_EQ(160, overridden.windowWidth());
    EXPECT_EQ(120, overridden.windowHeight());
    EXPECT_EQ(GLOW_HALF, overridden.glow());

    // Only both sides 0 ask for the screen: one alone falls back with a warning.
    CaptureStdout();
    const ShowSetup oneZero(settingsOf("hres 0\nvres 600\n"));
    EXPECT_EQ("Warning: setting 'hres' is out of range (1 to 16384), 640 used\n",
              GetCapturedStdout());
    EXPECT_EQ(640, oneZero.windowWidth());
    EXPECT_EQ(600, oneZero.windowHeight());
}

TEST(ShowSetup, ScenesAreSeededWhateverWasDrawnBefore)
{
    const ShowSetup setup(5, 640, 480, GLOW_FULL);
    const auto bands = setup.makeScenes()->grid().m_bands;
    Random::next();
    EXPECT_EQ(bands, setup.makeScenes()->grid().m_bands);
    EXPECT_NE(bands, ShowSetup(6, 640, 480, GLOW_FULL).makeScenes()->grid().m_bands);
}

TEST(ShowSetup, WarnsOfAWindowLargerThanTheScreenOnly)
{
    EXPECT_EQ(
        "Warning: the window (1984x1080) is larger than the screen (1920x1080), its edges are "
        "cut off; hres 0 vres 0 gives the screen's own size",
        ShowSetup::screenWarning(1984, 1080, 1920, 1080, false));
    EXPECT_NE("", ShowSetup::screenWarning(1920, 1081, 1920, 1080, false));
    EXPECT_EQ("", ShowSetup::screenWarning(1920, 1080, 1920, 1080, false)) << "fits exactly";
    EXPECT_EQ("", ShowSetup::screenWarning(4000, 3000, 0, 0, false)) << "screen unknown";
    EXPECT_EQ("", ShowSetup::screenWarning(4000, 3000, 1920, 1080, true)) << "scaled to fit";
}
