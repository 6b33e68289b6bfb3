// Paths of the generated MP3 fixtures (tests/fixtures/make-music-fixtures.sh lists
// them), and WAV files that tests make up themselves.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

inline std::string musicFixture(const char* name)
{
    return std::string(DEDOZ_BINARY_DIR) + "/fixtures/music/" + name;
}

inline void putLittleEndian(std::vector<char>& bytes, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>(value >> (8 * i)));
}

// A RIFF WAVE header: format tag, channels, rate, then a data chunk of dataBytes.
inline std::vector<char> waveHeader(unsigned tag, int channels, uint32_t rate, uint32_t dataBytes)
{
    std::vector<char> bytes{'R', 'I', 'F', 'F'};
    putLittleEndian(bytes, 36 + dataBytes, 4);
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLittleEndian(bytes, 16, 4);
    putLittleEndian(bytes, tag, 2);
    putLittleEndian(bytes, static_cast<uint32_t>(channels), 2);
    putLittleEndian(bytes, rate, 4);
    putLittleEndian(bytes, rate * 2 * static_cast<uint32_t>(channels), 4);
    putLittleEndian(bytes, 2 * static_cast<uint32_t>(channels), 2);
    putLittleEndian(bytes, 16, 2);
    bytes.insert(bytes.end(), {'d', 'a', 't', 'a'});
    putLittleEndian(bytes, dataBytes, 4);
    return bytes;
}

// One second of 16-bit stereo noise at +-amplitude: the decoder used to find frame
// headers among such samples and call the file cut short (amplitude 3277, seed 3)
// or changing its format (amplitude 1000, seed 1).
inline std::vector<char> noiseWave(int amplitude, unsigned seed)
{
    std::vector<char> bytes = waveHeader(1, 2, 44100, 44100 * 4);
    std::mt19937 random(seed);
    for (int i = 0; i < 2 * 44100; ++i)
        putLittleEndian(
            bytes,
            static_cast<uint16_t>(static_cast<int>(random() % (2 * amplitude + 1)) - amplitude), 2);
    return bytes;
}
