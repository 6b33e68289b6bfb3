// DataFiles: the order of the lookup on temporary folders (the working
// directory's data/, the data installed beside the executable, the user's
// settings), and what a missing or unusable place falls through to.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "Demo/DataFiles.h"

namespace fs = std::filesystem;

namespace {

// root/work (the working directory), root/usr/games/dedoz (the executable, which
// need not exist), root/usr/share/games/dedoz (installed data with its shaders)
// and root/config (the user's configuration folder, with dedoz/settings.ini).
class DataLookup : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/dedoz-data-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        root = pattern;
        installed = root + "/usr/share/games/dedoz";
        userSettings = root + "/config/dedoz/settings.ini";
        fs::create_directories(root + "/work");
        fs::create_directories(installed + "/shaders");
        fs::create_directories(root + "/config/dedoz");
        std::ofstream(userSettings) << "hres 800\n";
        places.workingDirectory = root + "/work";
        places.executable = root + "/usr/games/dedoz";
        places.configHome = root + "/config";
    }
    void TearDown() override { fs::remove_all(root); }

    DataFiles find() { return DataFiles::find(places, warnings); }

    std::string root, installed, userSettings;
    DataPlaces places;
    std::ostringstream warnings;
};

TEST_F(DataLookup, WorkingDirectoryDataComesFirstWithItsOwnSettings)
{
    fs::create_directories(root + "/work/data/shaders");
    const DataFiles files = find();
    EXPECT_EQ(root + "/work/data", files.folder());
    EXPECT_EQ(root + "/work/data/settings.ini", files.settings());
    EXPECT_EQ(root + "/work/data/music/tovane.mp3", files.music());
    EXPECT_EQ(root + "/work/data/shaders", files.shaders());

    // From the process's own working directory the names stay relative, so every
    // message of a run from the repository root reads as before.
    const fs::path before = fs::current_path();
    fs::current_path(root + "/work");
    places.workingDirectory = ".";
    const DataFiles relative = find();
    fs::current_path(before);
    EXPECT_EQ("data/settings.ini", relative.settings());
    EXPECT_EQ("data/shaders", relative.shaders());
    EXPECT_EQ("", warnings.str());
}

TEST_F(DataLookup, InstalledDataBesideTheExecutableAndTheUsersSettingsWin)
{
    // A data/ without shaders (a user's own folder of that name) is not the demo's.
    fs::create_directories(root + "/work/data");
    DataFiles files = find();
    EXPECT_EQ(installed, files.folder());
    EXPECT_EQ(installed + "/music/tovane.mp3", files.music());
    EXPECT_EQ(userSettings, files.settings());

    fs::remove(userSettings);
    EXPECT_EQ(installed + "/settings.ini", find().settings());
    places.configHome.clear();
    EXPECT_EQ(installed + "/settings.ini", find().settings());
    EXPECT_EQ("", warnings.str());
}

TEST_F(DataLookup, UnusablePlacesFallThrough)
{
    // Shaders that are not a folder: the working directory's data is passed over.
    fs::create_directories(root + "/work/data");
    std::ofstream(root + "/work/data/shaders") << "";
    // The user's settings are a folder, then a FIFO: a warning, then the default.
    fs::remove(userSettings);
    fs::create_directories(userSettings);
    EXPECT_EQ(installed + "/settings.ini", find().settings());
    fs::remove(userSettings);
    ASSERT_EQ(0, mkfifo(userSettings.c_str(), 0644));
    EXPECT_EQ(installed + "/settings.ini", find().settings());
    const std::string said = warnings.str();
    EXPECT_EQ(2, std::count(said.begin(), said.end(), '\n')) << said;
    EXPECT_NE(std::string::npos,
              said.find("Warning: cannot read the settings file '" + userSettings + "', using '" +
                        installed + "/settings.ini'"))
        << said;

    // No data anywhere (or no known executable): the working directory's names, so
    // the usual messages name the missing files.
    fs::remove_all(installed + "/shaders");
    EXPECT_EQ(root + "/work/data/settings.ini", find().settings());
    fs::create_directories(installed + "/shaders");
    places.executable.clear();
    EXPECT_EQ(root + "/work/data/shaders", find().shaders());
}

// The process's own places: /proc/self/exe, and an XDG folder only when absolute.
TEST(DataPlacesTest, CurrentReadsTheExecutableAndTheConfigurationFolder)
{
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    setenv("HOME", "/home/someone", 1);
    setenv("XDG_CONFIG_HOME", "/xdg", 1);
    const DataPlaces xdg = DataPlaces::current();
    setenv("XDG_CONFIG_HOME", "relative/xdg", 1);
    const DataPlaces relative = DataPlaces::current();
    setenv("HOME", savedHome.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");

    EXPECT_EQ("/xdg", xdg.configHome);
    EXPECT_EQ("/home/someone/.config", relative.configHome);
    EXPECT_EQ(fs::canonical("/proc/self/exe").string(), xdg.executable);
    EXPECT_EQ("demo_data_files_test", fs::path(xdg.executable).filename().string());
}

}  // namespace
