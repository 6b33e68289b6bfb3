// OutputFile: temporary name, then rename, which is atomic within one directory.
#include "Capture/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "Capture/CaptureError.h"

OutputFile::OutputFile(const std::string& path)
    : m_path(path), m_tempPath(path + ".part"), m_committed(false), m_size(0)
{
    struct stat info;
    if (stat(m_path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        throw CaptureError("cannot write '" + m_path + "': it is a directory");
    std::FILE* file = std::fopen(m_tempPath.c_str(), "wb");
    if (!file)
        throw CaptureError("cannot write '" + m_path + "': " + std::strerror(errno));
    std::fclose(file);
}

OutputFile::~OutputFile()
{
    if (!m_committed)
        std::remove(m_tempPath.c_str());
}

void OutputFile::commit()
{
    if (std::rename(m_tempPath.c_str(), m_path.c_str()) != 0)
        throw CaptureError("cannot write '" + m_path + "': " + std::strerror(errno));
    m_committed = true;
    struct stat info;
    m_size = stat(m_path.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
}
