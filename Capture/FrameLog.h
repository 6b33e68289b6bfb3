// FrameLog: one text line per captured frame, "INDEX TIME_MS BAND2 HASH", for
// checking that two captures agree and when the music reaches the pictures.
// HASH is the 64-bit FNV-1a of the frame's RGB bytes, rows top-down (as a PNG of
// the frame holds them), in 16 hex digits; BAND2 is band 2 of the spectrum the
// scenes read at the frame's time. Owns the open file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class FrameLog {
public:
    // Throws CaptureError when path cannot be written.
    explicit FrameLog(const std::string& path);
    ~FrameLog();

    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    void write(uint64_t index, uint64_t timeMs, float band2, uint64_t hash);

    // rgba: OpenGL's RGBA bytes, rows bottom-up.
    static uint64_t hashFrame(const uint8_t* rgba, int width, int height);

private:
    std::FILE* m_file;
    std::string m_path;
};
