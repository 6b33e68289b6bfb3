// SoundStream: the decoded window of one playing sound. Frames are decoded in chunks
// into a ring ahead of the play frame and dropped once they lie further behind it
// than the widest spectrum window and the audio device's buffer, so a stream holds
// about two seconds of samples whatever the file's length (0.6 MiB for 44.1 kHz
// stereo). Owns its decoder; the ring is guarded by the player's lock (`shared`),
// the decoder by its own (see Music.h).
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "Music/MpegReader.h"

class SoundStream {
public:
    // Frames kept behind the play frame: the widest spectrum window (2 x 16384
    // frames) plus the device's buffer between the mixed and the heard frame.
    static constexpr int64_t HISTORY_FRAMES = 49152;
    // Frames decoded ahead of the play frame: 0.74 s at 44.1 kHz.
    static constexpr int64_t AHEAD_FRAMES = 32768;
    static constexpr int CHUNK_FRAMES = 4096;  // frames decoded per turn

    // A decoder on file (length: its exact length in frames) and the ring for its
    // format; nothing is decoded yet. Throws like MpegReader, or std::bad_alloc.
    SoundStream(std::shared_ptr<const SoundFile> file, int64_t length, std::mutex& shared);
    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }  // Hz
    int64_t length() const { return m_length; }      // frames

    // --- Decoding side (`shared` not held; never on the audio thread).
    // Decodes until frame t is in the ring, or the end; feed() until AHEAD_FRAMES
    // past the play frame are.
    void ensure(int64_t t) { decodeUntil(t, false); }
    void feed() { decodeUntil(0, true); }
    // Restarts at `frame`: under `shared` the ring is emptied and moved() runs (the
    // caller puts its playback there); then the history before the frame and the
    // first chunk after it are decoded before it returns.
    template <class Moved>
    void restart(int64_t frame, Moved moved)
    {
        std::lock_guard<std::mutex> decoding(m_decoding);
        {
            std::lock_guard<std::mutex> lock(m_shared);
            m_first = m_end = std::max<int64_t>(0, frame - HISTORY_FRAMES);
            m_playFrame = frame;
            moved();
        }
        seekTo(m_first);
        while (before(frame + CHUNK_FRAMES - 1, false) && decodeChunk()) {
        }
    }
    void restart(int64_t frame)
    {
        restart(frame, [] {});
    }

    // --- Mixer side (`shared` held).
    // The frame's channels() floats, or null when it is not decoded (yet, or any more).
    const float* frame(int64_t t) const;
    // Where the playback reads now: decoding keeps AHEAD_FRAMES before it.
    void setPlayFrame(int64_t t) { m_playFrame = t; }
    // Channel `channel` of frames [end - count, end) into out; frames not in the ring read 0.
    void copyChannel(int64_t end, int count, int channel, float* out) const;
    // First and one-past-last frame in the ring (tests and bounds).
    int64_t firstFrame() const { return m_first; }
    int64_t endFrame() const { return m_end; }
    int64_t capacity() const { return m_capacity; }

private:
    // Decodes chunk by chunk, taking the decoder lock for one at a time, so that a
    // caller that needs a frame at once waits for one chunk at most.
    void decodeUntil(int64_t t, bool ahead);
    // Whether the ring ends before frame t (ahead: before AHEAD_FRAMES past the
    // play frame). Takes `shared`.
    bool before(int64_t t, bool ahead) const;
    // Decodes one chunk and appends it under `shared`; false once nothing more will
    // come (the end, or a decoding error: the stream then falls silent). Decoder lock held.
    bool decodeChunk();
    void seekTo(int64_t frame);  // decoder lock held

    const std::shared_ptr<const SoundFile> m_file;
    std::mutex& m_shared;
    const int64_t m_length;
    const int64_t m_capacity;  // frames the ring holds

    // Decoder side (m_decoding held):
    std::mutex m_decoding;
    MpegReader m_reader;
    const int m_channels;
    const int m_sampleRate;
    std::vector<float> m_chunk;  // CHUNK_FRAMES frames
    bool m_finished;             // nothing more to decode until the next restart
    int64_t m_decodeFrame;       // frame the reader gives next (-1: unknown, after an error)

    // Shared (m_shared held):
    std::vector<float> m_ring;  // m_capacity frames; frame t at slot t % m_capacity
    int64_t m_first;            // oldest frame in the ring
    int64_t m_end;              // one past the newest
    int64_t m_playFrame;
};
