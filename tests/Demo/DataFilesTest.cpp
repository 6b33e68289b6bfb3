// DataFiles: the lookup order on temporary folders (the working directory's data/,
// the data installed beside the executable, the user's settings), and what a
// missing or unusable place falls through to.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "Demo/DataFiles.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;

namespace {

// root/work (the working directory), root/usr/games/dedoz (the executable, which
// need not exist), root/usr/share/games/dedoz (installed data with its shaders),
// root/config (the user's configuration folder, with dedoz/settings.ini).
class DataLookup : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE("", folder.path()) << folder.error();
        root = folder.path();
        fs::create_directories(root + "/work/data");  // no shaders: a user's own data/
        fs::create_directories(installed() + "/shaders");
        fs::create_directories(root + "/config/dedoz");
        std::ofstream(own()) << "hres 800\n";
        places = {root + "/work", root + "/usr/games/dedoz", root + "/config"};
    }

    std::string installed() const { return root + "/usr/share/games/dedoz"; }
    std::string own() const { return root + "/config/dedoz/settings.ini"; }
    std::string settings() { return DataFiles::find(places, warnings).settings(); }

    TempDirectory folder{"data"};
    std::string root;
    DataPlaces places;
    std::ostringstream warnings;
};

TEST_F(DataLookup, InstalledDataBesideTheExecutableAndTheUsersSettingsWin)
{
    const DataFiles files = DataFiles::find(places, warnings);
    EXPECT_EQ(installed() + "/music/tovane.mp3", files.music());
    EXPECT_EQ(installed() + "/shaders", files.shaders());
    EXPECT_EQ(own(), files.settings());
    fs::remove(own());
    EXPECT_EQ(installed() + "/settings.ini", settings());
    places.configHome.clear();
    EXPECT_EQ(installed() + "/settings.ini", settings());
    EXPECT_EQ("", warnings.str());
}

TEST_F(DataLookup, WorkingDirectoryDataComesFirstWithItsOwnSettings)
{
    fs::create_directories(root + "/work/data/shaders");
    EXPECT_EQ(root + "/work/data/settings.ini", settings());
    // From "." the names stay relative: a run from the repository root reads as before.
    const fs::path before = fs::current_path();
    fs::current_path(root + "/work");
    places.workingDirectory = ".";
    const DataFiles relative = DataFiles::find(places, warnings);
    fs::current_path(before);
    EXPECT_EQ("data/settings.ini", relative.settings());
    EXPECT_EQ("data/shaders", relative.shaders());
}

TEST_F(DataLookup, UnusablePlacesFallThrough)
{
    std::ofstream(root + "/work/data/shaders") << "";  // not a folder: passed over
    // The user's settings a folder, then a FIFO: a warning each, then the default.
    fs::remove(own());
    fs::create_directories(own());
    EXPECT_EQ(installed() + "/settings.ini", settings());
    fs::remove(own());
    ASSERT_EQ(0, mkfifo(own().c_str(), 0644));
    EXPECT_EQ(installed() + "/settings.ini", settings());
    const std::string line = "Warning: cannot read the settings file '" + own() + "', using '" +
                             installed() + "/settings.ini'\n";
    EXPECT_EQ(line + line, warnings.str());
    // No data anywhere, or no known executable: the working directory's names, so
    // the usual messages name the missing files.
    fs::remove_all(installed() + "/shaders");
    EXPECT_EQ(root + "/work/data/settings.ini", settings());
    fs::create_directories(installed() + "/shaders");
    places.executable.clear();
    EXPECT_EQ(root + "/work/data/settings.ini", settings());
}

// The process's own places: an XDG folder only when absolute, else ~/.config (the
// executable's path is relied on by the package test's run of an extracted copy).
TEST(DataPlacesTest, CurrentTakesAnAbsoluteXdgFolderElseHomeConfig)
{
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", "/home/someone", 1);
    setenv("XDG_CONFIG_HOME", "/xdg", 1);
    const DataPlaces xdg = DataPlaces::current();
    setenv("XDG_CONFIG_HOME", "relative/xdg", 1);
    const DataPlaces relative = DataPlaces::current();
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ("/xdg", xdg.configHome);
    EXPECT_EQ("/home/someone/.config", relative.configHome);
}

}  // namespace
