// Player: the clocks, the start and moves of the playback, the spectrum of what is
// heard, and the two threads' loops.
#include "Music/Player.h"

#include <algorithm>
#include <chrono>

#include "Music/FrameTime.h"
#include "Music/SoundError.h"
#include "Music/SoundStream.h"
#include "Music/SpectrumAnalyser.h"

namespace {

const int DEMO_SPECTRUM_COUNT = 512;
// At most this long between decoding rounds: far below the time a stream has
// decoded ahead (SoundStream::AHEAD_FRAMES, 0.74 s at 44.1 kHz), even on a loaded machine.
const std::chrono::milliseconds DECODE_TICK(20);

int64_t steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

Player::Player(bool withDevice, unsigned int clockMs)
    : m_playback(AudioOutput::RATE), m_manualClock(!withDevice),
      m_clockNs(static_cast<int64_t>(clockMs) * 1000000), m_stopping(false), m_woken(false)
{
    // The demo's spectrum is planned now, not on the first frame.
    m_analyser.reset(new SpectrumAnalyser(DEMO_SPECTRUM_COUNT));
    m_window.resize(2 * DEMO_SPECTRUM_COUNT);
    if (withDevice)
        m_output.reset(new AudioOutput(*this));
    m_playback.setClockDriven(!m_output || m_output->silent());
    m_decoder = std::thread(&Player::decodeAhead, this);
    if (m_output)
        m_output->start();
}

Player::~Player()
{
    // Joined without m_mutex held: a callback or a decoding round waiting for it
    // would never end.
    m_output.reset();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_decoder.join();
}

int64_t Player::now()
{
    const int64_t time = m_manualClock ? m_clockNs : steadyNs();
    if (m_playback.clockDriven())
        m_playback.advance(time);
    return time;
}

void Player::setClock(unsigned int ms)
{
    if (!m_manualClock)
        throw SoundError(SoundError::CLOCK_NOT_SETTABLE);
    const int64_t time = static_cast<int64_t>(ms) * 1000000;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (time < m_clockNs)
        throw SoundError(SoundError::CLOCK_BACKWARD);
    m_clockNs = time;
    m_playback.advance(time);
}

void Player::start(const Sound& sound)
{
    auto stream = std::make_shared<SoundStream>(sound.file, sound.frames, m_mutex);
    std::shared_ptr<SoundStream> previous;  // destroyed at the end, outside the lock
    stream->restart(0, [&] {
        previous = m_playback.start(stream, now());
        m_woken = true;
    });
    m_wake.notify_one();
}

void Player::stop()
{
    std::shared_ptr<SoundStream> stopped;  // destroyed after the lock is released
    std::lock_guard<std::mutex> lock(m_mutex);
    now();
    stopped = m_playback.stop();
}

bool Player::paused()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    now();
    return m_playback.active() && m_playback.paused();
}

void Player::setPaused(bool paused)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int64_t time = now();
    if (m_playback.active())
        m_playback.setPaused(paused, time);
}

void Player::setPosition(unsigned int ms)
{
    std::shared_ptr<SoundStream> stream;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        now();
        if (!m_playback.active())
            throw SoundError(SoundError::NOT_PLAYING);
        stream = m_playback.stream();
    }
    const uint64_t frames = frameTime::fromMs(ms, stream->sampleRate());
    if (frames > static_cast<uint64_t>(stream->length()) << 32)
        throw SoundError(SoundError::INVALID_POSITION);
    // The playback moves when the stream's ring is emptied, under the same lock, so
    // the mixer never reads the old frames at the new position.
    bool moved = false;
    stream->restart(static_cast<int64_t>(frames >> 32), [&] {
        const int64_t time = now();
        if (m_playback.active() && m_playback.stream() == stream) {
            m_playback.jump(frames, time);
            moved = m_woken = true;
        }
    });
    m_wake.notify_one();
    if (!moved)
        throw SoundError(SoundError::NOT_PLAYING);  // the sound ended meanwhile
}

unsigned int Player::position()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int64_t time = now();
    if (!m_playback.active())
        throw SoundError(SoundError::NOT_PLAYING);
    return frameTime::toMs(m_playback.heardFrame(time), m_playback.stream()->sampleRate());
}

void Player::spectrum(float* out, int count)
{
    if (count > MAX_SPECTRUM_COUNT)
        return;
    std::shared_ptr<SoundStream> stream;
    int64_t heard = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const int64_t time = now();
        if (!m_playback.active() || m_playback.paused())
            return;
        stream = m_playback.stream();
        heard = static_cast<int64_t>(m_playback.heardFrame(time) >> 32);
    }
    if (m_analyser->count() != count) {
        // Another count than the demo's is planned when it is asked for.
        m_window.resize(2 * static_cast<size_t>(count));
        m_analyser.reset(new SpectrumAnalyser(count));
    }
    // Normally the decoding thread is far ahead; on a clock set by hand, or after a
    // stall, the frames up to the one heard are decoded here.
    stream->ensure(heard - 1);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        stream->copyChannel(heard, 2 * count, 0, m_window.data());
    }
    m_analyser->compute(m_window.data(), 2 * static_cast<size_t>(count), 1, 0, 2 * count, out);
}

void Player::fill(int16_t* out, int frames)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_playback.mix(out, frames, steadyNs());
}

void Player::decodeAhead()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait_for(lock, DECODE_TICK, [this] { return m_stopping || m_woken; });
        if (m_stopping)
            return;
        m_woken = false;
        now();
        std::shared_ptr<SoundStream> stream = m_playback.active() ? m_playback.stream() : nullptr;
        if (!stream)
            continue;
        lock.unlock();
        stream->feed();
        // The last owner of a stream stopped meanwhile may be this one: it goes here,
        // off the audio thread, without the lock.
        stream.reset();
        lock.lock();
    }
}
