// StillWriter: each PNG is one encoder packet, written whole to its temporary file.
#include "Capture/StillWriter.h"

#include "Capture/CaptureError.h"

StillWriter::StillWriter(const std::vector<std::string>& paths, int width, int height)
    : m_written(paths.size(), false), m_converter(width, height, AV_PIX_FMT_RGB24),
      m_packet(av_packet_alloc())
{
    for (const std::string& path : paths)
        m_files.push_back(std::make_unique<OutputFile>(path));
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
    if (!codec)
        throw CaptureError("FFmpeg lacks the PNG encoder");
    m_encoder.reset(avcodec_alloc_context3(codec));
    if (!m_encoder || !m_packet)
        throw CaptureError("out of memory for the PNG encoder");
    m_encoder->width = width;
    m_encoder->height = height;
    m_encoder->pix_fmt = AV_PIX_FMT_RGB24;
    m_encoder->time_base = AVRational{1, 1};
    const int result = avcodec_open2(m_encoder.get(), codec, nullptr);
    if (result < 0)
        throw CaptureError("cannot open the PNG encoder: " + avErrorText(result));
}

void StillWriter::write(size_t index, const uint8_t* rgba)
{
    OutputFile& file = *m_files.at(index);
    m_converter.convert(rgba);
    int result = avcodec_send_frame(m_encoder.get(), m_converter.frame());
    if (result >= 0)
        result = avcodec_receive_packet(m_encoder.get(), m_packet.get());
    if (result < 0)
        throw CaptureError("cannot encode '" + file.path() + "': " + avErrorText(result));
    try {
        file.write(m_packet->data, static_cast<size_t>(m_packet->size));
    } catch (...) {
        av_packet_unref(m_packet.get());
        throw;
    }
    av_packet_unref(m_packet.get());
    m_written[index] = true;
}

void StillWriter::commitAll()
{
    for (size_t i = 0; i < m_files.size(); ++i)
        if (!m_written[i])
            throw CaptureError("no frame was written to '" + m_files[i]->path() + "'");
    for (const auto& file : m_files)
        file->commit();
}

uint64_t StillWriter::totalSize() const
{
    uint64_t total = 0;
    for (const auto& file : m_files)
        total += file->size();
    return total;
}
