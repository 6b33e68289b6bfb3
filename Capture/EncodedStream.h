// EncodedStream: one stream of an output container with its encoder. Owns the
// encoder context and a packet; the stream itself belongs to the container. Every
// packet the encoder gives is written to the container at once, interleaved.
#pragma once

#include "Capture/AvHandles.h"

class EncodedStream {
public:
    // Opens the configured encoder, adds a stream for it to format (whose header is
    // not written yet) and copies the encoder's parameters. Throws CaptureError.
    EncodedStream(AVFormatContext* format, AvCodecContextPtr encoder, AVDictionary** options);

    EncodedStream(const EncodedStream&) = delete;
    EncodedStream& operator=(const EncodedStream&) = delete;

    AVCodecContext* encoder() { return m_encoder.get(); }
    // Encodes frame (pts in the encoder's time base) and writes what comes out;
    // null drains the encoder at the end. Throws CaptureError.
    void send(const AVFrame* frame);

private:
    AVFormatContext* m_format;
    AvCodecContextPtr m_encoder;
    AVStream* m_stream;  // owned by m_format
    AvPacketPtr m_packet;
};
