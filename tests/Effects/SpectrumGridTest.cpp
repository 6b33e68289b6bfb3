// SpectrumGrid: layout and segment order, band lists, spectrum bars and colour waves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "Effects/SpectrumGrid.h"
#include "Zembra/Random.h"

namespace {

const float TOL = 1e-5f;

bool isWhite(const LineVertex& v)
{
    return v.r == 1.0f && v.g == 1.0f && v.b == 1.0f && v.a == 0.7f;
}

void expectColour(const Colour& expected, const LineVertex& v, const char* what)
{
    EXPECT_NEAR(expected.r, v.r, TOL) << what;
    EXPECT_NEAR(expected.g, v.g, TOL) << what;
    EXPECT_NEAR(expected.b, v.b, TOL) << what;
    EXPECT_NEAR(expected.a, v.a, TOL) << what;
}

// Points every band at vertex `point` so a test controls which vertices move.
void pointAllBandsAt(SpectrumGrid& grid, unsigned point)
{
    for (auto& band : grid.m_bands)
        band.fill(point);
}

}  // namespace

TEST(SpectrumGrid, FloorLayoutAndSegmentOrder)
{
    SpectrumGrid grid(100, 100, 1.5f);
    const auto& v = grid.m_lines.m_vertices;
    const auto& idx = grid.m_lines.m_indices;
    ASSERT_EQ(10000u, v.size());
    ASSERT_EQ(2u * 19800u, idx.size());
    EXPECT_EQ(15.0f, grid.m_bandScale);
    EXPECT_EQ(0u, grid.m_currentStep);
    EXPECT_EQ(10000u, grid.m_waveStep.size());
    EXPECT_EQ(10000u, grid.m_targetColour.size());

    // Vertex n = i * depth + j at (i * spacing, 0, j * spacing), column by column.
    EXPECT_FLOAT_EQ(1.5f, v[1].z);
    EXPECT_FLOAT_EQ(0.0f, v[1].x);
    EXPECT_FLOAT_EQ(1.5f, v[100].x);
    EXPECT_FLOAT_EQ(0.0f, v[100].z);
    EXPECT_FLOAT_EQ(148.5f, v[9999].x);
    EXPECT_FLOAT_EQ(148.5f, v[9999].z);
    for (const LineVertex& p : v) {
        ASSERT_EQ(0.0f, p.y);
        ASSERT_EQ(restColour.r, p.r);
        ASSERT_EQ(restColour.a, p.a);
    }
    EXPECT_NEAR(0.45882353f, restColour.g, 1e-7f);

    // Along z column by column, then along x row by row.
    EXPECT_EQ(0u, idx[0]);
    EXPECT_EQ(1u, idx[1]);
    EXPECT_EQ(98u, idx[2 * 98]);
    EXPECT_EQ(99u, idx[2 * 98 + 1]);
    EXPECT_EQ(100u, idx[2 * 99]);
    EXPECT_EQ(101u, idx[2 * 99 + 1]);
    EXPECT_EQ(0u, idx[2 * 9900]);
    EXPECT_EQ(100u, idx[2 * 9900 + 1]);
    EXPECT_EQ(100u, idx[2 * 9901]);
    EXPECT_EQ(200u, idx[2 * 9901 + 1]);
    EXPECT_EQ(1u, idx[2 * 9999]);  // row 1 starts after the 99 segments of row 0
    EXPECT_EQ(101u, idx[2 * 9999 + 1]);
    EXPECT_EQ(9899u, idx[2 * 19799]);
    EXPECT_EQ(9999u, idx[2 * 19799 + 1]);
}

TEST(SpectrumGrid, RectangularGridKeepsColumnsAndRowsApart)
{
    SpectrumGrid grid(3, 5, 2.0f);  // 3 columns (x), 5 rows (z)
    const std::vector<uint32_t> expected = {0, 1,  1,  2,  2,  3,  3,  4,  5,  6,  6, 7, 7,  8, 8,
                                            9, 10, 11, 11, 12, 12, 13, 13, 14, 0,  5, 5, 10, 1, 6,
                                            6, 11, 2,  7,  7,  12, 3,  8,  8,  13, 4, 9, 9,  14};
    EXPECT_EQ(expected, grid.m_lines.m_indices);
    ASSERT_EQ(15u, grid.m_lines.m_vertices.size());
    EXPECT_FLOAT_EQ(4.0f, grid.m_lines.m_vertices[14].x);
    EXPECT_FLOAT_EQ(8.0f, grid.m_lines.m_vertices[14].z);

    // Cell (p, q) is vertex q * width + p: p runs to width - 1, q to depth - 1.
    const Colour c = {0, 0, 0, 1};
    grid.startWave(2, 4, c, 1, 2);
    EXPECT_EQ(1u, grid.m_waveStep[14]);
    grid.startWave(3, 0, c, 1, 2);  // p past the width
    grid.startWave(0, 5, c, 1, 2);  // q past the depth
    unsigned stamped = 0;
    for (unsigned w : grid.m_waveStep)
        stamped += w != 0;
    EXPECT_EQ(1u, stamped);
}

