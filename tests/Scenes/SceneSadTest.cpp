// SceneSad: the title fade cycle, the text of each shot and the end of the scene.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Effects/SpectrumGrid.h"
#include "Music/Music.h"
#include "Scenes/SceneSad.h"

namespace {

const unsigned START = 1000;  // tick of the scene's first update

}  // namespace

// In over 500 ms, held to 570 ms (phase 570 still held), out over 2250 ms, on a
// cycle from the first update, which also starts the first shot.
TEST(SceneSad, FadeRisesHoldsAndFallsOverEachCycle)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    SceneSad scene;
    EXPECT_TRUE(scene.update(grid, music, START));
    EXPECT_EQ(START, scene.camera(0).startTime());

    const std::vector<std::pair<unsigned, float>> fades = {
        {0, 0.0f},           {499, 499 / 500.0f},   {540, 499 / 500.0f},
        {570, 499 / 500.0f}, {571, 2249 / 2250.0f}, {2819, 1 / 2250.0f},
        {2821, 1 / 500.0f},  // the first shot has ended: a new cycle
    };
    for (const auto& [phase, fade] : fades) {
        EXPECT_TRUE(scene.update(grid, music, START + phase));
        EXPECT_FLOAT_EQ(fade, scene.getFade()) << "at " << phase;
    }
    EXPECT_EQ(1u, scene.step());
}

// One title per shot, in order; the fourth shot's end ends the scene at fade 0,
// and the grid is left exactly as it was.
TEST(SceneSad, EachShotShowsItsTitleAndTheFourthEndsTheScene)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    grid.m_lines.m_vertices[1234].y = 3.0f;
    grid.startWave(20, 20, {1, 0, 0, 1}, 1, 5);
    const SpectrumGrid before = grid;
    SceneSad scene;

    std::vector<std::string> titles = {scene.currentTitle()->text};
    std::vector<unsigned> cuts;  // elapsed ms of the updates that changed the shot
    unsigned elapsed = 0;
    bool goesOn = scene.update(grid, music, START);
    while (goesOn && elapsed < 20000) {
        elapsed += 16;
        const unsigned step = scene.step();
        goesOn = scene.update(grid, music, START + elapsed);
        if (goesOn && scene.step() != step) {
            cuts.push_back(elapsed);
            ASSERT_NE(nullptr, scene.currentTitle()) << "no title for step " << scene.step();
            titles.push_back(scene.currentTitle()->text);
        }
    }
    EXPECT_EQ((std::vector<std::string>{"Orvalek", "Presents", "A new demo", "Tovane"}), titles);
    // Each shot ends on the first update more than 2820 ms after its start, and the
    // next starts on the update after.
    EXPECT_EQ((std::vector<unsigned>{2832, 5680, 8528}), cuts);
    EXPECT_EQ(11376u, elapsed);
    EXPECT_FALSE(goesOn);
    EXPECT_EQ(0.0f, scene.getFade());
    EXPECT_EQ(nullptr, scene.currentTitle());
    EXPECT_EQ(0, std::memcmp(before.m_lines.m_vertices.data(), grid.m_lines.m_vertices.data(),
                             grid.m_lines.m_vertices.size() * sizeof(LineVertex)));
}
