// Soundtrack: the show's music for the video's sound track, decoded piece by piece
// as the encoder asks for it, so the capture's memory does not grow with the track's
// length. Owns the open file and its decoder; samples are interleaved floats, full
// scale -1 to 1, and silence past the track's end. The scenes' spectrum comes from
// the player (Music on the capture's clock), not from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class MpegReader;
class SoundFile;

class Soundtrack {
public:
    Soundtrack();
    ~Soundtrack();

    Soundtrack(const Soundtrack&) = delete;
    Soundtrack& operator=(const Soundtrack&) = delete;

    // Opens the file and checks every frame header (a file cut short fails here).
    // On failure returns false, keeps nothing and sets reason.
    bool load(const std::string& path, std::string& reason);
    bool loaded() const { return m_channels > 0; }
    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }  // Hz

    // The next read starts at audio frame `frame` (samples per channel from the
    // start; past the end only silence follows). Throws CaptureError.
    void seek(uint64_t frame);
    // Fills out with `frames` audio frames (frames x channels floats): the track, then
    // silence. Throws CaptureError when the file can no longer be decoded.
    void read(float* out, size_t frames);

private:
    std::string m_path;
    std::unique_ptr<SoundFile> m_file;  // read by m_reader, so declared first
    std::unique_ptr<MpegReader> m_reader;
    int m_channels = 0;
    int m_sampleRate = 0;
    bool m_ended = false;  // the decoder has given the track's last sample
};
