// WavWriter: RIFF/WAVE 16-bit PCM encoding; depends on StereoBuffer and <cstdio>.
#include "tools/composer/WavWriter.h"

#include <cmath>
#include <cstdio>

#include "tools/composer/StereoBuffer.h"

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

int16_t toPcm(float v)
{
    double c = std::fmax(-1.0, std::fmin(1.0, static_cast<double>(v)));
    return static_cast<int16_t>(std::lround(c * 32767.0));
}

}  // namespace

std::vector<uint8_t> WavWriter::encode(const StereoBuffer& bus, int sampleRate)
{
    const uint32_t frames = static_cast<uint32_t>(bus.frames());
    const uint32_t dataBytes = frames * 4;
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    const char* riff = "RIFF";
    out.insert(out.end(), riff, riff + 4);
    put32(out, 36 + dataBytes);
    const char* wavefmt = "WAVEfmt ";
    out.insert(out.end(), wavefmt, wavefmt + 8);
    put32(out, 16);  // fmt chunk size
    put16(out, 1);   // PCM
    put16(out, 2);   // channels
    put32(out, sampleRate);
    put32(out, sampleRate * 4);  // bytes per second
    put16(out, 4);               // bytes per frame
    put16(out, 16);              // bits per sample
    const char* data = "data";
    out.insert(out.end(), data, data + 4);
    put32(out, dataBytes);
    for (uint32_t i = 0; i < frames; ++i) {
        put16(out, static_cast<uint16_t>(toPcm(bus.left()[i])));
        put16(out, static_cast<uint16_t>(toPcm(bus.right()[i])));
    }
    return out;
}

bool WavWriter::write(const std::string& path, const StereoBuffer& bus, int sampleRate)
{
    std::vector<uint8_t> bytes = encode(bus, sampleRate);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    size_t written = std::fwrite(bytes.data(), 1, bytes.size(), f);
    bool closed = std::fclose(f) == 0;
    return written == bytes.size() && closed;
}
