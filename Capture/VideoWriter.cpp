// VideoWriter: container set-up, per-frame encoding and the end of the file.
#include "Capture/VideoWriter.h"

#include <algorithm>

extern "C" {
#include <libavutil/opt.h>
}

#include "Capture/CaptureError.h"
#include "Capture/FrameClock.h"

namespace {

const int AUDIO_BIT_RATE = 192000;

AvCodecContextPtr newEncoder(const char* name)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (!codec)
        throw CaptureError(std::string("FFmpeg lacks the ") + name + " encoder");
    AvCodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context)
        throw CaptureError(std::string("out of memory for the ") + name + " encoder");
    return context;
}

}  // namespace

VideoWriter::VideoWriter(const std::string& path, int width, int height, int fps, Soundtrack* sound,
                         uint64_t soundStart)
    : m_file(path), m_fps(fps), m_converter(width, height, AV_PIX_FMT_YUV420P), m_sound(nullptr),
      m_audioWritten(0), m_frames(0)
{
    AVFormatContext* format = nullptr;
    // The container follows the final name: the temporary name ends in ".part".
    int result = avformat_alloc_output_context2(&format, nullptr, "mp4", m_file.tempPath().c_str());
    if (result < 0 || !format)
        throw CaptureError("cannot create an MP4 container: " + avErrorText(result));
    m_format.reset(format);

    AvCodecContextPtr video = newEncoder("libx264");
    video->width = width;
    video->height = height;
    video->pix_fmt = AV_PIX_FMT_YUV420P;
    video->time_base = AVRational{1, fps};
    video->framerate = AVRational{fps, 1};
    video->gop_size = 2 * fps;  // a key frame every 2 s: seeking stays quick
    AVDictionary* options = nullptr;
    av_dict_set(&options, "crf", "18", 0);
    av_dict_set(&options, "preset", "veryfast", 0);
    m_video = std::make_unique<EncodedStream>(m_format.get(), std::move(video), &options);
    av_dict_free(&options);

    if (sound)
        openAudio(*sound, soundStart);

    result = avio_open(&m_format->pb, m_file.tempPath().c_str(), AVIO_FLAG_WRITE);
    if (result < 0)
        throw CaptureError("cannot write '" + m_file.tempPath() + "': " + avErrorText(result));
    AVDictionary* muxing = nullptr;
    av_dict_set(&muxing, "movflags", "+faststart", 0);  // index first: playable while downloading
    result = avformat_write_header(m_format.get(), &muxing);
    av_dict_free(&muxing);
    if (result < 0)
        throw CaptureError("cannot write '" + m_file.tempPath() + "': " + avErrorText(result));
}

void VideoWriter::openAudio(Soundtrack& sound, uint64_t start)
{
    m_sound = &sound;
    m_sound->seek(start);
    AvCodecContextPtr audio = newEncoder("aac");
    audio->sample_fmt = AV_SAMPLE_FMT_FLTP;
    audio->sample_rate = sound.sampleRate();
    av_channel_layout_default(&audio->ch_layout, sound.channels());
    audio->bit_rate = AUDIO_BIT_RATE;
    audio->time_base = AVRational{1, sound.sampleRate()};
    m_audio = std::make_unique<EncodedStream>(m_format.get(), std::move(audio), nullptr);

    m_audioFrame.reset(av_frame_alloc());
    if (!m_audioFrame)
        throw CaptureError("out of memory for the sound");
    AVCodecContext* encoder = m_audio->encoder();
    m_audioFrame->format = encoder->sample_fmt;
    m_audioFrame->sample_rate = encoder->sample_rate;
    m_audioFrame->nb_samples = encoder->frame_size;
    av_channel_layout_copy(&m_audioFrame->ch_layout, &encoder->ch_layout);
    if (av_frame_get_buffer(m_audioFrame.get(), 0) < 0)
        throw CaptureError("out of memory for the sound");
    m_soundChunk.resize(static_cast<size_t>(encoder->frame_size) *
                        static_cast<size_t>(sound.channels()));
}

void VideoWriter::writeSoundUntil(uint64_t end, bool last)
{
    AVFrame* frame = m_audioFrame.get();
    const uint64_t size = static_cast<uint64_t>(m_audio->encoder()->frame_size);
    while (m_audioWritten + size <= end || (last && m_audioWritten < end)) {
        const uint64_t count = std::min(size, end - m_audioWritten);
        av_frame_make_writable(frame);
        frame->nb_samples = static_cast<int>(count);
        frame->pts = static_cast<int64_t>(m_audioWritten);
        // The decoder's next piece, interleaved to planar.
        m_sound->read(m_soundChunk.data(), static_cast<size_t>(count));
        const int channels = m_sound->channels();
        for (int c = 0; c < channels; ++c) {
            float* plane = reinterpret_cast<float*>(frame->data[c]);
            for (uint64_t i = 0; i < count; ++i)
                plane[i] =
                    m_soundChunk[i * static_cast<uint64_t>(channels) + static_cast<uint64_t>(c)];
        }
        m_audio->send(frame);
        m_audioWritten += count;
    }
}

void VideoWriter::writeFrame(const uint8_t* rgba)
{
    m_converter.convert(rgba);
    AVFrame* frame = m_converter.frame();
    frame->pts = static_cast<int64_t>(m_frames);
    m_video->send(frame);
    ++m_frames;
    if (m_audio)
        writeSoundUntil(FrameClock::samplesAt(m_frames, m_fps, m_sound->sampleRate()), false);
}

void VideoWriter::finish()
{
    m_video->send(nullptr);
    if (m_audio) {
        writeSoundUntil(FrameClock::samplesAt(m_frames, m_fps, m_sound->sampleRate()), true);
        m_audio->send(nullptr);
    }
    int result = av_write_trailer(m_format.get());
    if (result < 0)
        throw CaptureError("cannot write '" + m_file.tempPath() + "': " + avErrorText(result));
    result = avio_closep(&m_format->pb);
    if (result < 0)
        throw CaptureError("cannot write '" + m_file.tempPath() + "': " + avErrorText(result));
    m_file.commit();
}
