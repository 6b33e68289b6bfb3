// StillWriter: PNG files of single frames through libavcodec's PNG encoder (RGB,
// 8 bits a channel). Owns the encoder and one OutputFile per still, created up
// front, so an unwritable path fails before any rendering; commitAll gives them
// their names together once every still has been written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Capture/AvHandles.h"
#include "Capture/FrameConverter.h"
#include "Capture/OutputFile.h"

class StillWriter {
public:
    // paths: one per still, in the order write will be called. Throws CaptureError.
    StillWriter(const std::vector<std::string>& paths, int width, int height);

    // Encodes rgba (OpenGL's RGBA, rows bottom-up) into still `index`.
    void write(size_t index, const uint8_t* rgba);
    // Names every still; throws CaptureError if one was never written.
    void commitAll();

    uint64_t totalSize() const;

private:
    std::vector<std::unique_ptr<OutputFile>> m_files;
    std::vector<bool> m_written;
    FrameConverter m_converter;
    AvCodecContextPtr m_encoder;
    AvPacketPtr m_packet;
};