TEST(SpectrumGrid, BandListsAreTheFirst1024DrawsInOrder)
{
    Random::seed(20261207);
    std::vector<unsigned> draws;
    for (int i = 0; i < 1024; ++i)
        draws.push_back(static_cast<unsigned>(Random::next()) % 10000u);
    const int after = Random::next();

    Random::seed(20261207);
    SpectrumGrid grid(100, 100, 1.5f);
    for (unsigned b = 0; b < 16; ++b)
        for (unsigned k = 0; k < 64; ++k)
            ASSERT_EQ(draws[b * 64 + k], grid.m_bands[b][k]) << "band " << b << " entry " << k;
    // Nothing else is drawn: the next scene's draws continue the sequence.
    EXPECT_EQ(after, Random::next());

    // A second grid from the same seed has the same bands.
    Random::seed(20261207);
    SpectrumGrid again(100, 100, 1.5f);
    EXPECT_EQ(grid.m_bands, again.m_bands);
}

TEST(SpectrumGrid, QuietBandsSinkAndDropToZeroInTheBandColour)
{
    SpectrumGrid grid(10, 10, 1.0f);
    const float silence[16] = {};
    // Band b's colour is the target colour of vertex b.
    grid.m_targetColour[0] = {0.1f, 0.2f, 0.3f, 0.4f};
    for (unsigned b = 1; b < 16; ++b)
        grid.m_bands[b].fill(50 + b);
    grid.m_bands[0].fill(40);
    grid.m_bands[0][1] = 41;
    grid.m_bands[0][2] = 42;
    grid.m_bands[0][3] = 43;
    auto& v = grid.m_lines.m_vertices;
    v[41].y = 2.0f;
    v[42].y = 0.4f;
    v[43].y = 0.5f;

    grid.raiseBands(silence);
    EXPECT_EQ(0.0f, v[40].y);  // flat stays flat, recoloured
    expectColour(grid.m_targetColour[0], v[40], "flat point");
    EXPECT_NEAR(1.9f, v[41].y, TOL);
    expectColour(restColour, v[41], "sinking point keeps its colour");
    EXPECT_EQ(0.0f, v[42].y);  // 0.4 is not above 0.4
    expectColour(grid.m_targetColour[0], v[42], "dropped point");
    EXPECT_NEAR(0.4f, v[43].y, TOL);

    // Vertex 40 is listed 61 times in band 0 (entries 0 and 4..63): it sinks once per listing.
    v[40].y = 10.0f;
    grid.raiseBands(silence);
    EXPECT_NEAR(10.0f - 61 * 0.1f, v[40].y, 1e-4f);
}

TEST(SpectrumGrid, LoudBandsSnapUpWithTheFixedThresholdFactor)
{
    SpectrumGrid grid(10, 10, 1.0f);
    pointAllBandsAt(grid, 99);
    grid.m_bands[2].fill(7);
    grid.m_targetColour[2] = {1.0f, 0.5f, 0.25f, 1.0f};
    auto& p = grid.m_lines.m_vertices[7];
    float spectrum[16] = {};

    // 0.2 with scale 8: 15 * 0.2 = 3.0 > 0, so the flat point rises to 1.6.
    grid.m_bandScale = 8.0f;
    spectrum[2] = 0.2f;
    grid.m_bands[2].fill(99);
    grid.m_bands[2][0] = 7;
    grid.raiseBands(spectrum);
    EXPECT_NEAR(1.6f, p.y, TOL);
    expectColour({0.6f, 0.3f, 0.15f, 0.6f}, p, "raised colour is 0.6 x band colour, alpha too");
    // Next call: sinks to 1.5 first, then 3.0 > 1.5 sets it back to 1.6.
    grid.raiseBands(spectrum);
    EXPECT_NEAR(1.6f, p.y, TOL);

    // The test uses 15 whatever the scale: scale 1, height 1.0 sinks to 0.9, and
    // 15 * 0.1 = 1.5 > 0.9 sets it to 0.1 (a scale-based test would keep 0.9).
    grid.m_bandScale = 1.0f;
    spectrum[2] = 0.1f;
    p.y = 1.0f;
    grid.raiseBands(spectrum);
    EXPECT_NEAR(0.1f, p.y, TOL);
    // Band 3 (silent) left vertex 99 flat in band 3's colour.
    EXPECT_EQ(0.0f, grid.m_lines.m_vertices[99].y);
}

