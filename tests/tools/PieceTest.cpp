// Tests of the piece: its sections sit on the bars nearest the scene changes,
// a render stays under the ceiling and starts from silence, and the same source
// renders the same bytes, within one process and across two processes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "support/Process.h"
#include "tools/composer/Piece.h"
#include "tools/composer/WavWriter.h"

namespace {

std::vector<char> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(PieceTest, SectionsStartOnTheBarNearestEachSceneChange)
{
    // Nominal scene starts in seconds.
    const double starts[] = {0.0, 11.28, 33.312, 52.842, 62.842, 77.842};
    const std::vector<Piece::Section>& sections = Piece::sections();
    ASSERT_EQ(sections.size(), 6u);
    EXPECT_NEAR(Piece::barSeconds(), 2.7907, 1e-4);
    for (size_t i = 0; i < sections.size(); ++i) {
        SCOPED_TRACE(sections[i].name);
        double start = sections[i].firstBar * Piece::barSeconds();
        EXPECT_LE(std::fabs(start - starts[i]), Piece::barSeconds() / 2.0);
        EXPECT_LT(sections[i].firstBar, sections[i].endBar);
        if (i > 0) {
            EXPECT_EQ(sections[i].firstBar, sections[i - 1].endBar) << "no gap, no overlap";
        }
    }
    // The last section runs to the end of the piece, which outlasts the last scene.
    EXPECT_GE(sections.back().endBar * Piece::barSeconds(), Piece::LENGTH_SECONDS - 0.1);
    EXPECT_GE(Piece::LENGTH_SECONDS, 104.0);
    EXPECT_LE(Piece::LENGTH_SECONDS, 106.0);
}

TEST(PieceTest, AnExcerptIsUnderTheCeilingStartsSilentAndHasTheRightLength)
{
    float limiterGain = 0.0f;
    StereoBuffer mix = Piece::render(14.0, &limiterGain);
    ASSERT_EQ(mix.frames(), 14u * 44100u);
    EXPECT_GT(limiterGain, 0.0f);
    EXPECT_LE(limiterGain, 1.0f);
    float peak = 0.0f;
    double sum = 0.0;
    for (size_t i = 0; i < mix.frames(); ++i) {
        peak = std::max(peak, std::max(std::fabs(mix.left()[i]), std::fabs(mix.right()[i])));
        sum += mix.left()[i] * mix.left()[i];
    }
    EXPECT_LE(peak, std::pow(10.0f, -1.0f / 20.0f)) << "-1 dBFS ceiling";
    EXPECT_GT(std::sqrt(sum / mix.frames()), 0.01) << "the titles and the drums' entry are audible";
    EXPECT_EQ(mix.left()[0], 0.0f);
    EXPECT_EQ(mix.right()[0], 0.0f);
}

TEST(PieceTest, TheSameSourceRendersTheSameBytes)
{
    // In one process: no state survives a render.
    std::vector<uint8_t> first = WavWriter::encode(Piece::render(6.0), Piece::SAMPLE_RATE);
    std::vector<uint8_t> second = WavWriter::encode(Piece::render(6.0), Piece::SAMPLE_RATE);
    EXPECT_TRUE(first == second);

    // In two processes (different address layouts, fresh memory): the composer
    // program writes identical files.
    const std::string dir = std::string(DEDOZ_BINARY_DIR) + "/tests/tools";
    const std::string a = dir + "/determinism-a.wav";
    const std::string b = dir + "/determinism-b.wav";
    std::remove(a.c_str());
    std::remove(b.c_str());
    for (const std::string& path : {a, b}) {
        Process::Result r = Process::run({COMPOSER_PATH, path, "13"}, {}, 60000);
        ASSERT_TRUE(r.started);
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
    std::vector<char> bytesA = readFile(a);
    std::vector<char> bytesB = readFile(b);
    EXPECT_EQ(bytesA.size(), 44u + 13u * 44100u * 4u);
    EXPECT_TRUE(bytesA == bytesB);
    std::remove(a.c_str());
    std::remove(b.c_str());
}

TEST(PieceTest, ComposerRejectsBadArguments)
{
    Process::Result none = Process::run({COMPOSER_PATH}, {}, 10000);
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_NE(none.err.find("usage"), std::string::npos);
    Process::Result bad = Process::run({COMPOSER_PATH, "/tmp/never.wav", "ten"}, {}, 10000);
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("'ten'"), std::string::npos);
    Process::Result unwritable =
        Process::run({COMPOSER_PATH, "/nonexistent-dir/x.wav", "0.1"}, {}, 10000);
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos);
}
