// SceneSad: the title fade cycle, the text of each shot and the end of the scene.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Effects/SpectrumGrid.h"
#include "Music/Music.h"
#include "Scenes/SceneSad.h"

namespace {

const unsigned kStart = 1000;  // tick of the scene's first update
const unsigned kFrame = 16;    // ms between updates

}  // namespace

// Fade-in over 500 ms, a hold up to 570 ms, then a fade-out over 2250 ms, on a cycle
// counted from the first update; the first update also starts the first shot.
TEST(SceneSad, FadeRisesHoldsAndFallsOverEachCycle)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    SceneSad scene;

    // A first update at tick 0 cannot be told from "not started": the next one starts again.
    EXPECT_TRUE(scene.update(grid, music, 0));
    EXPECT_EQ(0u, scene.m_startTime);

    EXPECT_TRUE(scene.update(grid, music, kStart));
    EXPECT_EQ(kStart, scene.m_startTime);
    EXPECT_EQ(kStart, scene.m_cameras[0]->m_startTime);
    EXPECT_EQ(0.0f, scene.getFade());

    EXPECT_TRUE(scene.update(grid, music, kStart + 499));
    EXPECT_FLOAT_EQ(499.0f / 500.0f, scene.getFade());
    EXPECT_TRUE(scene.update(grid, music, kStart + 540));
    EXPECT_FLOAT_EQ(499.0f / 500.0f, scene.getFade()) << "held between 500 and 570 ms";
    EXPECT_TRUE(scene.update(grid, music, kStart + 571));
    EXPECT_FLOAT_EQ(2249.0f / 2250.0f, scene.getFade());
    EXPECT_TRUE(scene.update(grid, music, kStart + 2819));
    EXPECT_FLOAT_EQ(1.0f / 2250.0f, scene.getFade());
    EXPECT_EQ(0u, scene.m_currentCamera);

    // More than 2820 ms after its start the first shot ends; the next cycle begins.
    EXPECT_TRUE(scene.update(grid, music, kStart + 2821));
    EXPECT_EQ(1u, scene.m_currentCamera);
    EXPECT_EQ(1u, scene.m_step);
    EXPECT_FLOAT_EQ(1.0f / 500.0f, scene.getFade());
    EXPECT_EQ(0.0f, scene.getAmplification());
}

// One title per shot, in order; the scene ends with the fourth shot at fade 0, and
// leaves the grid exactly as it found it.
TEST(SceneSad, EachShotShowsItsTitleAndTheFourthEndsTheScene)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    grid.m_lines.m_vertices[1234].y = 3.0f;
    grid.startWave(20, 20, {1, 0, 0, 1}, 1, 5);
    const SpectrumGrid before = grid;
    SceneSad scene;

    std::vector<std::string> titles;
    std::vector<unsigned> cuts;  // elapsed ms of the updates that changed the shot
    ASSERT_NE(nullptr, scene.currentTitle());
    titles.push_back(scene.currentTitle()->text);
    unsigned elapsed = 0;
    bool goesOn = scene.update(grid, music, kStart);
    while (goesOn && elapsed < 20000) {
        elapsed += kFrame;
        const unsigned shot = scene.m_currentCamera;
        goesOn = scene.update(grid, music, kStart + elapsed);
        if (goesOn && scene.m_currentCamera != shot) {
            cuts.push_back(elapsed);
            ASSERT_NE(nullptr, scene.currentTitle());
            titles.push_back(scene.currentTitle()->text);
        }
        EXPECT_EQ(scene.m_currentCamera, scene.m_step);
    }

    EXPECT_EQ((std::vector<std::string>{"Orvalek", "Presents", "A new demo", "Tovane"}), titles);
    // Shot 0 starts on the first update; each later one on the update after a cut, and
    // each ends on the first update more than 2820 ms after its start.
    EXPECT_EQ((std::vector<unsigned>{2832, 5680, 8528}), cuts);
    EXPECT_EQ(11376u, elapsed);
    EXPECT_FALSE(goesOn);
    EXPECT_EQ(0.0f, scene.getFade());
    EXPECT_EQ(4u, scene.m_step);
    EXPECT_EQ(nullptr, scene.currentTitle());

    const auto& got = grid.m_lines.m_vertices;
    const auto& want = before.m_lines.m_vertices;
    for (size_t n = 0; n < got.size(); ++n) {
        ASSERT_EQ(want[n].y, got[n].y) << "vertex " << n;
        ASSERT_EQ(want[n].g, got[n].g) << "vertex " << n;
    }
    EXPECT_EQ(before.m_currentStep, grid.m_currentStep);
}
