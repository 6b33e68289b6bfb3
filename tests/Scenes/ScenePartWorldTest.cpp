// ScenePartWorld without GL: the seeded layout, what quiet and loud frames start and
// launch, and the fade over the 25 s shot, with exact spectra handed to the scene;
// the batched lines the meshes are drawn with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "Effects/SpectrumGrid.h"
#include "Music/Music.h"
#include "3D/ViewVolume.h"
#include "Scenes/ScenePartWorld.h"
#include "support/ScriptedSpectrum.h"
#include "Zembra/Random.h"

namespace {

const unsigned START = 1000;                   // tick of the scene's first update
const unsigned BEFORE_FRAMES = 16 * 64 + 900;  // the floor's draws, then the layout's

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

// Column-major 4 x 4 product a b, as OpenGL multiplies its matrix stack.
void multiply(const double a[16], const double b[16], double out[16])
{
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            out[4 * c + r] = 0.0;
            for (int k = 0; k < 4; ++k)
                out[4 * c + r] += a[4 * k + r] * b[4 * c + k];
        }
}

// What glTranslatef(p) then glRotatef(r.x, 1, 0, 0), glRotatef(r.y, 0, 1, 0) and
// glRotatef(r.z, 0, 0, 1) leave on an identity modelview matrix.
void placement(const Vector3& p, const Vector3& r, double out[16])
{
    const double d = 3.14159265358979323846 / 180.0;
    const double cx = std::cos(r.x * d), sx = std::sin(r.x * d);
    const double cy = std::cos(r.y * d), sy = std::sin(r.y * d);
    const double cz = std::cos(r.z * d), sz = std::sin(r.z * d);
    const double translate[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, p.x, p.y, p.z, 1};
    const double aboutX[16] = {1, 0, 0, 0, 0, cx, sx, 0, 0, -sx, cx, 0, 0, 0, 0, 1};
    const double aboutY[16] = {cy, 0, -sy, 0, 0, 1, 0, 0, sy, 0, cy, 0, 0, 0, 0, 1};
    const double aboutZ[16] = {cz, sz, 0, 0, -sz, cz, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double tx[16], txy[16];
    multiply(translate, aboutX, tx);
    multiply(tx, aboutY, txy);
    multiply(txy, aboutZ, out);
}

// Copy k of the batch draws mesh k's own segments, in order, as its placed draw
// would put them: every end point within 1e-4 of the transformed local one, the
// same colour, taken from copy k's own block of vertices.
template <class Mesh>
void expectBatchIsEachMeshPlaced(const MeshBatch& batch,
                                 const std::vector<std::unique_ptr<Mesh>>& meshes)
{
    const LineRenderer& all = batch.lines();
    const size_t indices = meshes[0]->m_lines.m_indices.size();
    ASSERT_EQ(indices * meshes.size(), all.m_indices.size());
    const size_t block = all.m_vertices.size() / meshes.size();  // vertices per copy
    int wrong = 0;
    for (size_t k = 0; k < meshes.size(); ++k) {
        const LineRenderer& own = meshes[k]->m_lines;
        double m[16];
        placement(meshes[k]->m_position, meshes[k]->m_rotation, m);
        for (size_t j = 0; j < indices; ++j) {
            const uint32_t at = all.m_indices[k * indices + j];
            const LineVertex& local = own.m_vertices[own.m_indices[j]];
            const LineVertex& got = all.m_vertices[at];
            const double want[3] = {m[0] * local.x + m[4] * local.y + m[8] * local.z + m[12],
                                    m[1] * local.x + m[5] * local.y + m[9] * local.z + m[13],
                                    m[2] * local.x + m[6] * local.y + m[10] * local.z + m[14]};
            const bool placed = at / block == k && std::fabs(got.x - want[0]) <= 1e-4 &&
                                std::fabs(got.y - want[1]) <= 1e-4 &&
                                std::fabs(got.z - want[2]) <= 1e-4;
            const bool painted =
                got.r == local.r && got.g == local.g && got.b == local.b && got.a == local.a;
            if ((!placed || !painted) && ++wrong <= 3)
                ADD_FAILURE() << "copy " << k << " index " << j << " (vertex " << at << "): ("
                              << got.x << ", " << got.y << ", " << got.z << ") for (" << want[0]
                              << ", " << want[1] << ", " << want[2] << ")";
        }
    }
    EXPECT_EQ(0, wrong);
}

}  // namespace

