// SoundStream: the decoded window of one playing sound. Frames are decoded in chunks
// into a ring ahead of the play position and dropped once they lie further behind it
// than the widest spectrum window and the audio device's buffer, so a stream holds
// about two seconds of samples whatever the file's length (0.6 MiB for 44.1 kHz stereo).
// Decoding runs on the sound system's feeder thread (StreamFeeder), and on the main
// thread only for frames it needs before the feeder got there; the audio callback
// only copies decoded frames out of the ring.
//
// Frames are numbered on the stream's timeline: frame t is file frame t on the first
// pass; a looping stream goes on past the file's length with the file's start again.
// Threads: the ring and the play frame are shared with the mixer and guarded by the
// `shared` mutex given at construction (the mixer's callers hold it; the decoding
// calls below take it only to publish a chunk). Decoding calls (feed, ensure,
// restart) run on any thread but the audio one, never with `shared` held; they are
// serialised by the stream's own decoder mutex, taken before `shared`, never after.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "Music/MpegReader.h"

class SoundFile;

class SoundStream {
public:
    // Frames kept behind the play position: the widest spectrum window (2 x 16384
    // frames) plus the device's buffer between the mixed and the heard frame.
    static const int64_t HistoryFrames = 49152;
    // Frames decoded ahead of the play position: 0.74 s at 44.1 kHz.
    static const int64_t AheadFrames = 32768;
    static const int ChunkFrames = 4096;  // frames decoded per turn

    // Opens a decoder on file (checked when its sound was created; length: its exact
    // length in frames) and allocates the ring for its format. Throws std::bad_alloc;
    // a decoder that cannot start leaves isOpen() false. Nothing is decoded yet.
    SoundStream(std::shared_ptr<const SoundFile> file, int64_t length, bool loops,
                std::mutex& shared);
    ~SoundStream();
    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    bool isOpen() const { return m_channels > 0; }
    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }  // Hz
    int64_t length() const { return m_length; }      // frames of one pass
    bool loops() const { return m_loops; }
    const SoundFile* file() const { return m_file.get(); }

    // --- Decoding side (not on the audio thread, `shared` not held).
    // Decodes until AheadFrames past the play frame are in the ring, or the end.
    void feed();
    // Decodes until frame t is in the ring (or the track ends before it).
    void ensure(int64_t t);
    // Restarts at file frame `frame` (first pass): under `shared` the ring is emptied
    // and moved() runs (the caller puts its voice there); then the history before the
    // frame and the first chunk after it are decoded before returning.
    template <class Moved>
    int restart(int64_t frame, Moved moved)
    {
        std::lock_guard<std::mutex> decoding(m_decoding);
        {
            std::lock_guard<std::mutex> lock(m_shared);
            emptyRing(frame);
            moved();
        }
        return decodeFrom(frame);
    }
    int restart(int64_t frame)
    {
        return restart(frame, [] {});
    }

    // --- Mixer side (`shared` held).
    // The frame's channels() floats, or null when it is not decoded (yet, or any more).
    const float* frame(int64_t t) const;
    // Where the voice reads now: decoding keeps AheadFrames before it.
    void setPlayFrame(int64_t t) { m_playFrame = t; }
    // Channel `channel` of frames [end - count, end) into out; frames not in the ring read 0.
    void copyChannel(int64_t end, int count, int channel, float* out) const;
    // First and one-past-last frame in the ring (tests and bounds).
    int64_t firstFrame() const { return m_first; }
    int64_t endFrame() const { return m_end; }
    int64_t capacity() const { return m_capacity; }

private:
    // Decodes one chunk and appends it; false once nothing more will come (end of a
    // non-looping track or a decoding error: the stream then falls silent). Decoder
    // mutex held.
    bool decodeChunk();
    // Appends frames of m_chunk to the ring, dropping the oldest beyond its capacity.
    void publish(int frames);
    // Both with m_decoding held; emptyRing also with m_shared held.
    void emptyRing(int64_t frame);
    int decodeFrom(int64_t frame);

    std::shared_ptr<const SoundFile> m_file;
    std::mutex& m_shared;
    const int64_t m_length;
    const bool m_loops;
    int m_channels;
    int m_sampleRate;
    int64_t m_capacity;  // frames the ring holds

    // Decoder side (m_decoding held):
    std::mutex m_decoding;
    MpegReader m_reader;
    std::vector<float> m_chunk;  // ChunkFrames frames
    bool m_finished;             // nothing more to decode until the next restart
    int64_t m_decodeFile;        // file frame the reader gives next (-1: unknown, after an error)

    // Shared (m_shared held):
    std::vector<float> m_ring;  // m_capacity frames; frame t at slot t % m_capacity
    int64_t m_first;            // oldest frame in the ring
    int64_t m_end;              // one past the newest
    int64_t m_playFrame;
};
