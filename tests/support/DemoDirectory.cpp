// DemoDirectory: temporary run directory with linked data. Depends on POSIX only.
#include "support/DemoDirectory.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

DemoDirectory::DemoDirectory(const std::string& sourceDir) : m_folder("run")
{
    m_error = m_folder.error();
    if (!m_error.empty())
        return;
    const std::string& dir = m_folder.path();
    if (mkdir((dir + "/data").c_str(), 0755) != 0) {
        m_error = std::string("mkdir data: ") + std::strerror(errno);
        return;
    }
    for (const char* sub : {"music", "shaders"}) {
        const std::string target = sourceDir + "/data/" + sub;
        if (symlink(target.c_str(), (dir + "/data/" + sub).c_str()) != 0) {
            m_error = "symlink " + target + ": " + std::strerror(errno);
            return;
        }
    }
}

void DemoDirectory::writeSettings(const std::string& content) const
{
    std::ofstream(path() + "/data/settings.ini") << content;
}
