// sceneframes: wall time of whole frames of one scene through the real chain
// (scene update, four passes, flip, glFinish). Depends on Demo, Scenes, Music.
//
// Usage (from the repository root, with a display, e.g. inside tests/xvfb-run.sh):
//   sceneframes WIDTH HEIGHT [FRAMES] [SCENE]
// SCENE: "spectrum" (the default, SceneSadSpectrum: the floor alone), "world"
// (ScenePartWorld: the floor, 450 wireframe meshes and 18 point trails) or "impulse"
// (SceneSpectrumImpulsePart: the floor with colour waves and 6 point trails).
// Plays the scene over its floor with the soundtrack's spectrum (silent when
// the soundtrack is missing) on a clock advanced by 15 ms per frame, so the scene
// moves as in the demo whatever the frame cost. No frame pacing: the figure is the
// cost of a frame, not the demo's 15 ms period. Progress lines of the engine go to
// standard output as usual; the result is the last line, starting "sceneframes ".
// cpu_median_ms is the process's CPU time per frame (every thread, the driver's
// rasteriser threads included): on a loaded machine it moves far less than wall time.
// main_cpu_median_ms is the main thread's alone: the scene's draw calls, the
// driver's vertex work and the update, without the rasterisers' pixel work.
#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "3D/Shader.h"
#include "Demo/ChainPrograms.h"
#include "Demo/DataFiles.h"
#include "Demo/DemoContent.h"
#include "Demo/GlowSize.h"
#include "Demo/PostProcessChain.h"
#include "Demo/ShowSetup.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Scenes/ScenePartWorld.h"
#include "Scenes/SceneSpectrumImpulsePart.h"
#include "Scenes/SceneSadSpectrum.h"
#include "Zembra/Engine.h"
#include "Zembra/Random.h"

namespace {

const unsigned FRAME_BUDGET_US = 15000;  // the demo's pacing period
const unsigned CLOCK_STEP_MS = 15;

// Value below which `share` (0-1) of the sorted samples lie (nearest rank).
double percentile(const std::vector<double>& sorted, double share)
{
    const size_t rank = static_cast<size_t>(share * (sorted.size() - 1) + 0.5);
    return sorted[std::min(rank, sorted.size() - 1)];
}

// CPU time so far of the whole process (CLOCK_PROCESS_CPUTIME_ID) or of the
// calling thread (CLOCK_THREAD_CPUTIME_ID), ms.
double cpuMs(clockid_t clock)
{
    timespec now = {};
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Plays `frames` frames of `scene` and returns the result line (written once the
// engine and the chain have logged their shutdown).
std::string run(int width, int height, int frames, const std::string& scene)
{
    // The demo's default seed at full glow: the same floor bands and world layout
    // on every run.
    const ShowSetup setup(ShowSetup::DEFAULT_SEED, width, height, GLOW_FULL);
    const DataFiles data = DataFiles::find(DataPlaces::current(), std::cerr);
    const std::unique_ptr<Engine> engine = setup.openWindow("framebench");
    Music music;
    const bool playing = music.init() && music.load(data.music().c_str());
    const std::unique_ptr<ChainPrograms> programs = setup.makePrograms(data.shaders());
    const std::unique_ptr<PostProcessChain> chain = setup.makeChain(*engine->getWindow());

    std::unique_ptr<SceneManager> scenes;
    auto restart = [&] {
        // One scene instead of the show, from the show's seed.
        Random::seed(setup.seed());
        scenes = std::make_unique<SceneManager>();
        if (scene == "world")
            scenes->addScene(std::make_unique<ScenePartWorld>());
        else if (scene == "impulse")
            scenes->addScene(std::make_unique<SceneSpectrumImpulsePart>());
        else
            scenes->addScene(std::make_unique<SceneSadSpectrum>());
    };
    restart();
    if (playing)
        music.play();

    std::vector<double> frameMs, frameCpuMs, frameMainCpuMs;
    frameMs.reserve(static_cast<size_t>(frames));
    frameCpuMs.reserve(static_cast<size_t>(frames));
    frameMainCpuMs.reserve(static_cast<size_t>(frames));
    unsigned clock = 1000;
    // A few frames first, off the record: the driver compiles its shader variants
    // on first use.
    const int warmUp = 5;
    for (int i = -warmUp; i < frames; ++i) {
        const auto begin = std::chrono::steady_clock::now();
        const double cpuBegin = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
        const double mainCpuBegin = cpuMs(CLOCK_THREAD_CPUTIME_ID);
        chain->renderFrame(*scenes, *programs->pulse, *programs->horizontalBlur,
                           *programs->verticalBlur);
        glFinish();
        clock += CLOCK_STEP_MS;
        const bool ended = scenes->update(music, clock);
        const auto end = std::chrono::steady_clock::now();
        if (i >= 0) {
            frameMs.push_back(std::chrono::duration<double, std::milli>(end - begin).count());
            frameCpuMs.push_back(cpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpuBegin);
            frameMainCpuMs.push_back(cpuMs(CLOCK_THREAD_CPUTIME_ID) - mainCpuBegin);
        }
        if (ended)
            restart();  // off the record: the scene ended (22 s or 25 s)
    }
    if (playing)
        music.stop();

    std::vector<double> sorted = frameMs;
    std::sort(sorted.begin(), sorted.end());
    const double withinBudget =
        std::count_if(sorted.begin(), sorted.end(),
                      [](double ms) { return ms * 1000.0 <= FRAME_BUDGET_US; }) /
        double(sorted.size());
    std::sort(frameCpuMs.begin(), frameCpuMs.end());
    std::sort(frameMainCpuMs.begin(), frameMainCpuMs.end());
    double total = 0.0;
    for (double ms : sorted)
        total += ms;
    char line[320];
    std::snprintf(
        line, sizeof line,
        "sceneframes %dx%d scene=%s frames=%d soundtrack=%s median_ms=%.2f p95_ms=%.2f "
        "mean_ms=%.2f max_ms=%.2f within_15ms=%.1f%% cpu_median_ms=%.2f main_cpu_median_ms=%.2f",
        width, height, scene.c_str(), frames, playing ? "yes" : "no", percentile(sorted, 0.5),
        percentile(sorted, 0.95), total / sorted.size(), sorted.back(), 100.0 * withinBudget,
        percentile(frameCpuMs, 0.5), percentile(frameMainCpuMs, 0.5));
    return line;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: sceneframes WIDTH HEIGHT [FRAMES] [spectrum|world|impulse]\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    const int frames = argc > 3 ? std::atoi(argv[3]) : 300;
    const std::string scene = argc > 4 ? argv[4] : "spectrum";
    if (scene != "spectrum" && scene != "world" && scene != "impulse") {
        std::fprintf(stderr, "sceneframes: the scene is 'spectrum', 'world' or 'impulse'\n");
        return 2;
    }
    if (width <= 0 || height <= 0 || frames <= 0) {
        std::fprintf(stderr, "sceneframes: sizes and frame count must be positive\n");
        return 2;
    }
    try {
        const std::string result = run(width, height, frames, scene);
        std::printf("%s\n", result.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sceneframes: %s\n", e.what());
        return 1;
    }
}
