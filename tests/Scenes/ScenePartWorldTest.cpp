// ScenePartWorld without GL: the seeded layout, what quiet and loud frames start and
// launch, and the fade over the 25 s shot, with exact spectra handed to the scene.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "Effects/SpectrumGrid.h"
#include "Music/Music.h"
#include "Scenes/ScenePartWorld.h"
#include "support/ScriptedSpectrum.h"
#include "Zembra/Random.h"

namespace {

const unsigned kStart = 1000;                  // tick of the scene's first update
const unsigned kBeforeFrames = 16 * 64 + 900;  // the floor's draws, then the layout's

struct Seeded {
    explicit Seeded(uint32_t seed) { Random::seed(seed); }
};

// The floor and the scene built after seeding, as the demo builds them.
struct Stage : Seeded {
    explicit Stage(uint32_t seed) : Seeded(seed), grid(100, 100, 1.5f) {}
    Music music;  // never initialised: the scene reads no sound from it
    SpectrumGrid grid;
    ScriptedSpectrum<ScenePartWorld> world;
};

// The value drawn `skip` draws after seeding with `seed`; leaves the sequence there.
int drawAfter(uint32_t seed, unsigned skip)
{
    Random::seed(seed);
    for (unsigned k = 0; k < skip; ++k)
        Random::next();
    return Random::next();
}

std::vector<float> places(const ScenePartWorld& world)
{
    std::vector<float> at;
    for (const auto& m : world.cubes())
        at.insert(at.end(), {m->m_position.x, m->m_position.z});
    for (const auto& m : world.pyramids())
        at.insert(at.end(), {m->m_position.x, m->m_position.z});
    for (const auto& m : world.spheres())
        at.insert(at.end(), {m->m_position.x, m->m_position.z});
    return at;
}

template <class Mesh>
long launched(const std::vector<std::unique_ptr<Mesh>>& meshes)
{
    return std::count_if(meshes.begin(), meshes.end(), [](const auto& m) { return m->m_launched; });
}

}  // namespace

TEST(ScenePartWorld, SeedFixesTheLayoutInDrawOrder)
{
    Stage a(7);
    // All cubes, then all pyramids, then all spheres, x before z, over 0 to 150.
    const std::vector<float> at = places(a.world);
    ASSERT_EQ(900u, at.size());
    for (unsigned k : {0u, 7u, 300u, 899u})
        EXPECT_FLOAT_EQ(150.0f * drawAfter(7, 16 * 64 + k) / 32767, at[k]) << "draw " << k;
    EXPECT_EQ(0.0f, a.world.spheres()[5]->m_position.y);

    EXPECT_EQ(at, places(Stage(7).world));
    const std::vector<float> other = places(Stage(8).world);
    int moved = 0;
    for (size_t k = 0; k < at.size(); ++k)
        moved += at[k] != other[k];
    EXPECT_GT(moved, 890);
}

