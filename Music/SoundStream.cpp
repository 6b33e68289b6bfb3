// SoundStream: chunked decoding into a ring, restarts for seeks, and the reads of
// the mixer and the spectrum.
#include "Music/SoundStream.h"

#include <algorithm>
#include <cstring>

#include "Music/SoundFile.h"
#include "Music/SoundResult.h"

SoundStream::SoundStream(std::shared_ptr<const SoundFile> file, int64_t length, bool loops,
                         std::mutex& shared)
    : m_file(std::move(file)), m_shared(shared), m_length(length), m_loops(loops), m_channels(0),
      m_sampleRate(0), m_capacity(HistoryFrames + AheadFrames + ChunkFrames), m_finished(true),
      m_decodeFile(0), m_first(0), m_end(0), m_playFrame(0)
{
    if (!m_file || m_reader.open(*m_file) != SoundResult::Ok)
        return;
    const size_t width = static_cast<size_t>(m_reader.channels());
    m_chunk.resize(static_cast<size_t>(ChunkFrames) * width);
    m_ring.resize(static_cast<size_t>(m_capacity) * width);
    m_channels = m_reader.channels();
    m_sampleRate = m_reader.sampleRate();
    m_finished = false;
}

SoundStream::~SoundStream() = default;

void SoundStream::feed()
{
    std::lock_guard<std::mutex> decoding(m_decoding);
    while (!m_finished) {
        {
            std::lock_guard<std::mutex> lock(m_shared);
            if (m_end >= m_playFrame + AheadFrames)
                return;
        }
        decodeChunk();
    }
}

void SoundStream::ensure(int64_t t)
{
    std::lock_guard<std::mutex> decoding(m_decoding);
    while (!m_finished) {
        {
            std::lock_guard<std::mutex> lock(m_shared);
            if (m_end > t)
                return;
        }
        decodeChunk();
    }
}

void SoundStream::emptyRing(int64_t frame)
{
    m_first = m_end = std::max<int64_t>(0, frame - HistoryFrames);
    m_playFrame = frame;
}

int SoundStream::decodeFrom(int64_t frame)
{
    if (!isOpen())
        return SoundResult::DecoderFailure;
    const int64_t start = std::max<int64_t>(0, frame - HistoryFrames);
    m_finished = false;
    // Where the reader already is (a stream started from its first frame) no seek
    // is made: after one, the decoder's filter state is rebuilt, and the samples
    // differ from a straight decode's in their last bit or two.
    if (start != m_decodeFile) {
        const int result = m_reader.seek(start);
        if (result != SoundResult::Ok) {
            m_finished = true;
            return result;
        }
        m_decodeFile = start;
    }
    // The history serves the spectrum at once; the first chunk the mixer.
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_shared);
            if (m_end >= frame + ChunkFrames)
                break;
        }
        if (!decodeChunk())
            break;
    }
    return SoundResult::Ok;
}

bool SoundStream::decodeChunk()
{
    if (m_finished)
        return false;
    int frames = 0;
    bool ended = false;
    const int result = m_reader.read(m_chunk.data(), ChunkFrames, &frames, &ended);
    if (frames > 0)
        publish(frames);
    m_decodeFile += frames;
    // A decoding error mid-file ends the stream: what follows is not trusted. The
    // reader's place is then unknown, so a restart seeks.
    if (result != SoundResult::Ok) {
        m_finished = true;
        m_decodeFile = -1;
        return false;
    }
    if (ended && (!m_loops || m_decodeFile == 0)) {
        m_finished = true;
        return false;
    }
    if (ended) {
        // Looping: the timeline goes on with the file's first frame.
        if (m_reader.seek(0) != SoundResult::Ok) {
            m_finished = true;
            return false;
        }
        m_decodeFile = 0;
    }
    return true;
}

void SoundStream::publish(int frames)
{
    const size_t width = static_cast<size_t>(m_channels);
    std::lock_guard<std::mutex> lock(m_shared);
    int done = 0;
    while (done < frames) {
        // Up to the ring's wrap, then from its start.
        const int64_t slot = (m_end + done) % m_capacity;
        const int n = static_cast<int>(std::min<int64_t>(frames - done, m_capacity - slot));
        std::memcpy(&m_ring[static_cast<size_t>(slot) * width],
                    &m_chunk[static_cast<size_t>(done) * width],
                    static_cast<size_t>(n) * width * sizeof(float));
        done += n;
    }
    m_end += frames;
    m_first = std::max(m_first, m_end - m_capacity);
}

const float* SoundStream::frame(int64_t t) const
{
    if (t < m_first || t >= m_end)
        return nullptr;
    return &m_ring[static_cast<size_t>(t % m_capacity) * static_cast<size_t>(m_channels)];
}

void SoundStream::copyChannel(int64_t end, int count, int channel, float* out) const
{
    for (int i = 0; i < count; ++i) {
        const float* f = frame(end - count + i);
        out[i] = f ? f[channel] : 0.0f;
    }
}
