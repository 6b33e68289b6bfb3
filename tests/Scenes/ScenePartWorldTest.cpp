// ScenePartWorld without GL: the seeded layout, what quiet and loud frames start and
// launch, and the fade over the 25 s shot. A subclass hands the scene exact spectra.
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

const unsigned kStart = 1000;        // tick of the scene's first update
const unsigned kGridDraws = 16 * 64;  // the floor's draws come first
const unsigned kLayoutDraws = 900;

using ScriptedWorld = ScriptedSpectrum<ScenePartWorld>;

struct Seeded {
    explicit Seeded(uint32_t seed) { Random::seed(seed); }
};

// The floor and the scene built after seeding, as the demo builds them.
struct Stage : Seeded {
    explicit Stage(uint32_t seed) : Seeded(seed), grid(100, 100, 1.5f) {}
    Music music;  // never initialised: the scene reads no sound from it
    SpectrumGrid grid;
    ScriptedWorld world;
};

// The value drawn `skip` draws after seeding with `seed`.
int drawAfter(uint32_t seed, unsigned skip)
{
    Random::seed(seed);
    for (unsigned k = 0; k < skip; ++k)
        Random::next();
    return Random::next();
}

template <class Mesh>
std::vector<std::pair<float, float>> places(const std::vector<std::unique_ptr<Mesh>>& meshes)
{
    std::vector<std::pair<float, float>> at;
    for (const auto& mesh : meshes)
        at.emplace_back(mesh->m_position.x, mesh->m_position.z);
    return at;
}

template <class Mesh>
unsigned launchedCount(const std::vector<std::unique_ptr<Mesh>>& meshes)
{
    return static_cast<unsigned>(std::count_if(meshes.begin(), meshes.end(),
                                               [](const auto& m) { return m->m_launched; }));
}

}  // namespace

TEST(ScenePartWorld, SeedFixesTheLayoutInDrawOrder)
{
    Stage a(7);
    ASSERT_EQ(150u, a.world.cubes().size());
    ASSERT_EQ(150u, a.world.pyramids().size());
    ASSERT_EQ(150u, a.world.spheres().size());
    // All cubes, then all pyramids, then all spheres, x before z, over 0 to 150.
    const LineCube& cube = *a.world.cubes()[3];
    EXPECT_FLOAT_EQ(150.0f * drawAfter(7, kGridDraws + 6) / 32767, cube.m_position.x);
    EXPECT_FLOAT_EQ(150.0f * drawAfter(7, kGridDraws + 7) / 32767, cube.m_position.z);
    EXPECT_FLOAT_EQ(150.0f * drawAfter(7, kGridDraws + 300) / 32767, a.world.pyramids()[0]->m_position.x);
    EXPECT_FLOAT_EQ(150.0f * drawAfter(7, kGridDraws + 899) / 32767, a.world.spheres()[149]->m_position.z);
    EXPECT_EQ(0.0f, cube.m_position.y);
    EXPECT_EQ(0u, launchedCount(a.world.cubes()) + launchedCount(a.world.spheres()));

    Stage same(7);
    EXPECT_EQ(places(a.world.cubes()), places(same.world.cubes()));
    EXPECT_EQ(places(a.world.pyramids()), places(same.world.pyramids()));
    EXPECT_EQ(places(a.world.spheres()), places(same.world.spheres()));
    Stage other(8);
    const auto mine = places(a.world.spheres()), theirs = places(other.world.spheres());
    unsigned moved = 0;
    for (size_t k = 0; k < mine.size(); ++k)
        moved += mine[k] != theirs[k];
    EXPECT_GT(moved, 140u);
}

// The cell that the scene picks from three draws after `skip`: one unused, then q, then p.
// -1 when it lies off the grid (a coordinate below 0).
int expectedCell(uint32_t seed, unsigned skip)
{
    const int q = static_cast<int>(drawAfter(seed, skip + 1) / 32767.0f * 100 - 10);
    const int p = static_cast<int>(drawAfter(seed, skip + 2) / 32767.0f * 100 - 10);
    return p < 0 || q < 0 ? -1 : q * 100 + p;
}

