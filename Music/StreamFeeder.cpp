// StreamFeeder: a tick-or-wake loop that feeds the playing streams.
#include "Music/StreamFeeder.h"

#include <chrono>

#include "Music/SoundStream.h"

namespace {

// At most this long between rounds: far below the time a stream has decoded ahead
// (SoundStream::AheadFrames, 0.74 s at 44.1 kHz), even on a loaded machine.
const std::chrono::milliseconds kTick(20);

}  // namespace

StreamFeeder::StreamFeeder(Collect collect, void* context, int streams)
    : m_collect(collect), m_context(context), m_stopping(false), m_woken(false)
{
    m_streams.reserve(static_cast<size_t>(streams));
    m_thread = std::thread(&StreamFeeder::run, this);
}

StreamFeeder::~StreamFeeder()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_signal.notify_one();
    m_thread.join();
}

void StreamFeeder::wake()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_woken = true;
    }
    m_signal.notify_one();
}

void StreamFeeder::run()
{
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_signal.wait_for(lock, kTick, [this] { return m_stopping || m_woken; });
            if (m_stopping)
                return;
            m_woken = false;
        }
        m_streams.clear();
        m_collect(m_context, m_streams);
        for (const std::shared_ptr<SoundStream>& stream : m_streams)
            stream->feed();
        // The last owner of a stream stopped meanwhile may be this list: it goes here,
        // off the audio thread.
        m_streams.clear();
    }
}