TEST(ScenePartWorld, BatchedLinesAreEachMeshAtItsPlacement)
{
    Random::seed(42);
    ScenePartWorld world;
    // A mesh is transformed when a selection finds it in view: this view holds all.
    const float scale[16] = {1e-3f, 0, 0, 0, 0, 1e-3f, 0, 0, 0, 0, 1e-3f, 0, 0, 0, 0, 1};
    const ViewVolume everything(scale, 0, 0);
    // Turned and lifted meshes besides resting ones; then some move again after
    // a first placing, as launched ones rise between frames.
    world.cubes()[3]->m_rotation = {30.0f, 45.0f, 60.0f};
    world.spheres()[7]->m_rotation = {-20.0f, 0.0f, 110.0f};
    world.pyramids()[149]->m_position.y = 2.5f;
    world.placeMeshes(everything);
    for (int update = 0; update < 3; ++update) {
        world.cubes()[0]->m_position.y += 0.05f;
        world.spheres()[7]->m_position.y += 0.05f;
        world.placeMeshes(everything);
    }
    world.pyramids()[10]->m_rotation.y = 90.0f;
    world.placeMeshes(everything);
    expectBatchIsEachMeshPlaced(world.cubeBatch(), world.cubes());
    expectBatchIsEachMeshPlaced(world.pyramidBatch(), world.pyramids());
    expectBatchIsEachMeshPlaced(world.sphereBatch(), world.spheres());
    // Each distinct sphere point once (11 latitudes by 11 longitudes, 0 and 360
    // degrees apart by rounding) instead of 400: a quarter of the vertex work.
    EXPECT_EQ(150u * 121, world.sphereBatch().lines().m_vertices.size());
}

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
    ASSERT_TRUE(world.update(s.grid, s.music, START));
    EXPECT_EQ(0u, s.grid.m_currentStep) << "a wave started";
    EXPECT_EQ(0, launched(world.cubes()) + launched(world.pyramids()) + launched(world.spheres()));
    EXPECT_EQ(8.0f, s.grid.m_bandScale);
    const int afterQuiet = Random::next();
    EXPECT_EQ(drawAfter(seed, BEFORE_FRAMES), afterQuiet) << "a quiet frame drew numbers";

    // All ten loud: 30 draws, a black wave at each cell on the grid (q drawn before p
    // after one unused draw), one launch per kind.
    const unsigned drawn = BEFORE_FRAMES + 1;
    std::fill(world.next, world.next + 10, 0.3f);
    ASSERT_TRUE(world.update(s.grid, s.music, START + 16));
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
    ASSERT_TRUE(world.update(s.grid, s.music, START + 32));
    EXPECT_EQ(2, launched(world.pyramids()));
    EXPECT_TRUE(world.spheres()[1]->m_launched && !world.spheres()[2]->m_launched);

    // Quiet again: the pulse decays by 0.08 per update; the launched keep rising.
    std::fill(world.next, world.next + 16, 0.0f);
    ASSERT_TRUE(world.update(s.grid, s.music, START + 48));
    ASSERT_TRUE(world.update(s.grid, s.music, START + 64));
    EXPECT_FLOAT_EQ(0.84f, world.getAmplification());
    EXPECT_FLOAT_EQ(0.15f, world.pyramids()[0]->m_position.y);  // 3 updates after its launch
    EXPECT_EQ(0.0f, world.pyramids()[2]->m_position.y);
}

TEST(ScenePartWorld, FirstUpdateStartsEverythingAndTheFadeHoldsUntilTenSeconds)
{
    Stage s(3);
    auto& world = s.world;
    ASSERT_TRUE(world.update(s.grid, s.music, START));
    EXPECT_EQ(START, world.camera(0).startTime()) << "the camera starts with the scene";
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
        ASSERT_TRUE(world.update(s.grid, s.music, START + at.first)) << at.first;
        EXPECT_FLOAT_EQ(at.second, world.getFade()) << "at " << at.first << " ms";
    }
    // The camera ends the scene on the first update past its 25000 ms.
    EXPECT_FALSE(world.update(s.grid, s.music, START + 25001));
    EXPECT_EQ(0.0f, world.getFade());
}
