// Soundtrack: the piecewise decode gives the samples of a whole-file decode, from
// the start or from a sought frame, then silence.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "Capture/Soundtrack.h"
#include "Music/SoundDecoder.h"
#include "Music/SoundResult.h"

namespace {

const std::string BURSTS = DEDOZ_BINARY_DIR "/fixtures/capture/bursts.mp3";

}  // namespace

TEST(Soundtrack, PiecesEqualTheWholeDecodeThenSilence)
{
    std::vector<float> whole;
    int channels = 0, rate = 0;
    ASSERT_EQ(SoundResult::Ok, SoundDecoder::decodeFile(BURSTS.c_str(), whole, channels, rate));
    Soundtrack track;
    std::string reason;
    ASSERT_TRUE(track.load(BURSTS, reason)) << reason;
    ASSERT_EQ(1, track.channels());

    // Pieces of an encoder's size (1024), past the end; NaN shows a sample never written.
    const size_t piece = 1024, total = whole.size() + 3 * piece;
    std::vector<float> pieces(total / piece * piece + piece,
                              std::numeric_limits<float>::quiet_NaN());
    for (size_t at = 0; at + piece <= pieces.size(); at += piece)
        track.read(pieces.data() + at, piece);
    for (size_t i = 0; i < pieces.size(); ++i)
        ASSERT_EQ(i < whole.size() ? whole[i] : 0.0f, pieces[i]) << "sample " << i;

    // A seek lands on its frame (the decoder's filters restart: within a bit or two).
    const size_t from = 22050 + 7;  // inside the first burst (0.5 to 0.6 s)
    std::vector<float> sought(piece);
    track.seek(from);
    track.read(sought.data(), piece);
    for (size_t i = 0; i < piece; ++i)
        ASSERT_NEAR(whole[from + i], sought[i], 1e-4) << "sample " << from + i;
    track.seek(whole.size() + 5);
    track.read(sought.data(), piece);
    EXPECT_EQ(std::vector<float>(piece, 0.0f), sought);
}
