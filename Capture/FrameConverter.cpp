// FrameConverter: one swscale pass; the vertical flip comes free from a source
// pointer on the last row and a negative stride.
#include "Capture/FrameConverter.h"

#include "Capture/CaptureError.h"

FrameConverter::FrameConverter(int width, int height, AVPixelFormat format)
    : m_width(width), m_height(height),
      // Bit-exact and accurately rounded, so that one input gives one output on
      // every machine (the repeatability of a capture depends on it).
      m_sws(sws_getContext(width, height, AV_PIX_FMT_RGBA, width, height, format,
                           SWS_POINT | SWS_BITEXACT | SWS_ACCURATE_RND, nullptr, nullptr, nullptr)),
      m_frame(av_frame_alloc())
{
    if (!m_sws || !m_frame)
        throw CaptureError("cannot convert " + std::to_string(width) + "x" +
                           std::to_string(height) + " frames to " + av_get_pix_fmt_name(format));
    m_frame->format = format;
    m_frame->width = width;
    m_frame->height = height;
    if (av_frame_get_buffer(m_frame.get(), 0) < 0)
        throw CaptureError("out of memory for a " + std::to_string(width) + "x" +
                           std::to_string(height) + " frame");
}

void FrameConverter::convert(const uint8_t* rgba)
{
    const int stride = m_width * 4;
    const uint8_t* const source[1] = {rgba + static_cast<ptrdiff_t>(m_height - 1) * stride};
    const int strides[1] = {-stride};
    // The encoder may still hold a reference to the previous picture.
    av_frame_make_writable(m_frame.get());
    sws_scale(m_sws.get(), source, strides, 0, m_height, m_frame->data, m_frame->linesize);
}
