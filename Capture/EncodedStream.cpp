// EncodedStream: the send/receive loop of libavcodec, shared by video and sound.
#include "Capture/EncodedStream.h"

#include "Capture/CaptureError.h"

EncodedStream::EncodedStream(AVFormatContext* format, AvCodecContextPtr encoder,
                             AVDictionary** options)
    : m_format(format), m_encoder(std::move(encoder)), m_stream(nullptr),
      m_packet(av_packet_alloc())
{
    const std::string name = m_encoder->codec ? m_encoder->codec->name : "?";
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER)
        m_encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int result = avcodec_open2(m_encoder.get(), m_encoder->codec, options);
    if (result < 0)
        throw CaptureError("cannot open the " + name + " encoder: " + avErrorText(result));
    m_stream = avformat_new_stream(m_format, nullptr);
    if (!m_stream || !m_packet)
        throw CaptureError("out of memory for the " + name + " stream");
    m_stream->time_base = m_encoder->time_base;
    result = avcodec_parameters_from_context(m_stream->codecpar, m_encoder.get());
    if (result < 0)
        throw CaptureError("cannot set up the " + name + " stream: " + avErrorText(result));
}

void EncodedStream::send(const AVFrame* frame)
{
    int result = avcodec_send_frame(m_encoder.get(), frame);
    if (result < 0)
        throw CaptureError(std::string("the ") + m_encoder->codec->name +
                           " encoder failed: " + avErrorText(result));
    for (;;) {
        result = avcodec_receive_packet(m_encoder.get(), m_packet.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return;
        if (result < 0)
            throw CaptureError(std::string("the ") + m_encoder->codec->name +
                               " encoder failed: " + avErrorText(result));
        // libx264 leaves the duration unset; without it the container counts the
        // last frame as lasting nothing and the video comes out a frame short.
        if (m_packet->duration == 0 && m_encoder->codec_type == AVMEDIA_TYPE_VIDEO)
            m_packet->duration =
                av_rescale_q(1, av_inv_q(m_encoder->framerate), m_encoder->time_base);
        av_packet_rescale_ts(m_packet.get(), m_encoder->time_base, m_stream->time_base);
        m_packet->stream_index = m_stream->index;
        // Takes the packet's reference and leaves it blank for the next one.
        result = av_interleaved_write_frame(m_format, m_packet.get());
        if (result < 0)
            throw CaptureError("cannot write '" + std::string(m_format->url) +
                               "': " + avErrorText(result));
    }
}
