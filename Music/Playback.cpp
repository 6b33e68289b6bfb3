// Playback: resampling mix of the playing stream and the clock arithmetic of heard
// positions.
#include "Music/Playback.h"

#include <algorithm>
#include <cstring>

#include "Music/FrameTime.h"
#include "Music/SoundStream.h"

Playback::Playback(int outputRate)
    : m_active(false), m_paused(false), m_position(0), m_step(0), m_anchorNs(0),
      m_anchorPending(false), m_outputRate(outputRate), m_clockDriven(false), m_lastMixFrames(0)
{
}

std::shared_ptr<SoundStream> Playback::start(std::shared_ptr<SoundStream> stream, int64_t nowNs)
{
    std::shared_ptr<SoundStream> previous = std::move(m_stream);
    m_stream = std::move(stream);
    m_active = true;
    m_paused = false;
    m_position = 0;
    m_step =
        (static_cast<uint64_t>(m_stream->sampleRate()) << 32) / static_cast<uint64_t>(m_outputRate);
    restartClock(nowNs);
    m_stream->setPlayFrame(0);
    return previous;
}

std::shared_ptr<SoundStream> Playback::stop()
{
    m_active = false;
    return std::move(m_stream);
}

void Playback::restartClock(int64_t nowNs)
{
    m_anchorNs = nowNs;
    // With a device, what is heard next is what the next mix produces: hold the
    // position until then instead of running ahead of the device.
    m_anchorPending = !m_clockDriven;
}

void Playback::setPaused(bool paused, int64_t nowNs)
{
    if (paused == m_paused)
        return;
    if (paused) {
        m_position = heardFrame(nowNs);
        m_paused = true;
        m_stream->setPlayFrame(static_cast<int64_t>(m_position >> 32));
    } else {
        m_paused = false;
        restartClock(nowNs);
    }
}

void Playback::jump(uint64_t position, int64_t nowNs)
{
    m_position = position;
    restartClock(nowNs);
    m_stream->setPlayFrame(static_cast<int64_t>(position >> 32));
}

uint64_t Playback::heardFrame(int64_t nowNs) const
{
    const uint64_t length = static_cast<uint64_t>(m_stream->length()) << 32;
    if (m_paused || m_anchorPending)
        return std::min(m_position, length);
    const int rate = m_stream->sampleRate();
    if (m_clockDriven)
        return std::min(m_position + frameTime::framesIn(nowNs - m_anchorNs, rate), length);
    // The device still holds the last mix: what is heard now is the start of that
    // buffer, moved on by the time since it was handed over.
    const int64_t heldNs = static_cast<int64_t>(m_lastMixFrames) * 1000000000 / m_outputRate;
    const uint64_t behind = static_cast<uint64_t>(m_lastMixFrames) * m_step;
    const uint64_t ahead = frameTime::framesIn(std::min(nowNs - m_anchorNs, heldNs), rate);
    return std::min(m_position + ahead >= behind ? m_position + ahead - behind : 0, length);
}

void Playback::mix(int16_t* out, int frames, int64_t nowNs)
{
    m_lastMixFrames = frames;
    std::memset(out, 0, static_cast<size_t>(frames) * 2 * sizeof(int16_t));
    if (m_clockDriven) {
        advance(nowNs);  // nothing is heard: the position moves with the clock alone
        return;
    }
    if (!m_active || m_paused)
        return;
    const SoundStream& stream = *m_stream;
    const int64_t last = stream.length() - 1;
    for (int i = 0; i < frames && static_cast<int64_t>(m_position >> 32) <= last; ++i) {
        // Linear interpolation between this frame and the next (the last one holds).
        const int64_t at = static_cast<int64_t>(m_position >> 32);
        const float* a = stream.frame(at);
        const float* b = stream.frame(std::min(at + 1, last));
        if (a) {
            if (!b)
                b = a;
            const float t = static_cast<float>(m_position & 0xffffffffu) * (1.0f / 4294967296.0f);
            const float left = a[0] + (b[0] - a[0]) * t;
            const int right = stream.channels() > 1 ? 1 : 0;
            const float r = a[right] + (b[right] - a[right]) * t;
            out[2 * i] = static_cast<int16_t>(std::max(-1.0f, std::min(1.0f, left)) * 32767.0f);
            out[2 * i + 1] = static_cast<int16_t>(std::max(-1.0f, std::min(1.0f, r)) * 32767.0f);
        }
        m_position += m_step;
    }
    endIfPast();
    m_stream->setPlayFrame(static_cast<int64_t>(m_position >> 32));
    m_anchorNs = nowNs;
    m_anchorPending = false;
}

void Playback::advance(int64_t nowNs)
{
    if (!m_active || m_paused)
        return;
    m_position += frameTime::framesIn(nowNs - m_anchorNs, m_stream->sampleRate());
    m_anchorNs = nowNs;
    m_anchorPending = false;
    endIfPast();
    m_stream->setPlayFrame(static_cast<int64_t>(m_position >> 32));
}

void Playback::endIfPast()
{
    if (m_position >= static_cast<uint64_t>(m_stream->length()) << 32)
        m_active = false;
}
