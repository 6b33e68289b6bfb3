// SceneSadSpectrum: first update, fade cycle against the shot cuts, bands from the music.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "Effects/SpectrumGrid.h"
#include "Music/Music.h"
#include "Music/MusicFixtures.h"
#include "Scenes/SceneSadSpectrum.h"

namespace {

const unsigned START = 1000;  // tick of the scene's first update
const unsigned FRAME = 16;    // ms between updates

}  // namespace

TEST(SceneSadSpectrum, FirstUpdateOnlyRecordsTheStart)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    SceneSadSpectrum scene;
    const unsigned point = grid.m_bands[0][0];
    grid.m_lines.m_vertices[point].y = 2.0f;

    // A first update at tick 0 cannot be told from "not started": the next one starts again.
    EXPECT_TRUE(scene.update(grid, music, 0));
    EXPECT_EQ(0u, scene.startTime());

    EXPECT_TRUE(scene.update(grid, music, START));
    EXPECT_EQ(START, scene.startTime());
    EXPECT_EQ(0.0f, scene.getFade());
    EXPECT_EQ(0.0f, scene.getAmplification());
    EXPECT_EQ(0u, scene.camera(0).startTime());         // the camera waits for the next frame
    EXPECT_EQ(2.0f, grid.m_lines.m_vertices[point].y);  // the grid is not touched

    EXPECT_TRUE(scene.update(grid, music, START + FRAME));
    EXPECT_EQ(START + FRAME, scene.camera(0).startTime());
    EXPECT_FLOAT_EQ(FRAME / 500.0f, scene.getFade());
    EXPECT_NE(2.0f, grid.m_lines.m_vertices[point].y);  // the bands moved
}

// The four sweeps: each camera starts at its first view and ends, its duration
// later, at its last one; all look with y up.
TEST(SceneSadSpectrum, ShotsSweepBetweenTheirFirstAndLastViews)
{
    const struct {
        Vector3 startPosition, endPosition, startTarget, endTarget;
        unsigned duration;
    } shots[] = {
        {{92, 4, 56}, {40, 5.5f, 48}, {86, 1, 52}, {34, 1, 48}, 5500},
        {{52, 5.5f, 48}, {104, 6.5f, 96}, {52, 1, 67}, {12, 0, 67}, 5500},
        {{48, 8, 48}, {96, 8, 48}, {38, 0, 38}, {28, 0, 38}, 5500},
        {{56, 4, 104}, {12, 5.5f, 47}, {23, 1, 56}, {46, 1, 29}, 5532},
    };
    auto expectAt = [](const Vector3& want, const Vector3& got, const char* what) {
        EXPECT_FLOAT_EQ(want.x, got.x) << what;
        EXPECT_FLOAT_EQ(want.y, got.y) << what;
        EXPECT_FLOAT_EQ(want.z, got.z) << what;
    };
    SceneSadSpectrum scene;
    ASSERT_EQ(4u, scene.shotCount());
    for (unsigned i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << "shot " << i);
        LinearCamera camera = scene.camera(i);  // a copy: the test moves it by hand
        expectAt(shots[i].startPosition, camera.getPosition(), "first position");
        expectAt(shots[i].startTarget, camera.getDirection(), "first target");
        expectAt({0, 1, 0}, camera.getUp(), "up");
        ASSERT_TRUE(camera.update(START));
        ASSERT_TRUE(camera.update(START + shots[i].duration));
        EXPECT_FALSE(camera.update(START + shots[i].duration + 1));
        expectAt(shots[i].endPosition, camera.getPosition(), "last position");
        expectAt(shots[i].endTarget, camera.getDirection(), "last target");
    }
}

