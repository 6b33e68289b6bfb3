// OutputFile: temporary name, then rename, which is atomic within one directory.
// rename() replaces whatever the name points at, a device node or FIFO included, so
// what stands there is checked before anything is created and again before the rename.
#include "Capture/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Capture/CaptureError.h"

namespace {

const char* kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISLNK(mode))
        return "a symbolic link";
    return "not a regular file";
}

std::string systemError(const std::string& action, const std::string& path)
{
    return "cannot " + action + " '" + path + "': " + std::strerror(errno);
}

// Throws when the name (links followed: a link to a file may be replaced, one to a
// device may not) holds something other than a regular file. A free name is fine.
void refuseNonFile(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        throw CaptureError("cannot write '" + path + "': it is " + kindOf(info.st_mode) +
                           ", not a regular file");
}

}  // namespace

OutputFile::OutputFile(const std::string& path)
    : m_path(path), m_tempPath(path + ".part"), m_committed(false), m_size(0)
{
    refuseNonFile(m_path);
    // The temporary name is ours: a regular file there is a leftover of a killed run
    // and is emptied; anything else (a link included) is left alone.
    struct stat info;
    if (lstat(m_tempPath.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        throw CaptureError("cannot write '" + m_path + "': its temporary name '" + m_tempPath +
                           "' is " + kindOf(info.st_mode) + ", not a regular file");
    // O_NONBLOCK and the check after opening: something put there since lstat must
    // neither block the open nor be truncated.
    const int fd =
        open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        throw CaptureError(systemError("create", m_tempPath));
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const bool emptied = regular && ftruncate(fd, 0) == 0;
    const std::string failure = emptied ? "" : systemError("create", m_tempPath);
    close(fd);
    if (!regular)
        throw CaptureError("cannot write '" + m_path + "': its temporary name '" + m_tempPath +
                           "' is not a regular file");
    if (!emptied) {
        unlink(m_tempPath.c_str());
        throw CaptureError(failure);
    }
}

OutputFile::~OutputFile()
{
    if (!m_committed)
        unlink(m_tempPath.c_str());
}

void OutputFile::write(const void* data, size_t size)
{
    const int fd = open(m_tempPath.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        throw CaptureError(systemError("write", m_tempPath));
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd, bytes + done, size - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            const std::string failure = systemError("write", m_tempPath);
            close(fd);
            throw CaptureError(failure);
        }
        done += static_cast<size_t>(written);
    }
    // close reports what a network file system deferred.
    if (close(fd) != 0)
        throw CaptureError(systemError("write", m_tempPath));
}

void OutputFile::commit()
{
    // A capture takes minutes: the name may have been taken since the start.
    refuseNonFile(m_path);
    if (std::rename(m_tempPath.c_str(), m_path.c_str()) != 0)
        throw CaptureError("cannot rename '" + m_tempPath + "' to '" + m_path +
                           "': " + std::strerror(errno));
    m_committed = true;
    struct stat info;
    m_size = stat(m_path.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
}
