// SceneSadSpectrumGreet: the one-shot step rule (one more name per 2790 ms), its
// class-wide flags, and what the scene does to the floor grid.
// The flags are never reset, so each case that depends on them runs in a freshly
// started copy of this executable (gtest's "threadsafe" death-test style re-executes
// it): no result depends on which cases ran before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>

#include "Effects/SpectrumGrid.h"
#include "Music/Music.h"
#include "Scenes/SceneSadSpectrumGreet.h"

namespace {

const unsigned START = 1000;  // tick of the scene's first update
const unsigned FRAME = 10;    // ms between updates: every threshold falls on an update

using StepChanges = std::map<unsigned, unsigned>;  // elapsed ms -> new m_step

// Plays a scene to its end, one update per frame after the first at START (and a
// second there when sameTickTwice). Returns the step changes; endElapsed: the last update.
StepChanges play(SceneSadSpectrumGreet& scene, unsigned& endElapsed, bool sameTickTwice)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    StepChanges changes;
    scene.update(grid, music, START);
    if (sameTickTwice)
        scene.update(grid, music, START);
    EXPECT_EQ(0u, scene.step()) << "no step at zero elapsed time";
    bool goesOn = true;
    for (endElapsed = FRAME; goesOn && endElapsed < 30000; endElapsed += FRAME) {
        const unsigned step = scene.step();
        goesOn = scene.update(grid, music, START + endElapsed);
        if (scene.step() != step)
            changes[endElapsed] = scene.step();
        // No fade-out: the fade of the last update under 500 ms holds to the end.
        if (goesOn) {
            EXPECT_FLOAT_EQ(std::min(endElapsed, 490u) / 500.0f, scene.getFade()) << endElapsed;
        }
    }
    endElapsed -= FRAME;
    EXPECT_FALSE(goesOn);
    EXPECT_EQ(7u, scene.step());
    return changes;
}

// Runs body in a new process; the test fails with the child's failed checks, which
// the child writes on standard error for the parent to show.
template <typename Body>
void inFreshProcess(Body body)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            body();
            const testing::TestResult& result =
                *testing::UnitTest::GetInstance()->current_test_info()->result();
            for (int i = 0; i < result.total_part_count(); ++i)
                if (result.GetTestPartResult(i).failed())
                    std::cerr << result.GetTestPartResult(i).line_number() << ": "
                              << result.GetTestPartResult(i).summary() << "\n";
            std::exit(result.Failed() ? 1 : 0);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace

// The first instance of a run: step k waits for more than k x 2790 ms (step 0 for
// any time) and is taken on the second update past that; the first only sets the flag.
TEST(SceneSadSpectrumGreet, StepsOnTheSecondUpdatePastEachThreshold)
{
    inFreshProcess([] {
        SceneSadSpectrumGreet scene;
        unsigned end = 0;
        EXPECT_EQ(
            (StepChanges{
                {20, 1}, {2810, 2}, {5600, 3}, {8390, 4}, {11180, 5}, {13970, 6}, {16760, 7}}),
            play(scene, end, true));
        EXPECT_EQ(19540u, end) << "the camera started at zero elapsed time and runs 19530 ms";
        EXPECT_EQ(0.0f, scene.getFade());
    });
}

// The flags are shared and stay set: a later instance steps on the first update past
// each threshold.
TEST(SceneSadSpectrumGreet, LaterInstanceStepsOnTheFirstUpdatePastEachThreshold)
{
    inFreshProcess([] {
        unsigned end = 0;
        {
            SceneSadSpectrumGreet first;
            play(first, end, false);
        }
        SceneSadSpectrumGreet second;
        EXPECT_EQ(
            (StepChanges{
                {10, 1}, {2800, 2}, {5590, 3}, {8380, 4}, {11170, 5}, {13960, 6}, {16750, 7}}),
            play(second, end, false));
    });
}

// The first update touches nothing; each later one flattens the grid and moves its
// colour waves on by one ring; the last one puts every colour back to rest.
TEST(SceneSadSpectrumGreet, FlattensTheGridWhileRunningAndResetsItsColoursAtTheEnd)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    grid.startWave(50, 50, {0, 0, 1, 1}, 1, 30);
    grid.m_lines.m_vertices[4321].y = 5.0f;
    SceneSadSpectrumGreet scene;
    SpectrumGrid expected = grid;
    scene.update(grid, music, START);

    bool blueLeft = false;  // some point holds the wave's colour until the end
    for (unsigned elapsed = FRAME; elapsed < 30000; elapsed += FRAME) {
        ASSERT_EQ(expected.m_currentStep, grid.m_currentStep) << elapsed;
        ASSERT_EQ(0, std::memcmp(expected.m_lines.m_vertices.data(), grid.m_lines.m_vertices.data(),
                                 grid.m_lines.m_vertices.size() * sizeof(LineVertex)))
            << elapsed;
        grid.m_lines.m_vertices[elapsed % 10000].y = 2.0f;  // a bar raised between updates
        expected = grid;
        if (!scene.update(grid, music, START + elapsed))
            break;
        expected.flatten();
        expected.stepWave();
        blueLeft = std::any_of(grid.m_lines.m_vertices.begin(), grid.m_lines.m_vertices.end(),
                               [](const LineVertex& v) { return v.b > 0.9f && v.r < 0.1f; });
    }
    EXPECT_TRUE(blueLeft) << "nothing left for the reset to undo";
    for (const LineVertex& v : grid.m_lines.m_vertices)
        ASSERT_TRUE(v.r == restColour.r && v.b == restColour.b && v.a == restColour.a);
}
