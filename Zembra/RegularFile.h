// RegularFile: reads a whole data file without ever blocking on it. Only a regular
// file is read; a FIFO, a device, a socket or a directory at the path is refused
// before a single byte is read, so a wrong kind of file cannot hang the run.
#pragma once

#include <string>

class RegularFile {
public:
    // The bytes of the file at path in `contents` (replaced). False, with `contents`
    // left alone, when the path cannot be opened, is not a regular file or fails
    // to read.
    static bool read(const std::string& path, std::string& contents);
};
