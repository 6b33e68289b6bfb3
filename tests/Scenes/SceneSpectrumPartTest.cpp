// SceneSpectrumPart: the shot schedule and its fades, the pulse, and the trail table.
#include <gtest/gtest.h>

#include "Effects/SpectrumGrid.h"
#include "Music/Music.h"
#include "support/ScriptedSpectrum.h"
#include "Scenes/SceneSpectrumPart.h"

namespace {

const unsigned START = 1000;  // tick of the scene's first update
const unsigned FRAME = 16;    // ms between updates

using TestScene = ScriptedSpectrum<SceneSpectrumPart>;

}  // namespace

TEST(SceneSpectrumPart, ScheduleMovesOnByTheShotAndFadesHoldBetweenEdges)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    TestScene scene;
    // The first update records the start and moves the trails, nothing else.
    EXPECT_TRUE(scene.update(grid, music, START));
    EXPECT_EQ(0, scene.reads);
    EXPECT_EQ(0u, scene.camera(0).startTime());
    EXPECT_EQ(1u, scene.trail(11).count());

    unsigned elapsed = 0, cut = 0;
    float held = -1.0f;
    bool goesOn = true;
    while (goesOn && elapsed < 12000) {
        elapsed += FRAME;
        const unsigned shot = scene.currentShot();
        goesOn = scene.update(grid, music, START + elapsed);
        if (goesOn && scene.currentShot() != shot) {
            cut = elapsed;
            // One nominal shot later, although the shot took longer; the second
            // shot fades in from there, not from its camera's start.
            EXPECT_EQ(START + 5000, scene.startTime());
            EXPECT_FLOAT_EQ((elapsed - 5000) / 500.0f, scene.getFade());
        }
        const unsigned phase = (elapsed - (scene.startTime() - START)) % 5000;
        if (goesOn && phase <= 499) {
            held = scene.getFade();
        } else if (goesOn && phase <= 4500) {
            EXPECT_EQ(held, scene.getFade()) << "at " << elapsed;
        }
    }
    EXPECT_EQ(5024u, cut);
    EXPECT_EQ(10048u, elapsed) << "the second camera starts a frame after the cut";
    EXPECT_FALSE(goesOn);
    EXPECT_EQ(0.0f, scene.getFade());
    // The trails moved on every update, the finishing one included.
    EXPECT_NEAR((elapsed / FRAME + 1) * 0.01f, scene.trail(0).t(), 1e-3f);
}

TEST(SceneSpectrumPart, PulseBandScaleAndTrails)
{
    Music music;
    SpectrumGrid grid(100, 100, 1.5f);
    TestScene scene;
    unsigned time = START;
    scene.update(grid, music, time);

    // Exactly 0.25 in the third value is a beat, and holds the pulse at 1.0.
    scene.next[2] = 0.25f;
    scene.next[15] = 0.5f;
    for (int i = 0; i < 3; ++i) {
        scene.update(grid, music, time += FRAME);
        EXPECT_EQ(1.0f, scene.getAmplification());
    }
    // Band 15 is raised last, so every point it lists stands at 0.5 x 10.
    for (unsigned n : grid.m_bands[15])
        EXPECT_EQ(5.0f, grid.m_lines.m_vertices[n].y);

    // Just below: no beat; the pulse falls by 0.04 per update to 0 and stays there.
    scene.next[2] = 0.2499f;
    int updates = 0;
    for (float previous = 1.0f; scene.getAmplification() > 0.0f && updates < 100; ++updates) {
        scene.update(grid, music, time += FRAME);
        if (scene.getAmplification() > 0.0f) {
            EXPECT_NEAR(previous - 0.04f, scene.getAmplification(), 1e-5f);
        }
        previous = scene.getAmplification();
    }
    EXPECT_TRUE(updates == 25 || updates == 26) << updates;
    scene.update(grid, music, time += FRAME);
    EXPECT_EQ(0.0f, scene.getAmplification());

    // First and last trail of each group: centre, colour and phase of the first point.
    struct Expected {
        unsigned index;
        Vector3 centre;
        unsigned colour;
        float phase;
    };
    for (const Expected& e :
         {Expected{0, {20, 1.0f, 20}, 0, 0.2f}, Expected{5, {20, 0.95f, 20}, 5, 1.1f},
          Expected{6, {10, 2.0f, 10}, 0, 1.2f}, Expected{11, {10, 1.95f, 10}, 5, 2.1f}}) {
        const TrailPoint& first = scene.trail(e.index).points()[0];
        const Vector3 at = SpectrumTrail::curvePoint(e.centre, 0.0f, e.phase);
        EXPECT_FLOAT_EQ(at.x, first.x) << "trail " << e.index;
        EXPECT_NEAR(at.y - 0.002f * first.age, first.y, 1e-4f) << "trail " << e.index;
        EXPECT_FLOAT_EQ(0.3f * trailColours[e.colour].g, first.g) << "trail " << e.index;
    }
}
