// SoundDecoder: whole-file decoding through SoundFile and MpegReader.
#include "Music/SoundDecoder.h"

#include <memory>
#include <new>

#include "Music/MpegReader.h"
#include "Music/SoundFile.h"
#include "Music/SoundResult.h"

namespace {

const int kChunkFrames = 4096;

int decode(const char* path, std::vector<float>& out, int& channels, int& rate)
{
    std::unique_ptr<SoundFile> file;
    int result = SoundFile::open(path, &file);
    if (result != SoundResult::Ok)
        return result;
    MpegReader reader;
    result = reader.open(*file);
    if (result != SoundResult::Ok)
        return result;

    // With a gapless tag the length is exact; otherwise an estimate from the file
    // size. Reserving it avoids the doubling growth of a 100 s track.
    const int64_t announced = reader.announcedFrames();
    const size_t width = static_cast<size_t>(reader.channels());
    if (announced > 0)
        out.reserve(static_cast<size_t>(announced + kChunkFrames) * width);
    bool ended = false;
    while (!ended) {
        const size_t at = out.size();
        out.resize(at + kChunkFrames * width);
        int frames = 0;
        result = reader.read(out.data() + at, kChunkFrames, &frames, &ended);
        out.resize(at + static_cast<size_t>(frames) * width);
        if (result != SoundResult::Ok)
            return result;
    }
    if (out.empty())
        return SoundResult::FileBad;

    // An exact length comes from the tag written by the encoder: a file cut short
    // decodes fewer samples than it announces.
    const int64_t frames = static_cast<int64_t>(out.size() / width);
    if (reader.exactLength() && announced > 0 && frames < announced)
        return SoundResult::FileTruncated;
    channels = reader.channels();
    rate = reader.sampleRate();
    return SoundResult::Ok;
}

}  // namespace

int SoundDecoder::decodeFile(const char* path, std::vector<float>& interleaved, int& channels,
                             int& sampleRate)
{
    interleaved.clear();
    channels = 0;
    sampleRate = 0;
    if (!path)
        return SoundResult::InvalidParam;
    int result = SoundResult::Ok;
    try {
        result = decode(path, interleaved, channels, sampleRate);
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
