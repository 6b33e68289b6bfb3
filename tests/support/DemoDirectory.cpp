// DemoDirectory: temporary run directory with linked data. Depends on POSIX only.
#include "support/DemoDirectory.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

DemoDirectory::DemoDirectory(const std::string& sourceDir)
{
    char pattern[] = "/tmp/dedoz-run-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        m_error = std::string("mkdtemp: ") + std::strerror(errno);
        return;
    }
    m_path = pattern;
    if (mkdir((m_path + "/data").c_str(), 0755) != 0) {
        m_error = std::string("mkdir data: ") + std::strerror(errno);
        return;
    }
    for (const char* sub : {"music", "shaders"}) {
        const std::string target = sourceDir + "/data/" + sub;
        if (symlink(target.c_str(), (m_path + "/data/" + sub).c_str()) != 0) {
            m_error = "symlink " + target + ": " + std::strerror(errno);
            return;
        }
    }
}

DemoDirectory::~DemoDirectory()
{
    // The links are removed, not followed: rm -rf does not descend into them.
    if (!m_path.empty()) {
        const std::string command = "rm -rf '" + m_path + "'";
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "DemoDirectory: could not remove %s\n", m_path.c_str());
    }
}

void DemoDirectory::writeSettings(const std::string& content) const
{
    std::ofstream(m_path + "/data/settings.ini") << content;
}
