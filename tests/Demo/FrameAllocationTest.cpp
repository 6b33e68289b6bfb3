// Whole frames of the demo allocate nothing once the run is built: the four passes
// of the chain with the scene manager's real draw, the input update and the scene
// update, under GL in a private Xvfb. Every operator new in this executable, on
// every thread (the driver's and the sound layer's included), is counted.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <new>

#include <sys/resource.h>
#include <thread>

#include "3D/Shader.h"
#include "Demo/ChainPrograms.h"
#include "Demo/GlowSize.h"
#include "Demo/HeapPolicy.h"
#include "Demo/PostProcessChain.h"
#include "Effects/PointTrail.h"
#include "Music/Music.h"
#include "Music/MusicFixtures.h"
#include "Scenes/SceneManager.h"
#include "Scenes/ScenePartWorld.h"
#include "Scenes/SceneSadSpectrum.h"
#include "Scenes/SceneSpectrumImpulsePart.h"
#include "Scenes/SceneSpectrumPart.h"
#include "Zembra/Controllers/InputManager.h"
#include "Zembra/Controllers/QuitRequests.h"
#include "Zembra/Controllers/QuitSignals.h"
#include "Zembra/Controllers/SDL_Keyboard.h"
#include "Zembra/Engine.h"
#include "support/ScriptedSpectrum.h"

// The blur programs' one source, as the demo loads it from data/shaders.
static const std::string BLUR_VS = std::string("data/shaders/") + BLUR_VERTEX_SOURCE;
static const std::string BLUR_PS = std::string("data/shaders/") + BLUR_FRAGMENT_SOURCE;

static std::atomic<long> g_allocations{0};

// Minor page faults of the whole process so far: fresh pages touched, on every thread.
static long minorFaults()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

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
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
#pragma GCC diagnostic pop

// A sanitizer's allocator is not glibc's: mallopt means nothing to it, and its
// quarantine touches fresh pages on purpose. Allocations are still counted there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
const bool GLIBC_HEAP = false;
#else
const bool GLIBC_HEAP = true;
#endif

TEST(FrameAllocation, WholeFramesAllocateNothing)
{
    // Built as the entry routine builds the run, the heap's policy first.
    if (GLIBC_HEAP) {
        ASSERT_TRUE(keepFreedHeapMemory());
    }
    // A small window: the software driver's time goes into filling pixels.
    Engine engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, 320, 240, "allocation test");
    Music music;
    ASSERT_TRUE(music.init());
    ASSERT_TRUE(music.load(musicFixture("sine86-full.mp3").c_str()));
    const QuitSignals signals;
    InputManager inputs;
    inputs.addInput(std::make_unique<SDL_Keyboard>());
    inputs.addInput(std::make_unique<QuitRequests>(signals));
    SceneManager scenes;
    scenes.addScene(std::make_unique<SceneSadSpectrum>());
    const Shader pulse("data/shaders/pulse.vs", "data/shaders/pulse.ps");
    const Shader horizontalBlur(BLUR_VS, BLUR_PS, HORIZONTAL_BLUR);
    const Shader verticalBlur(BLUR_VS, BLUR_PS, VERTICAL_BLUR);
    // The size the demo picks here: half on the software renderer of the tests.
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    PostProcessChain chain(*engine.getWindow(), chooseGlowSize(GLOW_AUTOMATIC, renderer));
    music.play();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    // One loop iteration. The clock is driven by hand, 150 ms a frame, so that a few
    // dozen frames cover the fade's phases and the first camera cut (5500 ms).
    auto frame = [&](unsigned n) {
        chain.renderFrame(scenes, pulse, horizontalBlur, verticalBlur);
        inputs.update();
        return !inputs.isQuitRequested() && !scenes.update(music, 1000 + 150 * n);
    };
    // The world scene's batched meshes, with loud low bands: every frame launches
    // one mesh of each kind, and the risen ones travel to the driver anew.
    SceneManager world;
    auto loudWorld = std::make_unique<ScriptedSpectrum<ScenePartWorld>>();
    std::fill(loudWorld->next, loudWorld->next + 10, 0.5f);
    world.addScene(std::move(loudWorld));
    auto worldFrame = [&](unsigned n) {
        chain.renderFrame(world, pulse, horizontalBlur, verticalBlur);
        return !world.update(music, 1000 + 15 * n);
    };
    // The first frames let every lazily built object appear: the driver's compiled
    // state for each pass, the sound layer's buffers, the meshes' vertex buffers.
    for (unsigned n = 0; n < 5; ++n)
        ASSERT_TRUE(frame(n) && worldFrame(n));

    const long before = g_allocations.load();
    const long faultsBefore = minorFaults();
    for (unsigned n = 5; n < 50; ++n) {
        ASSERT_TRUE(frame(n));
        // The colour waves of the later scenes run on the same grid.
        if (n % 7 == 0)
            scenes.grid().startWave(n % 100, 50, restColour, 1, 6);
        scenes.grid().stepWave();
        if (n < 25) {
            ASSERT_TRUE(worldFrame(n));
        }
    }
    EXPECT_TRUE(static_cast<ScenePartWorld&>(world.currentScene()).spheres()[20]->m_launched);
    EXPECT_EQ(1u, static_cast<SceneSadSpectrum&>(scenes.currentScene()).currentShot())
        << "the frames did not reach the first cut";
    const long during = g_allocations.load() - before;
    const long faults = minorFaults() - faultsBefore;
    music.stop();
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    EXPECT_EQ(0, during);
    // The driver's freed blocks are reused, not handed back to the system and
    // faulted in again on the next draw: about 180 faults a frame without the
    // heap's policy, none with it; under 10 a frame leaves room for the sound layer.
    if (GLIBC_HEAP) {
        EXPECT_LT(faults, 10 * (45 + 20)) << "minor page faults over 65 frames";
    }
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

TEST(FrameAllocation, TrailAndWorldScenesAllocateNothing)
{
    Music music;
    SceneManager manager;
    // Loud low values: beats, and eight waves per frame in the impulse scene.
    auto spectrumPart = std::make_unique<ScriptedSpectrum<SceneSpectrumPart>>();
    auto impulsePart = std::make_unique<ScriptedSpectrum<SceneSpectrumImpulsePart>>();
    for (int i = 0; i < 8; ++i)
        spectrumPart->next[i] = impulsePart->next[i] = 0.5f;
    // The world scene: ten waves, a beat and three launches on every frame.
    auto owned = std::make_unique<ScriptedSpectrum<ScenePartWorld>>();
    std::fill(owned->next, owned->next + 10, 0.5f);
    const ScenePartWorld& world = *owned;
    manager.addScene(std::move(spectrumPart));
    manager.addScene(std::move(impulsePart));
    manager.addScene(std::move(owned));

    const long before = g_allocations.load();
    unsigned time = 1000, frames = 0;
    while (!manager.update(music, time) && frames < 5000) {
        time += 16;
        ++frames;
    }
    EXPECT_EQ(0, g_allocations.load() - before);
    EXPECT_GT(frames, 3000u) << "the three scenes played to their end";
    EXPECT_TRUE(world.spheres()[149]->m_launched);
}
