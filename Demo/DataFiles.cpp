// DataFiles: the lookup of the data folder and of the settings file.
#include "Demo/DataFiles.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

#include "Demo/DemoContent.h"

namespace fs = std::filesystem;

namespace {

// The installed data, relative to the folder of the executable: Debian's layout
// for games (/usr/games/dedoz reads /usr/share/games/dedoz), kept by any prefix.
const char* const INSTALLED_DATA = "../share/games/dedoz";
const char* const WORKING_DATA = "data";
// The user's settings live in CONFIG_FOLDER under the configuration folder.
const char* const CONFIG_FOLDER = "dedoz";

// "data" stays "data" from ".", so every message of a run from the repository
// root reads as it always has.
std::string join(const std::string& folder, const std::string& name)
{
    return (fs::path(folder) / name).lexically_normal().string();
}

// A folder the run can list and read: stat follows links, as open does.
bool readableFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           access(path.c_str(), R_OK | X_OK) == 0;
}

bool holdsData(const std::string& folder)
{
    return readableFolder(join(folder, DemoContent::SHADER_FOLDER));
}

}  // namespace

DataPlaces DataPlaces::current()
{
    DataPlaces places;
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error)
        places.executable = executable.string();
    // An XDG folder must be absolute to count; a relative one is ignored.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (xdg != nullptr && xdg[0] == '/')
        places.configHome = xdg;
    else if (home != nullptr && home[0] != '\0')
        places.configHome = std::string(home) + "/.config";
    return places;
}

DataFiles DataFiles::find(const DataPlaces& places, std::ostream& warnings)
{
    DataFiles files;
    const std::string working = join(places.workingDirectory, WORKING_DATA);
    const std::string installed =
        places.executable.empty()
            ? std::string()
            : join(fs::path(places.executable).parent_path().string(), INSTALLED_DATA);
    if (holdsData(working) || installed.empty() || !holdsData(installed)) {
        files.m_folder = working;
        files.m_settings = join(working, DemoContent::SETTINGS_FILE);
        return files;
    }
    files.m_folder = installed;
    files.m_settings = join(installed, DemoContent::SETTINGS_FILE);
    if (places.configHome.empty())
        return files;
    const std::string own =
        join(join(places.configHome, CONFIG_FOLDER), DemoContent::SETTINGS_FILE);
    struct stat info;
    if (stat(own.c_str(), &info) != 0)
        return files;  // no settings of the user's own: the usual case
    if (S_ISREG(info.st_mode) && access(own.c_str(), R_OK) == 0)
        files.m_settings = own;
    else
        warnings << "Warning: cannot read the settings file '" << own << "', using '"
                 << files.m_settings << "'" << std::endl;
    return files;
}

DataFiles DataFiles::forThisRun()
{
    const DataFiles files = find(DataPlaces::current(), std::cerr);
    std::cout << "Settings file: " << files.settings() << std::endl;
    return files;
}

std::string DataFiles::music() const
{
    return join(m_folder, DemoContent::MUSIC_FILE);
}

std::string DataFiles::shaders() const
{
    return join(m_folder, DemoContent::SHADER_FOLDER);
}
