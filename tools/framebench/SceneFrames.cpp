// sceneframes: wall time of whole frames of one scene through the real chain
// (scene update, four passes, flip, glFinish). Depends on Demo, Scenes, Music.
//
// Usage (from the repository root, with a display, e.g. inside tests/xvfb-run.sh):
//   sceneframes WIDTH HEIGHT [FRAMES] [SCENE]
// SCENE: "spectrum" (the default, SceneSadSpectrum: the floor alone) or "world"
// (ScenePartWorld: the floor, 450 wireframe meshes and 18 point trails).
// Plays the scene over its floor with the soundtrack's spectrum (silent when
// the soundtrack is missing) on a clock advanced by 15 ms per frame, so the scene
// moves as in the demo whatever the frame cost. No frame pacing: the figure is the
// cost of a frame, not the demo's 15 ms period. Progress lines of the engine go to
// standard output as usual; the result is the last line, starting "sceneframes ".
#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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
        else
            scenes->addScene(std::make_unique<SceneSadSpectrum>());
    };
    restart();
    if (playing)
        music.play();

    std::vector<double> frameMs;
    frameMs.reserve(static_cast<size_t>(frames));
    unsigned clock = 1000;
    // A few frames first, off the record: the driver compiles its shader variants
    // on first use.
    const int warmUp = 5;
    for (int i = -warmUp; i < frames; ++i) {
        const auto begin = std::chrono::steady_clock::now();
        chain->renderFrame(*scenes, *programs->pulse, *programs->horizontalBlur,
                           *programs->verticalBlur);
        glFinish();
        clock += CLOCK_STEP_MS;
        const bool ended = scenes->update(music, clock);
        const auto end = std::chrono::steady_clock::now();
        if (i >= 0)
            frameMs.push_back(std::chrono::duration<double, std::milli>(end - begin).count());
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
    double total = 0.0;
    for (double ms : sorted)
        total += ms;
    char line[256];
    std::snprintf(line, sizeof line,
                  "sceneframes %dx%d scene=%s frames=%d soundtrack=%s median_ms=%.2f p95_ms=%.2f "
                  "mean_ms=%.2f max_ms=%.2f within_15ms=%.1f%%",
                  width, height, scene.c_str(), frames, playing ? "yes" : "no",
                  percentile(sorted, 0.5), percentile(sorted, 0.95), total / sorted.size(),
                  sorted.back(), 100.0 * withinBudget);
    return line;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: sceneframes WIDTH HEIGHT [FRAMES] [spectrum|world]\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    const int frames = argc > 3 ? std::atoi(argv[3]) : 300;
    const std::string scene = argc > 4 ? argv[4] : "spectrum";
    if (scene != "spectrum" && scene != "world") {
        std::fprintf(stderr, "sceneframes: the scene is 'spectrum' or 'world'\n");
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
