// SceneSadSpectrumGreet: the one-shot step rule (one more name per 2790 ms), its
// class-wide flags, and what the scene does to the floor grid.
//
// The step flags belong to the class and are never reset, so every case that depends
// on them runs in a freshly started copy of this executable (gtest's "threadsafe"
// death-test style re-executes it): the result does not depend on which cases ran before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>

#include "Effects/SpectrumGrid.h"
#include "Music/Music.h"
#include "Scenes/SceneSadSpectrumGreet.h"

namespace {

const unsigned kStart = 1000;  // tick of the scene's first update
// ms between updates: every threshold (a multiple of 2790 ms) falls on an update.
const unsigned kFrame = 10;

using StepChanges = std::map<unsigned, unsigned>;  // elapsed ms -> new m_step

// Plays a scene to its end at one update per frame after an update at kStart (and a
// second one there when `sameTickTwice`); returns the updates at which m_step changed.
StepChanges playToTheEnd(SceneSadSpectrumGreet& scene, unsigned& endElapsed, bool sameTickTwice)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    StepChanges changes;
    EXPECT_TRUE(scene.update(grid, music, kStart));
    if (sameTickTwice) {
        EXPECT_TRUE(scene.update(grid, music, kStart));
    }
    EXPECT_EQ(0u, scene.m_step) << "no step at zero elapsed time";
    unsigned elapsed = 0;
    bool goesOn = true;
    while (goesOn && elapsed < 30000) {
        elapsed += kFrame;
        const unsigned step = scene.m_step;
        goesOn = scene.update(grid, music, kStart + elapsed);
        if (scene.m_step != step)
            changes[elapsed] = scene.m_step;
        EXPECT_LE(scene.m_step, step + 1) << "at " << elapsed;
        // No fade-out: the value of the last update under 500 ms holds to the end.
        if (goesOn) {
            EXPECT_FLOAT_EQ(std::min(elapsed, 490u) / 500.0f, scene.getFade()) << "at " << elapsed;
        }
    }
    endElapsed = elapsed;
    EXPECT_FALSE(goesOn);
    EXPECT_EQ(7u, scene.m_step);
    return changes;
}

// In the child process: writes the failed checks on standard error, where the parent
// shows them, and ends with 1 if there were any.
[[noreturn]] void exitWithFailures()
{
    const testing::TestResult& result = *testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = 0; i < result.total_part_count(); ++i) {
        const testing::TestPartResult& part = result.GetTestPartResult(i);
        if (part.failed())
            std::cerr << part.file_name() << ":" << part.line_number() << ": " << part.summary() << "\n";
    }
    std::exit(result.Failed() ? 1 : 0);
}

// Runs `body` in a new process of its own and fails when any of its checks failed.
template <typename Body>
void inFreshProcess(Body body)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            body();
            exitWithFailures();
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace

// The first instance of a run: each step takes two updates past its threshold, the
// first of which only sets the class's flag; the fade rises once and then holds.
TEST(SceneSadSpectrumGreet, StepsOnTheSecondUpdatePastEachThreshold)
{
    inFreshProcess([] {
        SceneSadSpectrumGreet scene;
        unsigned end = 0;
        const StepChanges changes = playToTheEnd(scene, end, true);
        // Step 0 waits for any elapsed time, step k for more than k x 2790 ms: an
        // update exactly at a threshold does not count.
        EXPECT_EQ((StepChanges{{20, 1}, {2810, 2}, {5600, 3}, {8390, 4}, {11180, 5}, {13970, 6},
                               {16760, 7}}),
                  changes);
        // The camera started on the update at zero elapsed time; 19530 ms later it ends.
        EXPECT_EQ(19540u, end);
        EXPECT_EQ(0.0f, scene.getFade());
        EXPECT_EQ(0.0f, scene.getAmplification());
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
            playToTheEnd(first, end, false);
        }
        SceneSadSpectrumGreet second;
        const StepChanges changes = playToTheEnd(second, end, false);
        EXPECT_EQ((StepChanges{{10, 1}, {2800, 2}, {5590, 3}, {8380, 4}, {11170, 5}, {13960, 6},
                               {16750, 7}}),
                  changes);
        EXPECT_EQ(19550u, end);
    });
}

// The first update touches nothing; every later one flattens the grid and moves its
// colour waves on by one ring; the last one puts every colour back to rest.
TEST(SceneSadSpectrumGreet, FlattensTheGridWhileRunningAndResetsItsColoursAtTheEnd)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    const Colour blue = {0, 0, 1, 1};
    grid.startWave(50, 50, blue, 1, 30);
    grid.m_lines.m_vertices[4321].y = 5.0f;
    const SpectrumGrid before = grid;
    SceneSadSpectrumGreet scene;

    auto expectSameGrid = [&](const SpectrumGrid& want, unsigned at) {
        const auto& got = grid.m_lines.m_vertices;
        for (size_t n = 0; n < got.size(); ++n) {
            ASSERT_EQ(want.m_lines.m_vertices[n].y, got[n].y) << "vertex " << n << " at " << at;
            ASSERT_EQ(want.m_lines.m_vertices[n].b, got[n].b) << "vertex " << n << " at " << at;
            ASSERT_EQ(want.m_lines.m_vertices[n].r, got[n].r) << "vertex " << n << " at " << at;
        }
        EXPECT_EQ(want.m_currentStep, grid.m_currentStep) << "at " << at;
    };

    ASSERT_TRUE(scene.update(grid, music, kStart));
    expectSameGrid(before, 0);

    unsigned elapsed = 0;
    bool goesOn = true;
    bool blueLeft = false;  // some point still holds the wave's colour before the end
    while (goesOn && elapsed < 30000) {
        elapsed += kFrame;
        // Bars raised between updates are gone after the next one.
        grid.m_lines.m_vertices[(elapsed * 7) % 10000].y = 2.0f;
        SpectrumGrid expected = grid;
        goesOn = scene.update(grid, music, kStart + elapsed);
        if (!goesOn)
            break;
        expected.flatten();
        expected.stepWave();
        if (elapsed < 600 || elapsed % 1000 == 0)
            expectSameGrid(expected, elapsed);
        blueLeft = false;
        for (const LineVertex& v : grid.m_lines.m_vertices)
            blueLeft = blueLeft || (v.b > 0.9f && v.r < 0.1f);
    }
    ASSERT_FALSE(goesOn);
    EXPECT_TRUE(blueLeft) << "the wave's colour was gone before the end: the check below proves nothing";
    for (const LineVertex& v : grid.m_lines.m_vertices) {
        ASSERT_EQ(restColour.r, v.r);
        ASSERT_EQ(restColour.b, v.b);
        ASSERT_EQ(restColour.a, v.a);
    }
}
