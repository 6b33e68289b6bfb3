// WavWriter: writes a StereoBuffer as a 16-bit PCM stereo RIFF/WAVE file (or into
// memory). Samples are clamped to -1..1 and rounded to the nearest step; the
// bytes depend only on the samples, so equal buffers give equal files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class StereoBuffer;

class WavWriter {
public:
    static std::vector<uint8_t> encode(const StereoBuffer& bus, int sampleRate);
    // Returns false (and writes nothing useful) when the file cannot be written.
    static bool write(const std::string& path, const StereoBuffer& bus, int sampleRate);
};
