// SoundDecoder: whole-file MP3 decoding to float with libmpg123.
#include "Music/SoundDecoder.h"

#include <mpg123.h>
#include <sys/stat.h>

#include <mutex>
#include <new>

#include "Music/SoundResult.h"

namespace {

// mpg123_init is a no-op from API 46 on but must run once on older libraries.
void initialiseLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

// Closes and frees the handle however decodeFile leaves.
struct HandleCloser {
    mpg123_handle* handle;
    ~HandleCloser()
    {
        if (handle) {
            mpg123_close(handle);
            mpg123_delete(handle);
        }
    }
};

// One MPEG audio frame holds at most 1152 samples per channel.
const long kMaxFrameSamples = 1152;

int decode(mpg123_handle* mh, const char* path, std::vector<float>& out, int& channels, int& rate)
{
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

    if (mpg123_open(mh, path) != MPG123_OK)
        return SoundResult::FileNotFound;

    long fileRate = 0;
    int fileChannels = 0;
    int encoding = 0;
    // getformat parses up to the first frame; nothing decodable means no MP3.
    if (mpg123_getformat(mh, &fileRate, &fileChannels, &encoding) != MPG123_OK)
        return SoundResult::FileBad;
    if (encoding != MPG123_ENC_FLOAT_32 || fileChannels < 1 || fileRate <= 0)
        return SoundResult::FileBad;

    // With a gapless tag the length is exact; otherwise an estimate from the file
    // size. Reserving it avoids the doubling growth of a 100 s track.
    const off_t announced = mpg123_length(mh);
    if (announced > 0)
        out.reserve(static_cast<size_t>(announced + kMaxFrameSamples) * fileChannels);

    const size_t chunkBytes = 16384;
    float chunk[chunkBytes / sizeof(float)];
    for (;;) {
        size_t done = 0;
        const int rc = mpg123_read(mh, reinterpret_cast<unsigned char*>(chunk), chunkBytes, &done);
        out.insert(out.end(), chunk, chunk + done / sizeof(float));
        if (rc == MPG123_DONE)
            break;
        if (rc == MPG123_NEW_FORMAT) {
            long r = 0;
            int c = 0;
            mpg123_getformat(mh, &r, &c, &encoding);
            if (r != fileRate || c != fileChannels)
                return SoundResult::FormatChanged;
            continue;
        }
        if (rc != MPG123_OK)
            return out.empty() ? SoundResult::FileBad : SoundResult::FileTruncated;
    }
    if (out.empty())
        return SoundResult::FileBad;

    const long frames = static_cast<long>(out.size() / fileChannels);
    // An exact length comes from the tag written by the encoder: a file cut short
    // decodes fewer samples than it announces.
    long accurate = 0;
    double unused = 0.0;
    if (mpg123_getstate(mh, MPG123_ACCURATE, &accurate, &unused) == MPG123_OK && accurate
        && announced > 0 && frames < announced)
        return SoundResult::FileTruncated;

    channels = fileChannels;
    rate = static_cast<int>(fileRate);
    return SoundResult::Ok;
}

}  // namespace

int SoundDecoder::decodeFile(const char* path, std::vector<float>& interleaved, int& channels, int& sampleRate)
{
    interleaved.clear();
    channels = 0;
    sampleRate = 0;
    if (!path)
        return SoundResult::InvalidParam;

    // mpg123 would open a directory and fail on reading it; say what is wrong instead.
    struct stat info;
    if (stat(path, &info) != 0)
        return SoundResult::FileNotFound;
    if (S_ISDIR(info.st_mode))
        return SoundResult::FileIsDirectory;
    if (S_ISREG(info.st_mode) && info.st_size == 0)
        return SoundResult::FileEmpty;

    initialiseLibrary();
    int err = MPG123_OK;
    HandleCloser mh{mpg123_new(nullptr, &err)};
    if (!mh.handle)
        return SoundResult::DecoderFailure;

    int result = SoundResult::Ok;
    try {
        result = decode(mh.handle, path, interleaved, channels, sampleRate);
    } catch (const std::bad_alloc&) {
        result = SoundResult::OutOfMemory;
    }
    if (result != SoundResult::Ok) {
        // Give the memory back, not just the size.
        std::vector<float>().swap(interleaved);
        channels = 0;
        sampleRate = 0;
    }
    return result;
}