TEST(SpectrumGrid, WaveSpreadsAsADiamondOneRingPerStep)
{
    SpectrumGrid grid(100, 100, 1.5f);
    const Colour blue = {0.0f, 0.0f, 0.3f, 1.0f};
    grid.startWave(50, 50, blue, 1, 6);
    EXPECT_EQ(1u, grid.m_currentStep);

    unsigned stamped = 0;
    for (unsigned n = 0; n < 10000; ++n) {
        const int i = n / 100, j = n % 100;
        const unsigned d = std::abs(i - 50) + std::abs(j - 50);
        if (d <= 4) {
            ASSERT_EQ(1 + d, grid.m_waveStep[n]) << "vertex " << n;
            ++stamped;
        } else {
            ASSERT_EQ(0u, grid.m_waveStep[n]) << "vertex " << n;
        }
    }
    EXPECT_EQ(41u, stamped);

    const unsigned ringSize[] = {1, 4, 8, 12, 16};
    for (unsigned step = 1; step <= 5; ++step) {
        grid.stepWave();
        unsigned white = 0;
        for (unsigned n = 0; n < 10000; ++n) {
            if (!isWhite(grid.m_lines.m_vertices[n]))
                continue;
            ++white;
            const unsigned d = std::abs(int(n / 100) - 50) + std::abs(int(n % 100) - 50);
            EXPECT_EQ(step - 1, d) << "white point off the front at step " << step;
        }
        EXPECT_EQ(ringSize[step - 1], white) << "step " << step;
        EXPECT_EQ(step + 1, grid.m_currentStep);
    }

    // A dark stamp settles exactly on its colour and the wave returns to idle.
    for (int k = 0; k < 200 && grid.m_currentStep != 0; ++k)
        grid.stepWave();
    EXPECT_EQ(0u, grid.m_currentStep);
    expectColour(blue, grid.m_lines.m_vertices[5050], "settled start point");
    expectColour(restColour, grid.m_lines.m_vertices[0], "point outside the wave");
    for (unsigned w : grid.m_waveStep)
        ASSERT_EQ(0u, w);
}

// While a wave runs, points it never reached (step 0) are pulled toward their own
// target colour too: 10 % per step from a bright colour, at once from a dark one.
TEST(SpectrumGrid, PointsOutsideTheWaveFadeTowardTheirOwnTarget)
{
    SpectrumGrid grid(100, 100, 1.5f);
    const Colour blue = {0.0f, 0.0f, 0.3f, 1.0f};
    LineVertex& bright = grid.m_lines.m_vertices[7];
    LineVertex& dark = grid.m_lines.m_vertices[8];
    grid.m_targetColour[7] = blue;
    bright.r = bright.g = bright.b = 1.0f;
    bright.a = 0.7f;
    dark.r = dark.g = dark.b = 0.2f;
    grid.startWave(50, 50, restColour, 1, 6);
    ASSERT_EQ(0u, grid.m_waveStep[7]);
    ASSERT_EQ(0u, grid.m_waveStep[8]);

    grid.stepWave();
    expectColour({0.9f, 0.9f, 0.93f, 0.73f}, bright, "bright point, one step toward blue");
    expectColour(restColour, dark, "dark point, settled on its target");
}

TEST(SpectrumGrid, StartsThatDoNothing)
{
    SpectrumGrid grid(100, 100, 1.5f);
    const Colour c = {0, 0, 0, 1};
    grid.startWave(200, 10, c, 1, 6);
    grid.startWave(10, 100, c, 1, 6);
    grid.startWave(10, 10, c, 6, 6);  // step at the limit
    EXPECT_EQ(0u, grid.m_currentStep);
    for (unsigned w : grid.m_waveStep)
        ASSERT_EQ(0u, w);

    // Stepping an idle grid changes nothing.
    const std::vector<LineVertex> before = grid.m_lines.m_vertices;
    grid.stepWave();
    EXPECT_EQ(0u, grid.m_currentStep);
    for (size_t n = 0; n < before.size(); ++n)
        ASSERT_EQ(0, std::memcmp(&before[n], &grid.m_lines.m_vertices[n], sizeof(LineVertex)));

    // A rejected start during a wave leaves the running count alone.
    grid.startWave(20, 20, c, 1, 6);
    grid.stepWave();
    grid.stepWave();
    ASSERT_EQ(3u, grid.m_currentStep);
    grid.startWave(200, 20, c, 1, 6);
    EXPECT_EQ(3u, grid.m_currentStep);
}

