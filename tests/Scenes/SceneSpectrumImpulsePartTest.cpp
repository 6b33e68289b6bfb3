// SceneSpectrumImpulsePart: waves from the eight lowest values (threshold, random
// draws and their order, where they land), and the fade over the one shot.
#include <gtest/gtest.h>

#include <vector>

#include "Effects/SpectrumGrid.h"
#include "Music/Music.h"
#include "support/ScriptedSpectrum.h"
#include "Scenes/SceneSpectrumImpulsePart.h"
#include "Zembra/Random.h"

namespace {

const unsigned START = 1000;  // tick of the scene's first update
const unsigned FRAME = 16;    // ms between updates

using TestScene = ScriptedSpectrum<SceneSpectrumImpulsePart>;

// The first `count` values after seeding with `seed`; the generator is seeded again.
std::vector<int> drawsAfterSeed(uint32_t seed, int count)
{
    Random::seed(seed);
    std::vector<int> draws;
    for (int i = 0; i < count; ++i)
        draws.push_back(Random::next());
    Random::seed(seed);
    return draws;
}

// Updates with a silent spectrum from START to START + elapsed.
void runSilentlyTo(TestScene& scene, SpectrumGrid& grid, Music& music, unsigned elapsed)
{
    for (unsigned t = 0; t <= elapsed; t += FRAME)
        ASSERT_TRUE(scene.update(grid, music, START + t));
}

}  // namespace

TEST(SceneSpectrumImpulsePart, OnlyAValueAboveTwoTenthsStartsAWave)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    TestScene scene;
    runSilentlyTo(scene, grid, music, 1000);
    const std::vector<int> draws = drawsAfterSeed(5, 6);

    scene.next[3] = 0.2f;
    scene.update(grid, music, START + 1016);
    EXPECT_EQ(0u, grid.m_currentStep) << "0.2 is not loud";
    EXPECT_EQ(draws[0], Random::next()) << "nothing was drawn";

    Random::seed(5);
    scene.next[3] = 0.2001f;
    scene.update(grid, music, START + 1032);
    EXPECT_EQ(2u, grid.m_currentStep) << "one wave, stepped once";
    EXPECT_EQ(draws[5], Random::next()) << "one wave draws five values";
}

TEST(SceneSpectrumImpulsePart, EightLoudValuesStartEightWavesAheadOfTheCamera)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    TestScene scene;
    runSilentlyTo(scene, grid, music, 12000);  // late in the move: the camera is past x = 55
    const std::vector<int> draws = drawsAfterSeed(11, 41);
    const SpectrumGrid before = grid;

    for (int i = 0; i < 8; ++i)
        scene.next[i] = 0.3f;
    scene.next[8] = 0.9f;  // the ninth value never starts a wave
    ASSERT_TRUE(scene.update(grid, music, START + 12016));
    EXPECT_EQ(draws[40], Random::next()) << "exactly 40 draws";

    // The waves in index order, each from its own five draws (red, green, blue, column,
    // row), at the camera's position of this update.
    const Vector3 camera = scene.camera(0).getPosition();
    EXPECT_GT(camera.x, 55.0f);
    SpectrumGrid expected = before;
    expected.m_bandScale = 8.0f;
    expected.raiseBands(scene.spectrum());
    for (int k = 0; k < 8; ++k) {
        const int* r = &draws[5 * k];
        const Colour colour = {r[0] / 32767.0f, r[1] / 32767.0f, r[2] / 32767.0f, 0.7f};
        expected.startWave(static_cast<unsigned>(20.0 + 10.0 * r[4] / 32767),
                           static_cast<unsigned>(20.0 * r[3] / 32767 + camera.x / 1.5), colour, 1,
                           6);
    }
    expected.stepWave();
    EXPECT_EQ(expected.m_waveStep, grid.m_waveStep);
    EXPECT_EQ(expected.m_currentStep, grid.m_currentStep);
    for (size_t n = 0; n < grid.m_waveStep.size(); ++n) {
        const LineVertex& got = grid.m_lines.m_vertices[n];
        const LineVertex& want = expected.m_lines.m_vertices[n];
        ASSERT_TRUE(want.r == got.r && want.g == got.g && want.b == got.b && want.y == got.y) << n;
    }

    // Found on the grid alone: the eight wave centres (step 1) lie on the strip
    // z = 30 to 45, from the camera's x (to the cell) to 30 units beyond it.
    int centres = 0;
    for (unsigned n = 0; n < grid.m_waveStep.size(); ++n) {
        if (grid.m_waveStep[n] != 1)
            continue;
        ++centres;
        const float x = 1.5f * (n / grid.m_depth), z = 1.5f * (n % grid.m_depth);
        EXPECT_TRUE(x > camera.x - 1.5f && x <= camera.x + 30.0f) << "x " << x;
        EXPECT_TRUE(z >= 30.0f && z <= 45.0f) << "z " << z;
    }
    EXPECT_EQ(8, centres);
}

TEST(SceneSpectrumImpulsePart, FullBrightnessBetweenTheFadesOfItsOneShot)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    TestScene scene;
    // The first update already starts the camera and reads the spectrum.
    EXPECT_TRUE(scene.update(grid, music, START));
    EXPECT_EQ(0.0f, scene.getFade());
    EXPECT_EQ(START, scene.camera(0).startTime());
    EXPECT_EQ(1, scene.reads);

    unsigned elapsed = 0;
    bool goesOn = true;
    while (goesOn && elapsed < 16000) {
        elapsed += FRAME;
        goesOn = scene.update(grid, music, START + elapsed);
        if (elapsed == 256) {
            EXPECT_FLOAT_EQ(256 / 500.0f, scene.getFade());
        } else if (elapsed > 500 && elapsed <= 14500) {
            ASSERT_EQ(1.0f, scene.getFade()) << "at " << elapsed;  // set, not held
        } else if (elapsed == 14992) {
            EXPECT_FLOAT_EQ(8 / 500.0f, scene.getFade());
        }
    }
    EXPECT_FALSE(goesOn);
    EXPECT_EQ(15008u, elapsed);
    EXPECT_EQ(0.0f, scene.getFade());
}
