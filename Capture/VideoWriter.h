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
#include "Capture/Soundtrack.h"

class VideoWriter {
public:
    // width and height even (yuv420p). sound: null for a video without sound, else
    // read from audio frame soundStart on (not owned: must outlive the writer).
    // Throws CaptureError (unwritable path, missing encoder, ...).
    VideoWriter(const std::string& path, int width, int height, int fps, Soundtrack* sound,
                uint64_t soundStart);

    // Encodes the next frame (OpenGL's RGBA, rows bottom-up) and the sound up to
    // its end. Throws CaptureError.
    void writeFrame(const uint8_t* rgba);
    // Drains the encoders, writes the index and gives the file its name.
    void finish();

    uint64_t frames() const { return m_frames; }
    uint64_t fileSize() const { return m_file.size(); }

private:
    void openAudio(Soundtrack& sound, uint64_t start);
    // Encodes the sound up to audio frame `end` of the video (whole encoder frames
    // only, unless `last`, which also sends the remainder).
    void writeSoundUntil(uint64_t end, bool last);

    OutputFile m_file;
    int m_fps;
    AvOutputFormatPtr m_format;
    std::unique_ptr<EncodedStream> m_video;
    std::unique_ptr<EncodedStream> m_audio;
    FrameConverter m_converter;
    Soundtrack* m_sound;
    std::vector<float> m_soundChunk;  // one encoder frame, interleaved
    AvFramePtr m_audioFrame;
    uint64_t m_audioWritten;  // audio frames sent to the encoder
    uint64_t m_frames;        // video frames sent
};
