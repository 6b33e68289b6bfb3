// The show as addDemoScenes puts it together, played in-process on a fixed 60 fps
// clock without drawing (as the capture plays it): the six scenes in their order,
// their shots' length, and when each scene takes over and the show ends.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "Demo/DemoContent.h"
#include "Music/Music.h"
#include "Scenes/ScenePartWorld.h"
#include "Scenes/SceneManager.h"
#include "Scenes/SceneSad.h"
#include "Scenes/SceneSadSpectrum.h"
#include "Scenes/SceneSadSpectrumGreet.h"
#include "Scenes/SceneSpectrumImpulsePart.h"
#include "Scenes/SceneSpectrumPart.h"
#include "Zembra/Random.h"

namespace {

// Nominal length of each scene's shots, in ms, in playing order: titles (4 x 2820),
// sweep, greetings (7 x 2790), the two trail scenes and the world scene.
const unsigned SCENE_MS[6] = {11280, 22032, 19530, 10000, 15000, 25000};
const unsigned SHOW_MS = 102842;
const unsigned START_TICK = 1000;  // a scene takes a start time of 0 for "not started"

unsigned tickOf(unsigned frame)
{
    return START_TICK + (frame * 1000 + 30) / 60;
}

}  // namespace

TEST(Show, SixScenesInPlayingOrderWhoseShotsLast102842Ms)
{
    Random::seed(42);
    SceneManager scenes;
    addDemoScenes(scenes);
    ASSERT_EQ(6u, scenes.sceneCount());

    const std::vector<std::string> expected = {typeid(SceneSad).name(),
                                               typeid(SceneSadSpectrum).name(),
                                               typeid(SceneSadSpectrumGreet).name(),
                                               typeid(SceneSpectrumPart).name(),
                                               typeid(SceneSpectrumImpulsePart).name(),
                                               typeid(ScenePartWorld).name()};
    Music music;  // never initialised: a silent spectrum
    unsigned total = 0;
    std::vector<unsigned> starts;  // ms from the show's start at which each scene took over
    std::vector<unsigned> shotCounts;
    unsigned frame = 0;
    for (unsigned k = 0; k < 6; ++k) {
        ASSERT_EQ(k, scenes.currentIndex());
        starts.push_back(tickOf(frame) - START_TICK);
        Scene& scene = scenes.currentScene();
        EXPECT_EQ(expected[k], typeid(scene).name()) << "scene " << k;
        const auto* shots = dynamic_cast<ShotScene*>(&scene);
        ASSERT_NE(nullptr, shots) << "scene " << k;
        unsigned length = 0;
        for (unsigned shot = 0; shot < shots->shotCount(); ++shot)
            length += shots->camera(shot).m_duration;
        EXPECT_EQ(SCENE_MS[k], length) << "scene " << k;
        shotCounts.push_back(shots->shotCount());
        total += length;
        // Play the scene out: the next one is current after the update that ends it.
        while (scenes.currentIndex() == k && !scenes.update(music, tickOf(++frame))) {
            ASSERT_LT(frame, 60u * 200) << "the show never ends";
        }
    }
    EXPECT_EQ(SHOW_MS, total);
    const unsigned played = tickOf(frame) - START_TICK;

    // A scene takes over no earlier than the nominal end of the ones before it, and
    // at most two frames late per shot before it and one per scene change.
    unsigned nominal = 0, lateFrames = 0;
    for (unsigned k = 0; k < 6; ++k) {
        EXPECT_GE(starts[k], nominal) << "scene " << k << " started early";
        EXPECT_LE(starts[k], nominal + lateFrames * 17) << "scene " << k << " started late";
        nominal += SCENE_MS[k];
        lateFrames += 2 * shotCounts[k] + 1;
    }
    EXPECT_GE(played, SHOW_MS);
    EXPECT_LE(played, SHOW_MS + lateFrames * 17);
}