TEST(ScenePartWorld, LoudLowBandsStartBlackWavesAndLaunchOneOfEachKind)
{
    const uint32_t seed = 3;  // five of its ten cells below lie off the grid
    Stage s(seed);
    auto& world = s.world;
    // Quiet: the ten lowest at the threshold, only higher bands loud.
    std::fill(world.next, world.next + 10, 0.2f);
    std::fill(world.next + 10, world.next + 16, 0.9f);
    ASSERT_TRUE(world.update(s.grid, s.music, kStart));
    EXPECT_EQ(0u, s.grid.m_currentStep) << "a wave started";
    EXPECT_EQ(0, launched(world.cubes()) + launched(world.pyramids()) + launched(world.spheres()));
    EXPECT_EQ(8.0f, s.grid.m_bandScale);
    const int afterQuiet = Random::next();
    EXPECT_EQ(drawAfter(seed, kBeforeFrames), afterQuiet) << "a quiet frame drew numbers";

    // All ten loud: 30 draws, a black wave at each cell on the grid (q drawn before p
    // after one unused draw), one launch per kind.
    const unsigned drawn = kBeforeFrames + 1;
    std::fill(world.next, world.next + 10, 0.3f);
    ASSERT_TRUE(world.update(s.grid, s.music, kStart + 16));
    const int afterLoud = Random::next();
    EXPECT_EQ(drawAfter(seed, drawn + 30), afterLoud) << "a loud frame draws 30 numbers";
    std::set<int> starts;
    for (unsigned band = 0; band < 10; ++band) {
        const int q = static_cast<int>(drawAfter(seed, drawn + 3 * band + 1) / 32767.0f * 100 - 10);
        const int p = static_cast<int>(drawAfter(seed, drawn + 3 * band + 2) / 32767.0f * 100 - 10);
        if (p >= 0 && q >= 0)
            starts.insert(q * 100 + p);
    }
    ASSERT_EQ(5u, starts.size());
    std::set<int> stampedFirst;  // step 1 marks a wave's own start cell
    for (int n = 0; n < 10000; ++n)
        if (s.grid.m_waveStep[n] == 1)
            stampedFirst.insert(n);
    EXPECT_EQ(starts, stampedFirst);
    for (int n : starts)
        EXPECT_EQ(0.0f, s.grid.m_targetColour[n].r + s.grid.m_targetColour[n].g +
                            s.grid.m_targetColour[n].b);
    EXPECT_TRUE(world.cubes()[0]->m_launched && world.pyramids()[0]->m_launched &&
                world.spheres()[0]->m_launched);
    EXPECT_EQ(3, launched(world.cubes()) + launched(world.pyramids()) + launched(world.spheres()));
    EXPECT_EQ(1.0f, world.getAmplification());

    // Every cube launched: the other kinds go on, one each per loud frame.
    for (auto& cube : world.cubes())
        cube->m_launched = true;
    ASSERT_TRUE(world.update(s.grid, s.music, kStart + 32));
    EXPECT_EQ(2, launched(world.pyramids()));
    EXPECT_TRUE(world.spheres()[1]->m_launched && !world.spheres()[2]->m_launched);

    // Quiet again: the pulse decays by 0.08 per update; the launched keep rising.
    std::fill(world.next, world.next + 16, 0.0f);
    ASSERT_TRUE(world.update(s.grid, s.music, kStart + 48));
    ASSERT_TRUE(world.update(s.grid, s.music, kStart + 64));
    EXPECT_FLOAT_EQ(0.84f, world.getAmplification());
    EXPECT_FLOAT_EQ(0.15f, world.pyramids()[0]->m_position.y);  // 3 updates after its launch
    EXPECT_EQ(0.0f, world.pyramids()[2]->m_position.y);
}

TEST(ScenePartWorld, FirstUpdateStartsEverythingAndTheFadeHoldsUntilTenSeconds)
{
    Stage s(3);
    auto& world = s.world;
    ASSERT_TRUE(world.update(s.grid, s.music, kStart));
    EXPECT_EQ(kStart, world.camera(0).startTime()) << "the camera starts with the scene";
    EXPECT_EQ(0.0f, world.getFade());
    ASSERT_EQ(6u, world.cosTrails().size());
    ASSERT_EQ(12u, world.sinTrails().size());
    for (const auto& trail : world.sinTrails())
        EXPECT_EQ(1u, trail->count());
    // The second group of sine trails swirls around (45, 2, 60), its first in phase 0.2.
    const Vector3 first = WorldTrailSin::curvePoint({45, 2, 60}, 0, 0.2f);
    EXPECT_FLOAT_EQ(first.z, world.sinTrails()[6]->points()[0].z);
    EXPECT_EQ(1u, world.cosTrails()[5]->count());

    const std::pair<unsigned, float> expected[] = {{250, 0.5f},   {500, 1.0f},
                                                   {10000, 1.0f}, {10001, 1.0f - 1.0f / 15000},
                                                   {17500, 0.5f}, {25000, 0.0f}};
    for (const auto& at : expected) {
        ASSERT_TRUE(world.update(s.grid, s.music, kStart + at.first)) << at.first;
        EXPECT_FLOAT_EQ(at.second, world.getFade()) << "at " << at.first << " ms";
    }
    // The camera ends the scene on the first update past its 25000 ms.
    EXPECT_FALSE(world.update(s.grid, s.music, kStart + 25001));
    EXPECT_EQ(0.0f, world.getFade());
}
