// SoundStream: the streamed frames are those of a whole-file decode, across chunk and
// ring boundaries and after restarts; the ring stays bounded.
#include <gtest/gtest.h>

#include <mutex>

#include "Music/SoundStream.h"
#include "SoundLayerSupport.h"

namespace {

// After a seek the decoder rebuilds its filter state and a sample may differ from a
// straight decode's in its last bits (2e-7 seen); a frame from elsewhere differs by
// far more (neighbouring samples of the fixtures' tones by 0.01 and up).
const float SEEK_TOLERANCE = 1e-6f;

// Follows the stream from frame `from` to `to` as a mixer would (play frame moved,
// feed called) and compares every frame with the whole decode: exactly, or within
// `tolerance` where the stream has seeked.
void expectFramesOf(const Decoded& whole, SoundStream& stream, std::mutex& shared, int64_t from,
                    int64_t to, float tolerance = 0.0f)
{
    for (int64_t t = from; t < to; t += 1000) {
        {
            std::lock_guard<std::mutex> lock(shared);
            stream.setPlayFrame(t);
        }
        stream.feed();
        std::lock_guard<std::mutex> lock(shared);
        for (int64_t f = t; f < std::min(to, t + 1000); ++f) {
            const float* frame = stream.frame(f);
            ASSERT_NE(nullptr, frame) << "frame " << f;
            for (int c = 0; c < whole.channels; ++c)
                ASSERT_NEAR(whole.samples[static_cast<size_t>(f * whole.channels + c)], frame[c],
                            tolerance)
                    << "frame " << f << " channel " << c;
        }
    }
}

}  // namespace

TEST(SoundStream, FramesEqualTheWholeDecodeAcrossChunksAndRestarts)
{
    for (const char* fixture : {"late-tone.mp3", "sine1k-stereo.mp3", "tone22k-stereo.mp3"}) {
        SCOPED_TRACE(fixture);
        const Decoded whole = decodeWhole(fixture);
        std::mutex shared;
        auto stream = openStream(fixture, whole.frames(), shared);
        ASSERT_EQ(whole.channels, stream->channels());
        ASSERT_EQ(whole.sampleRate, stream->sampleRate());
        expectFramesOf(whole, *stream, shared, 0, whole.frames());
        // Nothing past the end.
        stream->ensure(whole.frames() + 10);
        std::lock_guard<std::mutex> lock(shared);
        EXPECT_EQ(whole.frames(), stream->endFrame());
        EXPECT_EQ(nullptr, stream->frame(whole.frames()));
    }

    // A restart decodes the frames before the new position (the spectrum's) and after it.
    const Decoded whole = decodeWhole("late-tone.mp3");
    std::mutex shared;
    auto stream = openStream("late-tone.mp3", whole.frames(), shared);
    for (int64_t at : {int64_t(100000), int64_t(777), int64_t(60001), whole.frames() - 5}) {
        SCOPED_TRACE(at);
        bool moved = false;
        stream->restart(at, [&] { moved = true; });
        EXPECT_TRUE(moved);
        const int64_t history = std::max<int64_t>(0, at - SoundStream::HISTORY_FRAMES);
        {
            std::lock_guard<std::mutex> lock(shared);
            EXPECT_EQ(history, stream->firstFrame());
            EXPECT_GE(stream->endFrame(), std::min(whole.frames(), at + SoundStream::CHUNK_FRAMES));
        }
        expectFramesOf(whole, *stream, shared, history, std::min(whole.frames(), at + 20000),
                       SEEK_TOLERANCE);
    }
}

TEST(SoundStream, RingStaysBoundedBehindAndAheadOfThePlayFrame)
{
    const Decoded whole = decodeWhole("late-tone.mp3");  // 132300 frames: the ring wraps
    ASSERT_GT(whole.frames(),
              SoundStream::HISTORY_FRAMES + SoundStream::AHEAD_FRAMES + SoundStream::CHUNK_FRAMES);
    std::mutex shared;
    auto stream = openStream("late-tone.mp3", whole.frames(), shared);
    for (int64_t play = 0; play < whole.frames(); play += 3001) {
        {
            std::lock_guard<std::mutex> lock(shared);
            stream->setPlayFrame(play);
        }
        stream->feed();
        std::lock_guard<std::mutex> lock(shared);
        const int64_t end = std::min(whole.frames(), play + SoundStream::AHEAD_FRAMES);
        EXPECT_GE(stream->endFrame(), end) << "play " << play;
        EXPECT_LT(stream->endFrame(), play + SoundStream::AHEAD_FRAMES + SoundStream::CHUNK_FRAMES);
        EXPECT_LE(stream->endFrame() - stream->firstFrame(), stream->capacity());
        // The history the spectrum and the device need is still there.
        EXPECT_LE(stream->firstFrame(), std::max<int64_t>(0, play - SoundStream::HISTORY_FRAMES))
            << "play " << play;
    }
}

TEST(SoundStream, RestartAfterTheEndDecodesTheFileAgain)
{
    const Decoded whole = decodeWhole("tone22k-stereo.mp3");
    std::mutex shared;
    auto stream = openStream("tone22k-stereo.mp3", whole.frames(), shared);
    expectFramesOf(whole, *stream, shared, 0, whole.frames());
    stream->restart(1000);
    expectFramesOf(whole, *stream, shared, 1000, whole.frames(), SEEK_TOLERANCE);
    stream->restart(0);
    expectFramesOf(whole, *stream, shared, 0, whole.frames(), SEEK_TOLERANCE);
}
