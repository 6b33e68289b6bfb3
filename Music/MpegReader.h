// MpegReader: one libmpg123 decoder over an open SoundFile, giving interleaved 32-bit
// floats (full scale -1 to 1) at the file's own rate, with the encoder delay and
// padding removed when the file carries a gapless tag. Frames are sample frames (one
// float per channel). Owns the decoder and its read buffer; one thread at a time.
#pragma once

#include <cstdint>
#include <memory>

struct mpg123_handle_struct;
struct MpegReaderIo;
class SoundFile;

class MpegReader {
public:
    MpegReader();  // allocates the read buffer (throws std::bad_alloc)
    ~MpegReader();
    MpegReader(const MpegReader&) = delete;
    MpegReader& operator=(const MpegReader&) = delete;

    // Starts decoding file (which must outlive the reader) from its first frame and
    // reads the format. Ok, FileBad (no MPEG audio) or DecoderFailure.
    int open(const SoundFile& file);
    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }  // Hz
    // Length announced by the file's header, and whether it is exact (gapless tag)
    // rather than estimated from the file size.
    int64_t announcedFrames() const;
    bool exactLength() const;

    // Parses every frame header of the file (no decoding) and decodes its first
    // frames (the next read() goes on after them): *frames gets the exact length. Ok, or FileTruncated when the file holds
    // fewer frames than its tag announces, or what read() reports on the first frames.
    int check(int64_t* frames);
    // Decodes up to maxFrames frames into out; *frames gets how many, *ended whether
    // the track is over. Ok, or FileBad (an error before any sample since open),
    // FileTruncated (an error after some), FormatChanged.
    int read(float* out, int maxFrames, int* frames, bool* ended);
    // The next read starts at frame (exact, counted like read's output).
    int seek(int64_t frame);

private:
    struct HandleDelete {
        void operator()(mpg123_handle_struct* handle) const;
    };

    // Declared before the handle, which reads through it until it is deleted.
    std::unique_ptr<MpegReaderIo> m_io;
    std::unique_ptr<mpg123_handle_struct, HandleDelete> m_handle;
    int m_channels;
    int m_sampleRate;
    int64_t m_decoded;  // frames read since open (tells a bad file from a cut one)
};
