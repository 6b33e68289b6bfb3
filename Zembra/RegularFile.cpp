// RegularFile: POSIX open, fstat and read. Depends on nothing but the C library.
#include "Zembra/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool RegularFile::read(const std::string& path, std::string& contents)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer that
    // may never come. On a regular file the flag changes nothing.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);

    std::string bytes;
    if (ok)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[16384];
    // Read to the end rather than trust st_size: a file may change while it is read.
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            bytes.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0)
            break;
        else if (errno != EINTR)
            ok = false;
    }
    ::close(fd);
    if (ok)
        contents.swap(bytes);
    return ok;
}
