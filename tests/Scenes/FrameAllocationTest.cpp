// The per-frame paths of the scene framework allocate nothing once built: every
// operator new in this executable is counted.
#include <gtest/gtest.h>

#include <memory>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <thread>

#include "Effects/PointTrail.h"
#include "Music/Music.h"
#include "Music/MusicFixtures.h"
#include "Scenes/SceneManager.h"
#include "Scenes/ScenePartWorld.h"
#include "Scenes/SceneSadSpectrum.h"
#include "Scenes/SceneSpectrumImpulsePart.h"
#include "Scenes/SceneSpectrumPart.h"
#include "ScriptedSpectrum.h"

static std::atomic<long> g_allocations{0};

// Every replaceable form is replaced, so that no allocation escapes the count and
// every block is released by the function family that made it (malloc and free).
static void* countedAllocation(std::size_t size)
{
    ++g_allocations;
    return std::malloc(size ? size : 1);
}

void* operator new(std::size_t size)
{
    if (void* p = countedAllocation(size))
        return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return countedAllocation(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return countedAllocation(size);
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"  // new above is malloc-based
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
#pragma GCC diagnostic pop

TEST(FrameAllocation, GridCopyAndSceneUpdatesAllocateNothing)
{
    Music music;
    ASSERT_TRUE(music.init());
    ASSERT_TRUE(music.load(musicFixture("sine86-full.mp3").c_str()));
    SceneManager manager;
    manager.addScene(std::make_unique<SceneSadSpectrum>());
    music.play();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // Two frames to let every lazily built object of the sound layer appear.
    manager.update(music, 1000);
    manager.update(music, 1016);

    const long before = g_allocations.load();
    for (unsigned frame = 2; frame < 200; ++frame) {
        for (int pass = 0; pass < 2; ++pass) {  // the copy that each draw makes
            manager.m_gridRenderer.clear();
            manager.m_gridRenderer.add(manager.m_grid.m_lines.m_vertices,
                                       manager.m_grid.m_lines.m_indices);
        }
        ASSERT_FALSE(manager.update(music, 1000 + 16 * frame));
        if (frame % 7 == 0)
            manager.m_grid.startWave(frame % 100, 50, restColour, 1, 6);
        manager.m_grid.stepWave();
    }
    const long during = g_allocations.load() - before;
    music.stop();
    EXPECT_EQ(0, during);
    EXPECT_EQ(10000u, manager.m_gridRenderer.m_vertices.size());
}

TEST(FrameAllocation, TrailUpdatesAllocateNothing)
{
    const Vector3 centre = {20.0f, 1.0f, 20.0f};
    SpectrumTrail spectrum(centre, trailColours[0], 500, 0.2f);
    ImpulseTrail impulse(centre, trailColours[1], 500, 0.4f);
    WorldTrailCos worldCos(centre, trailColours[2], 500, 0.6f);
    WorldTrailSin worldSin(centre, trailColours[3], 1, 0.7f);

    const long before = g_allocations.load();
    // Past the first removals, so emission, ageing and replacement all run.
    for (int frame = 0; frame < 450; ++frame) {
        spectrum.update();
        impulse.update();
        worldCos.update();
        worldSin.update();
    }
    EXPECT_EQ(0, g_allocations.load() - before);
    EXPECT_LE(spectrum.count(), 203u);  // removals ran
}

TEST(FrameAllocation, TrailScenesAllocateNothing)
{
    Music music;
    SceneManager manager;
    // Loud low values: beats, and eight waves per frame in the impulse scene.
    auto spectrumPart = std::make_unique<ScriptedSpectrum<SceneSpectrumPart>>();
    auto impulsePart = std::make_unique<ScriptedSpectrum<SceneSpectrumImpulsePart>>();
    for (int i = 0; i < 8; ++i)
        spectrumPart->next[i] = impulsePart->next[i] = 0.5f;
    manager.addScene(std::move(spectrumPart));
    manager.addScene(std::move(impulsePart));

    const long before = g_allocations.load();
    unsigned time = 1000, frames = 0;
    while (!manager.update(music, time) && frames < 3000) {
        time += 16;
        ++frames;
    }
    EXPECT_EQ(0, g_allocations.load() - before);
    EXPECT_GT(frames, 1500u) << "both scenes played to their end";
}

TEST(FrameAllocation, WorldSceneUpdatesAllocateNothing)
{
    Music music;
    SceneManager manager;
    // The ten lowest values loud: ten waves, a beat and three launches on every frame.
    auto owned = std::make_unique<ScriptedSpectrum<ScenePartWorld>>();
    std::fill(owned->next, owned->next + 10, 0.5f);
    const ScenePartWorld& world = *owned;
    manager.addScene(std::move(owned));

    const long before = g_allocations.load();
    unsigned time = 1000, frames = 0;
    while (!manager.update(music, time) && frames < 3000) {
        time += 16;
        ++frames;
    }
    EXPECT_EQ(0, g_allocations.load() - before);
    EXPECT_GT(frames, 1500u) << "the scene played to its end";
    EXPECT_TRUE(world.m_spheres[149]->m_launched);
}
