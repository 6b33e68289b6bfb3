// VideoWriter: the capture's MP4 file. H.264 video (libx264, yuv420p, CRF 18) at a
// fixed frame rate and, when a soundtrack is given, its sound as AAC (FFmpeg's
// encoder) starting with the first frame. Owns the container, both encoders and
// the output file, which gets its name only when finish() succeeds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Capture/AvHandles.h"
#include "Capture/EncodedStream.h"
#include "Capture/FrameConverter.h"
#include "Capture/OutputFile.h"

class VideoWriter {
public:
    // Decoded sound: frames x channels interleaved floats, full scale -1 to 1. The
    // video's first frame starts at audio frame `start`; past the end the sound is
    // silence. Not owned: must outlive the writer.
    struct Sound {
        const float* data = nullptr;
        uint64_t frames = 0;
        int channels = 0;
        int sampleRate = 0;
        uint64_t start = 0;
    };

    // width and height even (yuv420p). sound: null for a video without sound.
    // Throws CaptureError (unwritable path, missing encoder, ...).
    VideoWriter(const std::string& path, int width, int height, int fps, const Sound* sound);

    // Encodes the next frame (OpenGL's RGBA, rows bottom-up) and the sound up to
    // its end. Throws CaptureError.
    void writeFrame(const uint8_t* rgba);
    // Drains the encoders, writes the index and gives the file its name.
    void finish();

    uint64_t frames() const { return m_frames; }
    uint64_t fileSize() const { return m_file.size(); }

private:
    void openAudio(const Sound& sound);
    // Encodes the sound up to audio frame `end` of the video (whole encoder frames
    // only, unless `last`, which also sends the remainder).
    void writeSoundUntil(uint64_t end, bool last);

    OutputFile m_file;
    int m_fps;
    AvOutputFormatPtr m_format;
    std::unique_ptr<EncodedStream> m_video;
    std::unique_ptr<EncodedStream> m_audio;
    FrameConverter m_converter;
    Sound m_sound;
    AvFramePtr m_audioFrame;
    uint64_t m_audioWritten;  // audio frames sent to the encoder
    uint64_t m_frames;        // video frames sent
};