TEST(ScenePartWorld, LoudLowBandsStartBlackWavesAndLaunchOneOfEachKind)
{
    const uint32_t seed = 3;  // five of its ten cells lie off the grid
    Stage s(seed);
    ScriptedWorld& world = s.world;
    unsigned drawn = kGridDraws + kLayoutDraws;

    // Quiet: the ten lowest at the threshold, only higher bands loud.
    std::fill(world.next, world.next + 10, 0.2f);
    std::fill(world.next + 10, world.next + 16, 0.9f);
    ASSERT_TRUE(world.update(s.grid, s.music, kStart));
    EXPECT_EQ(0u, s.grid.m_currentStep) << "a wave started";
    EXPECT_EQ(0u, launchedCount(world.cubes()) + launchedCount(world.pyramids()) +
                      launchedCount(world.spheres()));
    EXPECT_EQ(8.0f, s.grid.m_bandScale);
    const int afterQuiet = Random::next();
    EXPECT_EQ(drawAfter(seed, drawn), afterQuiet) << "a quiet frame drew numbers";
    drawn += 1;  // drawAfter left the sequence just after that draw

    // All ten loud: 30 draws, a black wave at each cell on the grid, one launch per kind.
    std::fill(world.next, world.next + 10, 0.3f);
    ASSERT_TRUE(world.update(s.grid, s.music, kStart + 16));
    const int afterLoud = Random::next();
    EXPECT_EQ(drawAfter(seed, drawn + 30), afterLoud) << "a loud frame draws 30 numbers";
    std::set<int> starts;
    unsigned offGrid = 0;
    for (unsigned band = 0; band < 10; ++band) {
        const int cell = expectedCell(seed, drawn + 3 * band);
        if (cell < 0)
            ++offGrid;
        else
            starts.insert(cell);
    }
    ASSERT_GT(offGrid, 0u) << "choose a seed that also picks cells off the grid";
    ASSERT_FALSE(starts.empty());
    std::set<int> stampedFirst;  // step 1 marks a wave's own start cell
    for (int n = 0; n < 10000; ++n)
        if (s.grid.m_waveStep[n] == 1)
            stampedFirst.insert(n);
    EXPECT_EQ(starts, stampedFirst);
    for (int n : starts) {
        const Colour& c = s.grid.m_targetColour[n];
        EXPECT_TRUE(c.r == 0 && c.g == 0 && c.b == 0 && c.a == 1) << "cell " << n;
    }
    EXPECT_EQ(2u, s.grid.m_currentStep) << "started, then stepped once";
    EXPECT_TRUE(world.cubes()[0]->m_launched);
    EXPECT_TRUE(world.pyramids()[0]->m_launched);
    EXPECT_TRUE(world.spheres()[0]->m_launched);
    EXPECT_EQ(1u, launchedCount(world.cubes()));
    EXPECT_EQ(1u, launchedCount(world.pyramids()));
    EXPECT_EQ(1u, launchedCount(world.spheres()));
    EXPECT_EQ(1.0f, world.getAmplification());

    // Every cube launched: the other kinds go on, one each per loud frame.
    for (auto& cube : world.cubes())
        cube->m_launched = true;
    ASSERT_TRUE(world.update(s.grid, s.music, kStart + 32));
    EXPECT_EQ(150u, launchedCount(world.cubes()));
    EXPECT_EQ(2u, launchedCount(world.pyramids()));
    EXPECT_EQ(2u, launchedCount(world.spheres()));
    EXPECT_TRUE(world.spheres()[1]->m_launched);

    // Quiet again: the pulse decays by 0.08 per update; the launched keep rising.
    std::fill(world.next, world.next + 16, 0.0f);
    ASSERT_TRUE(world.update(s.grid, s.music, kStart + 48));
    EXPECT_FLOAT_EQ(0.92f, world.getAmplification());
    ASSERT_TRUE(world.update(s.grid, s.music, kStart + 64));
    EXPECT_FLOAT_EQ(0.84f, world.getAmplification());
    EXPECT_FLOAT_EQ(0.15f, world.pyramids()[0]->m_position.y);  // 3 updates after its launch
    EXPECT_EQ(0.0f, world.pyramids()[2]->m_position.y);
}

TEST(ScenePartWorld, FirstUpdateStartsTheTrailsAndTheFadeHoldsUntilTenSeconds)
{
    Stage s(3);
    ScriptedWorld& world = s.world;
    // The first update already runs the whole step: the camera starts with it.
    ASSERT_TRUE(world.update(s.grid, s.music, kStart));
    EXPECT_EQ(kStart, world.startTime());
    EXPECT_EQ(kStart, world.camera(0).startTime());
    EXPECT_EQ(0.0f, world.getFade());
    // Each trail emitted its first point, at its curve's start around its own spot.
    ASSERT_EQ(6u, world.cosTrails().size());
    ASSERT_EQ(12u, world.sinTrails().size());
    const float phases[6] = {0.2f, 0.4f, 0.6f, 0.7f, 0.9f, 1.1f};
    auto expectFirstPoint = [&](const auto& trail, Vector3 expected, unsigned k) {
        ASSERT_EQ(1u, trail.count()) << "trail " << k;
        const TrailPoint& p = trail.points()[0];
        EXPECT_FLOAT_EQ(expected.x, p.x) << "trail " << k;
        EXPECT_FLOAT_EQ(expected.y, p.y) << "trail " << k;
        EXPECT_FLOAT_EQ(expected.z, p.z) << "trail " << k;
        EXPECT_FLOAT_EQ(0.3f * trailColours[k % 6].g, p.g) << "trail " << k;
    };
    for (unsigned k = 0; k < 6; ++k) {
        const float below = 0.01f * k;
        expectFirstPoint(*world.cosTrails()[k], WorldTrailCos::curvePoint({45, 3 - below, 45}, 0, phases[k]), k);
        expectFirstPoint(*world.sinTrails()[k], WorldTrailSin::curvePoint({55, 2 - below, 45}, 0, phases[k]), k);
        expectFirstPoint(*world.sinTrails()[6 + k],
                         WorldTrailSin::curvePoint({45, 2 - below, 60}, 0, phases[k]), 6 + k);
    }
    const std::pair<unsigned, float> expected[] = {
        {250, 0.5f}, {500, 1.0f}, {9000, 1.0f}, {10000, 1.0f},
        {10001, 1.0f - 1.0f / 15000}, {17500, 0.5f}, {24999, 1.0f / 15000}, {25000, 0.0f}};
    for (const auto& at : expected) {
        ASSERT_TRUE(world.update(s.grid, s.music, kStart + at.first)) << at.first;
        EXPECT_FLOAT_EQ(at.second, world.getFade()) << "at " << at.first << " ms";
    }
    // The camera ends the scene on the first update past its 25000 ms.
    EXPECT_FALSE(world.update(s.grid, s.music, kStart + 25001));
    EXPECT_EQ(0.0f, world.getFade());
    EXPECT_EQ(1u, world.currentShot());
}
