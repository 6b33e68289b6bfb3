// MpegReader: the file checks, libmpg123 set up for float output over our own
// buffered positional reader, and the whole-file decode.
#include "Music/MpegReader.h"

#include <fcntl.h>
#include <mpg123.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "Music/RiffCheck.h"
#include "Music/SoundError.h"

namespace {

const size_t READ_BUFFER_BYTES = 64 * 1024;
const int CHECKED_FRAMES = 8 * 1152;  // decoded by check(): eight MPEG frames
const int DECODE_CHUNK_FRAMES = 4096;

}  // namespace

SoundFile::SoundFile(const char* path) : m_descriptor(-1), m_size(0)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer
    // forever. What the descriptor names is checked before anything reads it.
    m_descriptor = path ? ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
    if (m_descriptor < 0)
        throw SoundError(SoundError::FILE_NOT_FOUND);
    struct stat info;
    SoundError::Reason failure = SoundError::REASON_COUNT;  // none
    if (::fstat(m_descriptor, &info) != 0)
        failure = SoundError::FILE_NOT_FOUND;
    else if (S_ISDIR(info.st_mode))
        failure = SoundError::FILE_IS_DIRECTORY;
    else if (!S_ISREG(info.st_mode))
        failure = SoundError::FILE_NOT_FOUND;  // FIFO, socket, device: no sound in it
    else if (info.st_size == 0)
        failure = SoundError::FILE_EMPTY;
    else
        m_size = info.st_size;
    if (failure == SoundError::REASON_COUNT &&
        riffWithoutMpeg([this](void* buffer, size_t size, int64_t offset) {
            return readAt(buffer, size, offset);
        }))
        failure = SoundError::FILE_BAD;
    if (failure != SoundError::REASON_COUNT) {
        ::close(m_descriptor);  // the destructor does not run for a throwing constructor
        throw SoundError(failure);
    }
}

SoundFile::~SoundFile()
{
    ::close(m_descriptor);
}

long long SoundFile::readAt(void* buffer, size_t size, int64_t offset) const
{
    for (;;) {
        const ssize_t n = ::pread(m_descriptor, buffer, size, static_cast<off_t>(offset));
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

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

MpegReader::MpegReader(const SoundFile& file)
    : m_io(new MpegReaderIo), m_channels(0), m_sampleRate(0), m_decoded(0)
{
    m_io->file = &file;
    m_io->buffer.resize(READ_BUFFER_BYTES);
    // mpg123_init is a no-op from API 46 on but must run once on older libraries.
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });

    int err = MPG123_OK;
    m_handle.reset(mpg123_new(nullptr, &err));
    if (!m_handle)
        throw SoundError(SoundError::DECODER_FAILURE);
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
        throw SoundError(SoundError::DECODER_FAILURE);

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    // getformat parses up to the first frame; nothing decodable means no MP3.
    if (mpg123_getformat(mh, &rate, &channels, &encoding) != MPG123_OK ||
        encoding != MPG123_ENC_FLOAT_32 || channels < 1 || rate <= 0)
        throw SoundError(SoundError::FILE_BAD);
    m_channels = channels;
    m_sampleRate = static_cast<int>(rate);
}

MpegReader::~MpegReader() = default;

int64_t MpegReader::announcedFrames() const
{
    return static_cast<int64_t>(mpg123_length(m_handle.get()));
}

bool MpegReader::exactLength() const
{
    long accurate = 0;
    double unused = 0.0;
    return mpg123_getstate(m_handle.get(), MPG123_ACCURATE, &accurate, &unused) == MPG123_OK &&
           accurate;
}

int64_t MpegReader::check()
{
    mpg123_handle* mh = m_handle.get();
    const bool tagged = exactLength();
    const off_t taggedFrames = mpg123_framelength(mh);
    // The scan counts the MPEG frames really present: a file cut short has fewer
    // than its tag says (its last frames, and maybe half of one, are gone).
    if (mpg123_scan(mh) != MPG123_OK)
        throw SoundError(SoundError::FILE_BAD);
    if (tagged && mpg123_framelength(mh) < taggedFrames)
        throw SoundError(SoundError::FILE_TRUNCATED);
    const int64_t frames = announcedFrames();

    std::vector<float> first(static_cast<size_t>(CHECKED_FRAMES) * m_channels);
    bool ended = false;
    if (read(first.data(), CHECKED_FRAMES, ended) == 0 || frames <= 0)
        throw SoundError(SoundError::FILE_BAD);
    return frames;
}

int MpegReader::read(float* out, int maxFrames, bool& ended)
{
    ended = false;
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
            ended = true;
            break;
        }
        if (rc == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(mh, &rate, &channels, &encoding);
            if (rate != m_sampleRate || channels != m_channels)
                throw SoundError(SoundError::FORMAT_CHANGED);
            continue;
        }
        if (rc != MPG123_OK)
            throw SoundError(m_decoded + static_cast<int64_t>(filled / frameBytes) == 0
                                 ? SoundError::FILE_BAD
                                 : SoundError::FILE_TRUNCATED);
    }
    const int frames = static_cast<int>(filled / frameBytes);
    m_decoded += frames;
    return frames;
}

bool MpegReader::seek(int64_t frame)
{
    return frame >= 0 && mpg123_seek(m_handle.get(), static_cast<off_t>(frame), SEEK_SET) == frame;
}

Sound::Sound(const char* path) : file(std::make_shared<const SoundFile>(path)), frames(0)
{
    MpegReader reader(*file);
    frames = reader.check();
    sampleRate = reader.sampleRate();
    name = path;
    name.erase(0, name.find_last_of('/') + 1);  // npos + 1 == 0: no directory
}

DecodedSound decodeFile(const char* path)
{
    const SoundFile file(path);
    MpegReader reader(file);
    DecodedSound sound;
    std::vector<float>& out = sound.samples;
    // With a gapless tag the length is exact; otherwise an estimate from the file
    // size. Reserving it avoids the doubling growth of a 100 s track.
    const int64_t announced = reader.announcedFrames();
    const size_t width = static_cast<size_t>(reader.channels());
    if (announced > 0)
        out.reserve(static_cast<size_t>(announced + DECODE_CHUNK_FRAMES) * width);
    bool ended = false;
    while (!ended) {
        const size_t at = out.size();
        out.resize(at + DECODE_CHUNK_FRAMES * width);
        const int frames = reader.read(out.data() + at, DECODE_CHUNK_FRAMES, ended);
        out.resize(at + static_cast<size_t>(frames) * width);
    }
    if (out.empty())
        throw SoundError(SoundError::FILE_BAD);
    // An exact length comes from the tag written by the encoder: a file cut short
    // decodes fewer samples than it announces.
    if (reader.exactLength() && static_cast<int64_t>(out.size() / width) < announced)
        throw SoundError(SoundError::FILE_TRUNCATED);
    sound.channels = reader.channels();
    sound.sampleRate = reader.sampleRate();
    return sound;
}
