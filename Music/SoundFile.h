// SoundFile: a sound file opened for reading, owner of its descriptor. Opening never
// blocks (a FIFO or device at the path is refused, not waited on) and refuses what
// cannot hold MPEG audio before any decoder sees it. Reads are positional (pread), so
// several decoders may share one open file; every call is thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class SoundFile {
public:
    // Opens path into *file. Returns SoundResult::Ok, or FileNotFound (missing,
    // unreadable, or not a regular file), FileIsDirectory, FileEmpty, FileBad (a WAV
    // or other RIFF file that holds no MPEG audio), OutOfMemory, InvalidParam (null).
    static int open(const char* path, std::unique_ptr<SoundFile>* file);

    ~SoundFile();
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    // Reads up to size bytes at offset; returns the count read (0 at the end), -1 on error.
    long long readAt(void* buffer, size_t size, int64_t offset) const;
    int64_t size() const { return m_size; }  // bytes, as the file was when opened

private:
    SoundFile(int descriptor, int64_t size);

    int m_descriptor;
    int64_t m_size;
};
