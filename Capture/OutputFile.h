// OutputFile: a file that appears under its name only once it is complete. Writing
// goes to a temporary name beside it (the name plus ".part"); commit renames it over
// the name, and destruction without commit deletes it, so a failed capture leaves
// nothing that looks finished. Only a free name or a regular file is ever replaced:
// a directory, device, FIFO or socket at either name is refused before anything is
// created. Owns the temporary file's existence, not an open handle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class OutputFile {
public:
    // Creates (or empties) the temporary file. Throws CaptureError, naming the path
    // that failed and the system's reason, or what stands at a name instead of a file.
    explicit OutputFile(const std::string& path);
    ~OutputFile();

    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const std::string& path() const { return m_path; }
    const std::string& tempPath() const { return m_tempPath; }
    // Writes size bytes as the whole content of the temporary file. Throws CaptureError.
    void write(const void* data, size_t size);
    // Moves the temporary file to its name, checking again that only a regular file
    // is replaced; throws CaptureError on failure.
    void commit();
    // Size in bytes of the committed file (0 before commit).
    uint64_t size() const { return m_size; }

private:
    std::string m_path;
    std::string m_tempPath;
    bool m_committed;
    uint64_t m_size;
};
