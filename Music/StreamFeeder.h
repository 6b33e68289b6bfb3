// StreamFeeder: the decoding thread of the sound layer. Every 20 ms, or when woken,
// it asks its owner for the streams being played and decodes each one ahead of its
// play position (SoundStream::feed), so that the audio callback only ever copies
// decoded samples. Owns the thread: the destructor stops and joins it.
//
// A thread of its own rather than decoding from the main thread's calls: the demo
// reads the spectrum only in some scenes, and a long frame must not starve the
// device. The main thread decodes only what it needs at once (after a seek, or on a
// clock set faster than real time).
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class SoundStream;

class StreamFeeder {
public:
    // Fills streams with the streams to feed now (it arrives empty); runs on the
    // feeder's thread and takes the owner's locks as it needs.
    using Collect = void (*)(void* context, std::vector<std::shared_ptr<SoundStream>>& streams);

    // Starts the thread (throws std::system_error or std::bad_alloc). streams: at
    // most how many collect() hands over at once.
    StreamFeeder(Collect collect, void* context, int streams);
    ~StreamFeeder();
    StreamFeeder(const StreamFeeder&) = delete;
    StreamFeeder& operator=(const StreamFeeder&) = delete;

    // Runs a round now instead of at the next tick (after a stream was started).
    void wake();

private:
    void run();

    Collect m_collect;
    void* m_context;
    std::vector<std::shared_ptr<SoundStream>> m_streams;  // the thread's own list, reused
    std::mutex m_mutex;
    std::condition_variable m_signal;
    bool m_stopping;       // guarded by m_mutex
    bool m_woken;          // guarded by m_mutex
    std::thread m_thread;  // last: starts once everything above exists
};
