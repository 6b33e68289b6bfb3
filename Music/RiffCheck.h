// RiffCheck: tells a RIFF file that holds no MPEG audio (a PCM WAV, any other RIFF
// form) from one an MP3 decoder may read. Decoders read through a WAV file whose
// format tag is MPEG (0x50, 0x55); in any other RIFF file they could take sample
// bytes for frame headers and play noise instead of refusing the file.
// Shared by the desktop's reader and the page's, over their own byte access.
#pragma once

#include <cstdint>
#include <cstring>

// read(buffer, size, offset): the bytes read at offset, fewer at the end, < 0 on error.
template <class Read>
bool riffWithoutMpeg(Read read)
{
    const auto littleEndian32 = [](const unsigned char* p) {
        return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
               static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    };
    unsigned char head[12];
    if (read(head, sizeof head, 0) != static_cast<long long>(sizeof head) ||
        std::memcmp(head, "RIFF", 4) != 0)
        return false;
    if (std::memcmp(head + 8, "WAVE", 4) != 0)
        return true;
    // Walk the chunks up to "fmt " (chunks are padded to even sizes).
    int64_t at = 12;
    unsigned char chunk[10];
    while (read(chunk, sizeof chunk, at) == static_cast<long long>(sizeof chunk)) {
        const uint32_t size = littleEndian32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            const unsigned tag = chunk[8] | chunk[9] << 8;
            return tag != 0x50 && tag != 0x55;
        }
        at += 8 + static_cast<int64_t>(size) + (size & 1);
    }
    return true;  // a WAVE without a format chunk: nothing to decode
}
