// SoundStream: chunked decoding into a ring, restarts for seeks, and the reads of
// the mixer and the spectrum.
#include "Music/SoundStream.h"

#include <algorithm>
#include <cstring>

#include "Music/SoundError.h"

SoundStream::SoundStream(std::shared_ptr<const SoundFile> file, int64_t length, std::mutex& shared)
    : m_file(std::move(file)), m_shared(shared), m_length(length),
      m_capacity(HISTORY_FRAMES + AHEAD_FRAMES + CHUNK_FRAMES), m_reader(*m_file),
      m_channels(m_reader.channels()), m_sampleRate(m_reader.sampleRate()),
      m_chunk(static_cast<size_t>(CHUNK_FRAMES) * m_channels), m_finished(false), m_decodeFrame(0),
      m_ring(static_cast<size_t>(m_capacity) * m_channels), m_first(0), m_end(0), m_playFrame(0)
{
}

void SoundStream::decodeUntil(int64_t t, bool ahead)
{
    for (;;) {
        std::lock_guard<std::mutex> decoding(m_decoding);
        if (!before(t, ahead) || !decodeChunk())
            return;
    }
}

bool SoundStream::before(int64_t t, bool ahead) const
{
    std::lock_guard<std::mutex> lock(m_shared);
    return m_end <= (ahead ? m_playFrame + AHEAD_FRAMES - 1 : t);
}

void SoundStream::seekTo(int64_t frame)
{
    m_finished = false;
    // Where the reader already is (a stream started from its first frame) no seek
    // is made: after one, the decoder's filter state is rebuilt, and the samples
    // differ from a straight decode's in their last bit or two.
    if (frame != m_decodeFrame && !m_reader.seek(frame)) {
        m_finished = true;
        m_decodeFrame = -1;
    } else {
        m_decodeFrame = frame;
    }
}

bool SoundStream::decodeChunk()
{
    if (m_finished)
        return false;
    int frames = 0;
    bool ended = false;
    try {
        frames = m_reader.read(m_chunk.data(), CHUNK_FRAMES, ended);
    } catch (const SoundError&) {
        // A decoding error mid-file ends the stream: what follows is not trusted.
        // The reader's place is then unknown, so a restart seeks.
        m_finished = true;
        m_decodeFrame = -1;
        return false;
    }
    m_decodeFrame += frames;
    m_finished = ended;

    const size_t width = static_cast<size_t>(m_channels);
    std::lock_guard<std::mutex> lock(m_shared);
    for (int done = 0; done < frames;) {
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
    return !ended;
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
