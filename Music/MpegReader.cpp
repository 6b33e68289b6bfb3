// MpegReader: libmpg123 set up for float output over our own buffered reader.
#include "Music/MpegReader.h"

#include <mpg123.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "Music/SoundFile.h"
#include "Music/SoundResult.h"

namespace {

const size_t kReadBufferBytes = 64 * 1024;
// Decoded at open by check(): eight MPEG frames of 1152 samples.
const int kCheckedFrames = 8 * 1152;

// mpg123_init is a no-op from API 46 on but must run once on older libraries.
void initialiseLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

}  // namespace

// What mpg123's reader callbacks work on: buffered positional reads instead of one
// system call per frame header and body.
struct MpegReaderIo {
    const SoundFile* file = nullptr;
    int64_t position = 0;     // byte offset the decoder reads next
    int64_t bufferStart = 0;  // byte offset of buffer[0]
    size_t buffered = 0;      // valid bytes in buffer
    std::vector<unsigned char> buffer;
};

namespace {

mpg123_ssize_t readCallback(void* handle, void* out, size_t size)
{
    MpegReaderIo& io = *static_cast<MpegReaderIo*>(handle);
    unsigned char* to = static_cast<unsigned char*>(out);
    size_t done = 0;
    while (done < size) {
        if (io.position >= io.bufferStart &&
            io.position < io.bufferStart + static_cast<int64_t>(io.buffered)) {
            const size_t at = static_cast<size_t>(io.position - io.bufferStart);
            const size_t n = std::min(size - done, io.buffered - at);
            std::memcpy(to + done, io.buffer.data() + at, n);
            done += n;
            io.position += static_cast<int64_t>(n);
            continue;
        }
        const long long n = io.file->readAt(io.buffer.data(), io.buffer.size(), io.position);
        if (n < 0)
            return done > 0 ? static_cast<mpg123_ssize_t>(done) : -1;
        io.bufferStart = io.position;
        io.buffered = static_cast<size_t>(n);
        if (n == 0)
            break;  // end of file
    }
    return static_cast<mpg123_ssize_t>(done);
}

off_t seekCallback(void* handle, off_t offset, int whence)
{
    MpegReaderIo& io = *static_cast<MpegReaderIo*>(handle);
    int64_t base = 0;
    if (whence == SEEK_CUR)
        base = io.position;
    else if (whence == SEEK_END)
        base = io.file->size();
    else if (whence != SEEK_SET)
        return -1;
    if (base + offset < 0)
        return -1;
    io.position = base + offset;
    return static_cast<off_t>(io.position);
}

}  // namespace

void MpegReader::HandleDelete::operator()(mpg123_handle_struct* handle) const
{
    mpg123_close(handle);
    mpg123_delete(handle);
}

MpegReader::MpegReader() : m_io(new MpegReaderIo), m_channels(0), m_sampleRate(0), m_decoded(0)
{
    m_io->buffer.resize(kReadBufferBytes);
}

MpegReader::~MpegReader() = default;

int MpegReader::open(const SoundFile& file)
{
    initialiseLibrary();
    m_handle.reset();
    m_channels = 0;
    m_sampleRate = 0;
    m_decoded = 0;
    m_io->file = &file;
    m_io->position = 0;
    m_io->buffered = 0;

    int err = MPG123_OK;
    m_handle.reset(mpg123_new(nullptr, &err));
    if (!m_handle)
        return SoundResult::DecoderFailure;
    mpg123_handle* mh = m_handle.get();
    // Quiet: the library must not print on the demo's standard error.
    // Gapless: the encoder delay and padding announced by the tag are dropped.
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    // Accept every rate in mono and stereo, as 32-bit float only.
    mpg123_format_none(mh);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);

    if (mpg123_replace_reader_handle(mh, &readCallback, &seekCallback, nullptr) != MPG123_OK ||
        mpg123_open_handle(mh, m_io.get()) != MPG123_OK)
        return SoundResult::DecoderFailure;

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    // getformat parses up to the first frame; nothing decodable means no MP3.
    if (mpg123_getformat(mh, &rate, &channels, &encoding) != MPG123_OK ||
        encoding != MPG123_ENC_FLOAT_32 || channels < 1 || rate <= 0)
        return SoundResult::FileBad;
    m_channels = channels;
    m_sampleRate = static_cast<int>(rate);
    return SoundResult::Ok;
}

int64_t MpegReader::announcedFrames() const
{
    return m_handle ? static_cast<int64_t>(mpg123_length(m_handle.get())) : 0;
}

bool MpegReader::exactLength() const
{
    long accurate = 0;
    double unused = 0.0;
    return m_handle &&
           mpg123_getstate(m_handle.get(), MPG123_ACCURATE, &accurate, &unused) == MPG123_OK &&
           accurate;
}

int MpegReader::check(int64_t* frames)
{
    if (!m_handle || !frames)
        return SoundResult::InvalidParam;
    mpg123_handle* mh = m_handle.get();
    const bool tagged = exactLength();
    const off_t taggedFrames = mpg123_framelength(mh);
    // The scan counts the MPEG frames really present: a file cut short has fewer
    // than its tag says (its last frames, and maybe half of one, are gone).
    if (mpg123_scan(mh) != MPG123_OK)
        return SoundResult::FileBad;
    if (tagged && mpg123_framelength(mh) < taggedFrames)
        return SoundResult::FileTruncated;
    *frames = announcedFrames();

    std::vector<float> first(static_cast<size_t>(kCheckedFrames) * m_channels);
    int done = 0;
    bool ended = false;
    const int result = read(first.data(), kCheckedFrames, &done, &ended);
    if (result != SoundResult::Ok)
        return result;
    if (done == 0 || *frames <= 0)
        return SoundResult::FileBad;
    return SoundResult::Ok;
}

int MpegReader::read(float* out, int maxFrames, int* frames, bool* ended)
{
    *frames = 0;
    *ended = false;
    if (!m_handle)
        return SoundResult::InvalidParam;
    mpg123_handle* mh = m_handle.get();
    const size_t frameBytes = sizeof(float) * static_cast<size_t>(m_channels);
    unsigned char* to = reinterpret_cast<unsigned char*>(out);
    size_t filled = 0;
    const size_t wanted = frameBytes * static_cast<size_t>(maxFrames);
    while (filled < wanted) {
        size_t done = 0;
        const int rc = mpg123_read(mh, to + filled, wanted - filled, &done);
        filled += done;
        if (rc == MPG123_DONE) {
            *ended = true;
            break;
        }
        if (rc == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(mh, &rate, &channels, &encoding);
            if (rate != m_sampleRate || channels != m_channels)
                return SoundResult::FormatChanged;
            continue;
        }
        if (rc != MPG123_OK)
            return m_decoded + static_cast<int64_t>(filled / frameBytes) == 0
                       ? SoundResult::FileBad
                       : SoundResult::FileTruncated;
    }
    *frames = static_cast<int>(filled / frameBytes);
    m_decoded += *frames;
    return SoundResult::Ok;
}

int MpegReader::seek(int64_t frame)
{
    if (!m_handle || frame < 0)
        return SoundResult::InvalidParam;
    const off_t reached = mpg123_seek(m_handle.get(), static_cast<off_t>(frame), SEEK_SET);
    return reached == static_cast<off_t>(frame) ? SoundResult::Ok : SoundResult::InvalidPosition;
}
