// MpegReader: reading MP3 files. SoundFile owns an open file's descriptor; MpegReader
// is one libmpg123 decoder over it, giving interleaved 32-bit floats (full scale -1
// to 1) at the file's own rate, without the encoder delay and padding when the file
// carries a gapless tag; Sound is a file checked for playing; decodeFile reads a
// whole file. Frames are sample frames (one float per channel). Failures throw
// SoundError (std::bad_alloc where memory runs out).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct mpg123_handle_struct;
struct MpegReaderIo;

class SoundFile {
public:
    // Opens path without blocking (a FIFO or device is refused, not waited on):
    // FILE_NOT_FOUND, FILE_IS_DIRECTORY, FILE_EMPTY, or FILE_BAD for a RIFF file that
    // holds no MPEG audio (the decoder could take its samples for frame headers).
    explicit SoundFile(const char* path);
    ~SoundFile();
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    // Reads up to size bytes at offset (positional: decoders may share the file, from
    // any thread): the count read, 0 at the end, -1 on error.
    long long readAt(void* buffer, size_t size, int64_t offset) const;
    int64_t size() const { return m_size; }  // bytes, as the file was when opened

private:
    int m_descriptor;
    int64_t m_size;
};

class MpegReader {
public:
    // Starts decoding file (which must outlive the reader) at its first frame and
    // reads the format: FILE_BAD (no MPEG audio) or DECODER_FAILURE.
    explicit MpegReader(const SoundFile& file);
    ~MpegReader();
    MpegReader(const MpegReader&) = delete;
    MpegReader& operator=(const MpegReader&) = delete;

    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }  // Hz
    // Length announced by the file's header, and whether it is exact (gapless tag)
    // rather than estimated from the file size.
    int64_t announcedFrames() const;
    bool exactLength() const;
    // Parses every frame header (no decoding), then decodes the first frames (the
    // next read goes on after them). Returns the exact length in frames; FILE_TRUNCATED
    // when the file holds fewer frames than its tag announces, FILE_BAD.
    int64_t check();
    // Decodes up to maxFrames frames into out and returns how many; ended tells
    // whether the track is over. FILE_BAD (an error before any sample),
    // FILE_TRUNCATED (an error after some), FORMAT_CHANGED.
    int read(float* out, int maxFrames, bool& ended);
    // The next read starts at frame; false when it cannot. The samples that follow may
    // differ from a straight decode's in their last bit (the filters start again).
    bool seek(int64_t frame);

private:
    struct HandleDelete {
        void operator()(mpg123_handle_struct* handle) const;
    };

    // Declared before the handle, which reads through it until it is deleted.
    std::unique_ptr<MpegReaderIo> m_io;
    std::unique_ptr<mpg123_handle_struct, HandleDelete> m_handle;
    int m_channels;
    int m_sampleRate;
    int64_t m_decoded;  // frames read since the start (tells a bad file from a cut one)
};

// An MP3 file opened and checked for playing: its format, exact length and first
// frames are known good. Shared with the streams that play it.
struct Sound {
    explicit Sound(const char* path);  // throws like SoundFile and MpegReader::check

    std::shared_ptr<const SoundFile> file;
    int64_t frames;    // exact length
    int sampleRate;    // Hz
    std::string name;  // the file name without its directories
};

// The whole file at path, for tools that want every sample at once.
struct DecodedSound {
    std::vector<float> samples;  // interleaved, frames x channels
    int channels = 0;
    int sampleRate = 0;  // Hz
};
DecodedSound decodeFile(const char* path);
