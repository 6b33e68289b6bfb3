// scenebench: per-frame CPU time of the scene manager, each scene and the floor grid. Depends on Scenes, Music.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Scenes/SceneSadSpectrum.h"
#include "Scenes/SceneSpectrumImpulsePart.h"
#include "Scenes/SceneSpectrumPart.h"

namespace {

const unsigned FRAME_MS = 15;

// Scene S hearing every low band loud on every frame: the most work a frame can ask
// of it (beats, and in the impulse scene eight waves per frame).
template <typename S>
class LoudScene : public S {
protected:
    void readSpectrum(Music&) override { std::fill(this->m_spectrum, this->m_spectrum + 16, 0.5f); }
};

// One SceneManager::update of scene S per iteration, 15 ms of clock apart. When the
// scene ends a fresh manager replaces it, off the clock. Argument: 0 silent (the player
// returns zeros at once), 1 soundtrack playing (run from the repository root; each
// update includes the spectrum analysis), 2 every low band loud (no music).
template <typename S>
void sceneUpdates(benchmark::State& state)
{
    Music music;
    const bool playing = state.range(0) == 1;
    if (playing) {
        if (!music.init() || !music.load("data/music/tovane.mp3")) {
            state.SkipWithError("no soundtrack: run from the repository root");
            return;
        }
        music.play();
    }
    std::unique_ptr<SceneManager> manager;
    unsigned time = 0;
    auto restart = [&] {
        manager.reset(new SceneManager);
        if (state.range(0) == 2)
            manager->addScene(std::make_unique<LoudScene<S>>());
        else
            manager->addScene(std::make_unique<S>());
        time = 1000;
    };
    restart();
    for (auto _ : state) {
        time += FRAME_MS;
        if (manager->update(music, time)) {
            state.PauseTiming();
            restart();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
    if (playing)
        music.stop();
}

// The floor scene alone (about 22 s of clock per manager).
void BM_SceneManagerUpdate(benchmark::State& state)
{
    sceneUpdates<SceneSadSpectrum>(state);
}
BENCHMARK(BM_SceneManagerUpdate)->Arg(0)->Arg(1)->ArgName("playing");

// Twelve trails and the bands (10 s).
void BM_SpectrumPartUpdate(benchmark::State& state)
{
    sceneUpdates<SceneSpectrumPart>(state);
}
BENCHMARK(BM_SpectrumPartUpdate)->Arg(0)->Arg(1)->Arg(2)->ArgName("music");

// Six trails, the bands, and the waves ahead of the camera (15 s).
void BM_ImpulsePartUpdate(benchmark::State& state)
{
    sceneUpdates<SceneSpectrumImpulsePart>(state);
}
BENCHMARK(BM_ImpulsePartUpdate)->Arg(0)->Arg(1)->Arg(2)->ArgName("music");

// The grid work of the busiest scenes: raiseBands and stepWave on a wave that never
// goes idle (a bright stamp), restarted every 8 frames as a loud band would.
void BM_GridBandsAndWave(benchmark::State& state)
{
    SpectrumGrid grid(100, 100, 1.5f);
    float spectrum[512] = {};
    const Colour red = {1.0f, 0.0f, 0.0f, 0.7f};
    unsigned frame = 0;
    for (auto _ : state) {
        spectrum[frame % 16] = (frame % 3) * 0.1f;
        if (frame % 8 == 0)
            grid.startWave((frame * 7) % 100, (frame * 13) % 100, red, 1, 6);
        grid.raiseBands(spectrum);
        grid.stepWave();
        ++frame;
        benchmark::DoNotOptimize(grid.m_lines.m_vertices.data());
    }
}
BENCHMARK(BM_GridBandsAndWave);

// One frame's geometry: SceneManager::draw copies the grid into its renderer twice a
// frame (off-screen pass and window pass); this is that copy without the GL calls.
void BM_FrameGeometry(benchmark::State& state)
{
    SceneManager manager;
    LineRenderer copy;
    const LineRenderer& grid = manager.grid().m_lines;
    for (auto _ : state) {
        for (int pass = 0; pass < 2; ++pass) {
            copy.clear();
            copy.add(grid.m_vertices, grid.m_indices);
        }
        benchmark::DoNotOptimize(copy.m_indices.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(
        state.iterations() * 2 *
        (grid.m_vertices.size() * sizeof(LineVertex) + grid.m_indices.size() * sizeof(uint32_t)));
}
BENCHMARK(BM_FrameGeometry);

}  // namespace

BENCHMARK_MAIN();
