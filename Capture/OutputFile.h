// OutputFile: a file that appears under its name only once it is complete. Writing
// goes to a temporary name beside it (the name plus ".part"); commit renames it,
// and destruction without commit deletes it, so a failed capture leaves nothing
// that looks finished. Owns the temporary file's existence, not an open handle.
#pragma once

#include <cstdint>
#include <string>

class OutputFile {
public:
    // Creates (or empties) the temporary file. Throws CaptureError with the
    // system's reason when it cannot be written.
    explicit OutputFile(const std::string& path);
    ~OutputFile();

    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const std::string& path() const { return m_path; }
    const std::string& tempPath() const { return m_tempPath; }
    // Moves the temporary file to its name; throws CaptureError on failure.
    void commit();
    // Size in bytes of the committed file (0 before commit).
    uint64_t size() const { return m_size; }

private:
    std::string m_path;
    std::string m_tempPath;
    bool m_committed;
    uint64_t m_size;
};
