// DemoDirectory: a private working directory for one run of the dedoz program: its
// own data/settings.ini, the repository's data/music and data/shaders linked in, so
// the program finds everything else it reads. Owns the directory; removes it when destroyed.
#pragma once

#include <string>

#include "support/TempDirectory.h"

class DemoDirectory {
public:
    // sourceDir: the repository root whose data folders are linked in.
    explicit DemoDirectory(const std::string& sourceDir);
    DemoDirectory(const DemoDirectory&) = delete;
    DemoDirectory& operator=(const DemoDirectory&) = delete;

    // False (with a reason in error()) when the directory could not be made.
    bool ok() const { return m_error.empty(); }
    const std::string& error() const { return m_error; }
    const std::string& path() const { return m_folder.path(); }

    void writeSettings(const std::string& content) const;

private:
    TempDirectory m_folder;
    std::string m_error;
};
