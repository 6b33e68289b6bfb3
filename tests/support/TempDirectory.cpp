// TempDirectory: mkdtemp on the way in, remove_all on the way out. Depends on POSIX and
// std::filesystem only.
#include "support/TempDirectory.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

TempDirectory::TempDirectory(const std::string& name)
{
    const std::string pattern = "/tmp/dedoz-" + name + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr)
        m_error = "mkdtemp " + pattern + ": " + std::strerror(errno);
    else
        m_path = buffer.data();
}

TempDirectory::~TempDirectory()
{
    if (m_path.empty())
        return;
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
    if (error)
        std::fprintf(stderr, "TempDirectory: could not remove %s: %s\n", m_path.c_str(),
                     error.message().c_str());
}
