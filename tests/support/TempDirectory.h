// TempDirectory: a private folder under /tmp for one test, named /tmp/dedoz-NAME-XXXXXX.
// Owns the folder and everything in it; removes it when destroyed (links are removed,
// never followed).
#pragma once

#include <string>

class TempDirectory {
public:
    explicit TempDirectory(const std::string& name);
    ~TempDirectory();

    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    // Empty when the folder could not be made; error() says why.
    const std::string& path() const { return m_path; }
    const std::string& error() const { return m_error; }

private:
    std::string m_path;
    std::string m_error;
};
