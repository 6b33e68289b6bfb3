// SoundMixer: resampling mix of the voices, passes and loop counts, and the clock
// arithmetic of heard positions.
#include "Music/SoundMixer.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "Music/SoundStream.h"

namespace {

const int kMixChunk = 1024;  // frames mixed at a time, whatever the device asks for

}  // namespace

SoundMixer::SoundMixer(int voices, int outputRate)
    : m_voices(static_cast<size_t>(voices)), m_mixBuffer(2 * kMixChunk), m_outputRate(outputRate),
      m_clockDriven(false), m_lastMixFrames(0)
{
    assert(voices >= 1 && outputRate > 0);
}

int SoundMixer::freeVoice() const
{
    for (size_t i = 0; i < m_voices.size(); ++i)
        if (!m_voices[i].active)
            return static_cast<int>(i);
    return -1;
}

std::shared_ptr<SoundStream> SoundMixer::start(int index, std::shared_ptr<SoundStream> stream,
                                               bool paused, int64_t nowNs)
{
    assert(stream && stream->isOpen());
    Voice& voice = m_voices[index];
    std::shared_ptr<SoundStream> previous = std::move(voice.stream);
    voice.stream = std::move(stream);
    voice.active = true;
    voice.paused = paused;
    voice.loopsLeft = voice.stream->loops() ? -1 : 0;
    voice.passStart = 0;
    voice.position = 0;
    voice.step = (static_cast<uint64_t>(voice.stream->sampleRate()) << 32) /
                 static_cast<uint64_t>(m_outputRate);
    restartClock(voice, nowNs);
    voice.stream->setPlayFrame(0);
    return previous;
}

std::shared_ptr<SoundStream> SoundMixer::stop(int index)
{
    Voice& voice = m_voices[index];
    voice.active = false;
    return std::move(voice.stream);
}

void SoundMixer::restartClock(Voice& voice, int64_t nowNs) const
{
    voice.anchorNs = nowNs;
    // With a device, what is heard next is what the next mix produces: hold the
    // position until then instead of running ahead of the device.
    voice.anchorPending = !m_clockDriven;
}

void SoundMixer::setPaused(int index, bool paused, int64_t nowNs)
{
    Voice& voice = m_voices[index];
    if (paused == voice.paused)
        return;
    if (paused) {
        voice.position = heardFrame(index, nowNs);
        voice.paused = true;
        voice.stream->setPlayFrame(static_cast<int64_t>(voice.position >> 32));
    } else {
        voice.paused = false;
        restartClock(voice, nowNs);
    }
}

void SoundMixer::setLoopCount(int index, int count)
{
    Voice& voice = m_voices[index];
    if (voice.stream && voice.stream->loops())
        voice.loopsLeft = count;
}

void SoundMixer::jump(int index, uint64_t position, int64_t nowNs)
{
    Voice& voice = m_voices[index];
    voice.passStart = 0;
    voice.position = position;
    restartClock(voice, nowNs);
    voice.stream->setPlayFrame(static_cast<int64_t>(position >> 32));
}

uint64_t SoundMixer::heardFrame(int index, int64_t nowNs) const
{
    const Voice& voice = m_voices[index];
    if (voice.paused || voice.anchorPending)
        return voice.position;
    const int rate = voice.stream->sampleRate();
    if (m_clockDriven)
        return voice.position + framesIn(nowNs - voice.anchorNs, rate);
    // The device still holds the last mix: what is heard now is the start of that
    // buffer, moved on by the time since it was handed over.
    const int64_t heldNs = static_cast<int64_t>(m_lastMixFrames) * 1000000000 / m_outputRate;
    const uint64_t behind = static_cast<uint64_t>(m_lastMixFrames) * voice.step;
    const uint64_t ahead = framesIn(std::min(nowNs - voice.anchorNs, heldNs), rate);
    return voice.position + ahead >= behind ? voice.position + ahead - behind : 0;
}

uint64_t SoundMixer::heardFilePosition(int index, int64_t nowNs) const
{
    const Voice& voice = m_voices[index];
    const uint64_t heard = heardFrame(index, nowNs);
    const uint64_t length = static_cast<uint64_t>(voice.stream->length()) << 32;
    const uint64_t passStart = static_cast<uint64_t>(voice.passStart) << 32;
    if (heard < passStart)
        return heard + length - passStart;  // still hearing the end of the previous pass
    const uint64_t position = heard - passStart;
    if (position < length || length == 0)
        return position;
    return voice.stream->loops() ? position % length : length;
}