TEST(SceneSadSpectrum, FadeCycleRunsAgainstTheShotCuts)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    SceneSadSpectrum scene;
    ASSERT_EQ(4u, scene.shotCount());
    EXPECT_EQ(5532u, scene.camera(3).m_duration);

    std::vector<unsigned> cuts;  // elapsed ms of the updates that changed the shot
    std::vector<float> fadeAtCut;
    float darkest[4] = {1, 1, 1, 1};  // around 5000, 10000, 15000, 20000 ms
    float heldFade = -1.0f;
    unsigned elapsed = 0;
    bool goesOn = scene.update(grid, music, START);
    while (goesOn && elapsed < 30000) {
        elapsed += FRAME;
        const unsigned shot = scene.currentShot();
        goesOn = scene.update(grid, music, START + elapsed);
        if (!goesOn)
            break;
        if (scene.currentShot() != shot) {
            cuts.push_back(elapsed);
            fadeAtCut.push_back(scene.getFade());
        }
        for (unsigned k = 1; k <= 4; ++k)
            if (elapsed + 100 >= 5000 * k && elapsed <= 5000 * k + 100)
                darkest[k - 1] = std::min(darkest[k - 1], scene.getFade());
        // Between 500 and 4500 ms into a cycle the fade holds its last fade-in value.
        const unsigned phase = elapsed % 5000;
        if (phase >= 500 && phase <= 4500) {
            if (phase < 500 + FRAME)
                heldFade = scene.getFade();
            EXPECT_EQ(heldFade, scene.getFade()) << "at " << elapsed;
        }
        if (elapsed == 256) {
            EXPECT_NEAR(0.512f, scene.getFade(), 1e-6f);  // fading in
        }
        if (elapsed == 4752) {
            EXPECT_NEAR(0.496f, scene.getFade(), 1e-6f);  // fading out
        }
        EXPECT_EQ(0.0f, scene.getAmplification());
    }

    // Each camera starts on the update after the previous one ended, and ends on the
    // first update more than its duration after its own start.
    EXPECT_EQ((std::vector<unsigned>{5520, 11040, 16560}), cuts);
    EXPECT_EQ(22112u, elapsed) << "the scene ends when the 5532 ms shot does";
    EXPECT_FALSE(goesOn);
    EXPECT_EQ(0.0f, scene.getFade());
    EXPECT_EQ(4u, scene.currentShot());
    // The cuts come at full brightness, the dark moments between them.
    for (float fade : fadeAtCut)
        EXPECT_GT(fade, 0.95f);
    for (float fade : darkest)
        EXPECT_LT(fade, 0.02f);
}

TEST(SceneSadSpectrum, RaisesTheBandsFromTheMusicSpectrum)
{
    // A real player on a generated fixture: a full-scale sine at the centre of band 2.
    Music music;
    ASSERT_TRUE(music.init());
    ASSERT_TRUE(music.load(musicFixture("sine86-full.mp3").c_str()));
    SpectrumGrid grid(100, 100, 1.5f);
    SceneSadSpectrum scene;
    scene.update(grid, music, START);
    music.play();
    // Let the analysis window fill with the tone (the sound lasts 1.5 s).
    std::this_thread::sleep_for(std::chrono::milliseconds(150));

    const SpectrumGrid before = grid;
    ASSERT_TRUE(scene.update(grid, music, START + FRAME));
    music.stop();

    const float* spectrum = scene.spectrum();
    EXPECT_GT(spectrum[2], 0.5f) << "the scene read the playing spectrum";
    EXPECT_LT(spectrum[10], 0.05f);

    // The grid moved exactly as raiseBands moves it with that spectrum, at scale 15.
    SpectrumGrid expected = before;
    expected.raiseBands(spectrum);
    const auto& got = grid.m_lines.m_vertices;
    const auto& want = expected.m_lines.m_vertices;
    for (size_t n = 0; n < got.size(); ++n) {
        ASSERT_EQ(want[n].y, got[n].y) << "vertex " << n;
        ASSERT_EQ(want[n].r, got[n].r) << "vertex " << n;
        ASSERT_EQ(want[n].a, got[n].a) << "vertex " << n;
    }
    EXPECT_EQ(15.0f, grid.m_bandScale);
    // The last listing of a point decides its height: find a point that band 2 lists
    // and no later band does.
    unsigned raised = 0;
    for (unsigned n : grid.m_bands[2]) {
        bool later = false;
        for (unsigned b = 3; b < 16; ++b)
            later = later || std::count(grid.m_bands[b].begin(), grid.m_bands[b].end(), n) > 0;
        if (later)
            continue;
        EXPECT_NEAR(15.0f * spectrum[2], got[n].y, 1e-4f);
        ++raised;
    }
    EXPECT_GT(raised, 32u);
}