TEST(SpectrumGrid, RestartKeepsSmallerStepsAndResetsTheCount)
{
    SpectrumGrid grid(100, 100, 1.5f);
    const Colour c = {0, 0, 0, 1};
    const Colour d = {0.1f, 0.1f, 0.1f, 1};
    grid.startWave(50, 50, c, 1, 6);
    grid.stepWave();
    grid.stepWave();
    // Cell (p, q) is vertex q * 100 + p.
    grid.startWave(52, 50, d, 1, 6);
    EXPECT_EQ(1u, grid.m_currentStep);
    EXPECT_EQ(1u, grid.m_waveStep[50 * 100 + 52]);  // was 3, now the new start
    EXPECT_EQ(2u, grid.m_waveStep[50 * 100 + 53]);  // was 4
    EXPECT_EQ(2u, grid.m_waveStep[50 * 100 + 51]);  // equal step: the old stamp stays
    EXPECT_EQ(1u, grid.m_waveStep[50 * 100 + 50]);
    EXPECT_FLOAT_EQ(0.0f, grid.m_targetColour[50 * 100 + 51].r);
    EXPECT_FLOAT_EQ(0.1f, grid.m_targetColour[50 * 100 + 53].r);
    EXPECT_EQ(5u, grid.m_waveStep[50 * 100 + 56]);  // the new diamond reaches distance 4
    EXPECT_EQ(0u, grid.m_waveStep[50 * 100 + 57]);

    // Step 0 counts as 1, so its neighbours get 2.
    SpectrumGrid zero(10, 10, 1.0f);
    zero.startWave(5, 5, c, 0, 3);
    EXPECT_EQ(1u, zero.m_waveStep[55]);
    EXPECT_EQ(2u, zero.m_waveStep[54]);
    EXPECT_EQ(0u, zero.m_waveStep[53]);
}

TEST(SpectrumGrid, BrightWaveNeverReturnsToIdle)
{
    SpectrumGrid grid(100, 100, 1.5f);
    const Colour red = {1.0f, 0.0f, 0.0f, 0.7f};
    grid.startWave(50, 50, red, 1, 6);
    for (unsigned k = 1; k <= 150; ++k) {
        grid.stepWave();
        ASSERT_EQ(k + 1, grid.m_currentStep);
    }
    const LineVertex& p = grid.m_lines.m_vertices[5050];
    EXPECT_NEAR(1.0f, p.r, 1e-3f);
    EXPECT_NEAR(0.0f, p.g, 1e-3f);
    EXPECT_NEAR(0.0f, p.b, 1e-3f);
    EXPECT_EQ(1u, grid.m_waveStep[5050]);
    EXPECT_EQ(5u, grid.m_waveStep[5054]);

    // A later start resets the count: the old red points flash again as it passes their step.
    grid.startWave(10, 10, red, 1, 6);
    grid.stepWave();
    EXPECT_TRUE(isWhite(grid.m_lines.m_vertices[5050]));
    EXPECT_TRUE(isWhite(grid.m_lines.m_vertices[1010]));
}

TEST(SpectrumGrid, ResetColoursDuringAWaveKeepsItRunning)
{
    SpectrumGrid grid(100, 100, 1.5f);
    const Colour red = {1.0f, 0.0f, 0.0f, 0.7f};
    grid.m_lines.m_vertices[5051].y = 3.0f;
    grid.startWave(50, 50, red, 1, 6);
    grid.stepWave();
    grid.stepWave();
    grid.resetColours();
    for (size_t n = 0; n < grid.m_targetColour.size(); ++n) {
        expectColour(restColour, grid.m_lines.m_vertices[n], "vertex");
        ASSERT_EQ(restColour.r, grid.m_targetColour[n].r);
        ASSERT_EQ(restColour.a, grid.m_targetColour[n].a);
    }
    EXPECT_EQ(3u, grid.m_currentStep);
    EXPECT_EQ(3u, grid.m_waveStep[5052]);
    EXPECT_EQ(3.0f, grid.m_lines.m_vertices[5051].y);

    // The front goes on flashing; behind it the points are already at rest and settle.
    grid.stepWave();
    EXPECT_TRUE(isWhite(grid.m_lines.m_vertices[5052]));
    EXPECT_EQ(0u, grid.m_waveStep[5050]);
    EXPECT_EQ(4u, grid.m_currentStep);
    grid.stepWave();
    // 10 % of the way from white to rest (towards red, green would drop to 0.9).
    const float towardsRest = 0.9f + 0.1f * restColour.g;
    EXPECT_NEAR(towardsRest, grid.m_lines.m_vertices[5052].g, TOL);
    EXPECT_NEAR(towardsRest, grid.m_lines.m_vertices[5052].r, TOL);
}

TEST(SpectrumGrid, FlattenDropsHeightsAndKeepsColours)
{
    SpectrumGrid grid(10, 10, 1.0f);
    auto& v = grid.m_lines.m_vertices;
    v[3].y = 2.5f;
    v[3].r = 0.9f;
    v[77].y = 0.3f;
    const LineVertex* storage = v.data();
    grid.flatten();
    for (const LineVertex& p : v)
        ASSERT_EQ(0.0f, p.y);
    EXPECT_EQ(0.9f, v[3].r);
    EXPECT_EQ(storage, v.data());
}