void SoundMixer::mix(int16_t* out, int frames, int64_t nowNs)
{
    m_lastMixFrames = frames;
    if (m_clockDriven) {
        // Nothing is heard: the voices move with the clock alone.
        std::memset(out, 0, static_cast<size_t>(frames) * 2 * sizeof(int16_t));
        advance(nowNs);
        return;
    }
    for (int done = 0; done < frames; done += kMixChunk) {
        const int n = std::min(kMixChunk, frames - done);
        std::fill(m_mixBuffer.begin(), m_mixBuffer.begin() + 2 * n, 0.0f);
        for (Voice& voice : m_voices)
            if (voice.active && !voice.paused)
                mixVoice(voice, m_mixBuffer.data(), n);
        for (int i = 0; i < 2 * n; ++i) {
            const float v = std::max(-1.0f, std::min(1.0f, m_mixBuffer[i]));
            out[2 * done + i] = static_cast<int16_t>(v * 32767.0f);
        }
    }
    for (Voice& voice : m_voices) {
        if (voice.active && !voice.paused) {
            voice.anchorNs = nowNs;
            voice.anchorPending = false;
        }
    }
}

void SoundMixer::advance(int64_t nowNs)
{
    for (Voice& voice : m_voices) {
        if (!voice.active || voice.paused)
            continue;
        voice.position += framesIn(nowNs - voice.anchorNs, voice.stream->sampleRate());
        voice.anchorNs = nowNs;
        voice.anchorPending = false;
        handleEnd(voice);
        voice.stream->setPlayFrame(static_cast<int64_t>(voice.position >> 32));
    }
}

void SoundMixer::mixVoice(Voice& voice, float* mix, int frames)
{
    SoundStream& stream = *voice.stream;
    const int channels = stream.channels();
    for (int i = 0; i < frames; ++i) {
        handleEnd(voice);
        if (!voice.active)
            break;
        const int64_t at = static_cast<int64_t>(voice.position >> 32);
        // Linear interpolation between this frame and the next; after the last frame
        // of a pass a voice that goes on reads the next pass's first, another holds still.
        int64_t next = at + 1;
        if (next >= voice.passStart + stream.length() && !(stream.loops() && voice.loopsLeft != 0))
            next = at;
        const float* a = stream.frame(at);
        const float* b = stream.frame(next);
        // A frame not decoded in time plays as silence; the voice keeps time.
        if (a) {
            if (!b)
                b = a;
            const float t =
                static_cast<float>(voice.position & 0xffffffffu) * (1.0f / 4294967296.0f);
            const float left = a[0] + (b[0] - a[0]) * t;
            const float right = channels > 1 ? a[1] + (b[1] - a[1]) * t : left;
            mix[2 * i] += left;
            mix[2 * i + 1] += right;
        }
        voice.position += voice.step;
    }
    handleEnd(voice);
    stream.setPlayFrame(static_cast<int64_t>(voice.position >> 32));
}

void SoundMixer::handleEnd(Voice& voice)
{
    if (!voice.active)
        return;
    const int64_t length = voice.stream->length();
    while (voice.position >= static_cast<uint64_t>(voice.passStart + length) << 32) {
        if (!voice.stream->loops() || voice.loopsLeft == 0 || length == 0) {
            voice.active = false;
            return;
        }
        voice.passStart += length;
        if (voice.loopsLeft > 0)
            --voice.loopsLeft;
    }
}

uint64_t SoundMixer::framesIn(int64_t elapsedNs, int sampleRate)
{
    if (elapsedNs <= 0)
        return 0;
    // Split into whole frames and a remainder so that no product overflows 64 bits
    // for elapsed times up to days. The fraction is rounded up: a time converted back
    // from the frames (rounded down to whole milliseconds) is then never a unit short.
    const uint64_t scaled = static_cast<uint64_t>(elapsedNs) * static_cast<uint64_t>(sampleRate);
    const uint64_t whole = scaled / 1000000000ull;
    const uint64_t rest = scaled % 1000000000ull;
    return (whole << 32) + ((rest << 32) + 999999999ull) / 1000000000ull;
}
