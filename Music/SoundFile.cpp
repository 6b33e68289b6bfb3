// SoundFile: non-blocking open with a regular-file check, RIFF sniffing, pread.
#include "Music/SoundFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "Music/SoundResult.h"

namespace {

uint32_t littleEndian32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// MPEG audio may travel inside a WAV file (format tags 0x50 and 0x55), which the
// decoder reads through; any other RIFF file is PCM or something else again, in
// which the decoder could mistake sample bytes for frame headers and report a
// damaged MP3 instead of a file that is not one.
bool riffWithoutMpeg(const SoundFile& file)
{
    unsigned char head[12];
    if (file.readAt(head, sizeof head, 0) != static_cast<long long>(sizeof head) ||
        std::memcmp(head, "RIFF", 4) != 0)
        return false;
    if (std::memcmp(head + 8, "WAVE", 4) != 0)
        return true;
    // Walk the chunks up to "fmt " (chunks are padded to even sizes).
    int64_t at = 12;
    unsigned char chunk[10];
    while (file.readAt(chunk, sizeof chunk, at) == static_cast<long long>(sizeof chunk)) {
        const uint32_t size = littleEndian32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            const unsigned tag = chunk[8] | chunk[9] << 8;
            return tag != 0x50 && tag != 0x55;
        }
        at += 8 + static_cast<int64_t>(size) + (size & 1);
    }
    return true;  // a WAVE without a format chunk: nothing to decode
}

}  // namespace

SoundFile::SoundFile(int descriptor, int64_t size) : m_descriptor(descriptor), m_size(size)
{
}

SoundFile::~SoundFile()
{
    ::close(m_descriptor);
}

int SoundFile::open(const char* path, std::unique_ptr<SoundFile>* file)
{
    if (!path || !file)
        return SoundResult::InvalidParam;
    file->reset();
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer
    // forever. What the descriptor names is checked before anything reads it.
    const int descriptor = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return SoundResult::FileNotFound;
    struct stat info;
    int result = SoundResult::Ok;
    if (::fstat(descriptor, &info) != 0)
        result = SoundResult::FileNotFound;
    else if (S_ISDIR(info.st_mode))
        result = SoundResult::FileIsDirectory;
    else if (!S_ISREG(info.st_mode))
        result =
            SoundResult::FileNotFound;  // FIFO, socket, device: nothing a sound can be read from
    else if (info.st_size == 0)
        result = SoundResult::FileEmpty;
    if (result != SoundResult::Ok) {
        ::close(descriptor);
        return result;
    }

    std::unique_ptr<SoundFile> opened(new (std::nothrow) SoundFile(descriptor, info.st_size));
    if (!opened) {
        ::close(descriptor);
        return SoundResult::OutOfMemory;
    }
    if (riffWithoutMpeg(*opened))
        return SoundResult::FileBad;
    *file = std::move(opened);
    return SoundResult::Ok;
}

long long SoundFile::readAt(void* buffer, size_t size, int64_t offset) const
{
    for (;;) {
        const ssize_t n = ::pread(m_descriptor, buffer, size, static_cast<off_t>(offset));
        if (n >= 0 || errno != EINTR)
            return n;
    }
}
