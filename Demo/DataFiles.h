// DataFiles: where a run finds its files: the data folder (soundtrack, shaders,
// default settings) and the settings file that wins. Plain paths, found once at
// start-up; the working directory's data/ keeps its relative name "data".
#pragma once

#include <iosfwd>
#include <string>

// What the lookup depends on, given explicitly so that it can run on any folders.
struct DataPlaces {
    std::string workingDirectory = ".";
    std::string executable;  // the running program's path; empty when unknown
    std::string configHome;  // the user's configuration folder; empty when none

    // The process's own: ".", /proc/self/exe, $XDG_CONFIG_HOME (when absolute)
    // or else $HOME/.config.
    static DataPlaces current();
};

class DataFiles {
public:
    // The data folder is the working directory's data/ when it holds a readable
    // shaders folder, else the one installed beside the executable
    // (../share/games/dedoz from the executable's folder) when that does, else
    // "data" as it is, so that the usual messages name the missing files. With the
    // installed folder, the user's dedoz/settings.ini in configHome wins over the
    // installed default when it is a readable regular file; one present but
    // unreadable gets a warning line on `warnings` and is passed over.
    static DataFiles find(const DataPlaces& places, std::ostream& warnings);
    // find() on the process's own places, warnings on standard error; then one
    // line on standard output names the settings file the run reads.
    static DataFiles forThisRun();

    const std::string& folder() const { return m_folder; }
    const std::string& settings() const { return m_settings; }
    std::string music() const;
    // The folder of the six shader sources.
    std::string shaders() const;

private:
    std::string m_folder;
    std::string m_settings;
};
