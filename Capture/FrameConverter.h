// FrameConverter: turns a frame as OpenGL reads it (RGBA bytes, rows bottom-up,
// width * 4 bytes a row) into an FFmpeg picture of another pixel format, rows
// top-down. Owns its swscale context and the destination frame; sizes in pixels.
#pragma once

#include <cstdint>

#include "Capture/AvHandles.h"

class FrameConverter {
public:
    // Throws CaptureError when swscale cannot convert to format at that size.
    FrameConverter(int width, int height, AVPixelFormat format);

    // Converts rgba into frame(); allocates nothing.
    void convert(const uint8_t* rgba);
    AVFrame* frame() { return m_frame.get(); }

private:
    int m_width;
    int m_height;
    SwsContextPtr m_sws;
    AvFramePtr m_frame;
};
