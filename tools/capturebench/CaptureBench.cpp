// capturebench: what capturing costs beside rendering. Plays the demo's show on the
// capture's fixed clock through the real chain, pixel-buffer read-back and H.264 +
// AAC encoder (into a temporary file that is deleted), and splits the time of a
// frame into rendering (chain, then glFinish), read-back and encoding. A second pass
// without glFinish gives the throughput of a real capture.
//
// Usage (from the repository root, with a display, e.g. inside tests/xvfb-run.sh):
//   capturebench WIDTH HEIGHT [FRAMES]
// The result is the last line, starting "capturebench ".
#include <GL/glew.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>

#include "Capture/FrameClock.h"
#include "Capture/PboReader.h"
#include "Capture/Soundtrack.h"
#include "Capture/VideoWriter.h"
#include "3D/Shader.h"
#include "Demo/ChainPrograms.h"
#include "Demo/DataFiles.h"
#include "Demo/DemoContent.h"
#include "Demo/GlowSize.h"
#include "Demo/PostProcessChain.h"
#include "Demo/ShowSetup.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Engine.h"
#include "Zembra/Window.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

struct Totals {
    double render = 0.0;
    double readBack = 0.0;
    double encode = 0.0;
    double wall = 0.0;
};

// Captures `frames` frames (after a few unrecorded ones) into path. With `split`,
// a glFinish after the chain charges rendering to rendering alone.
Totals capture(const ShowSetup& setup, Engine& engine, int frames, bool split,
               const std::string& path)
{
    const FrameClock clock(60);
    const DataFiles data = DataFiles::find(DataPlaces::current(), std::cerr);
    Soundtrack soundtrack;
    std::string reason;
    soundtrack.load(data.music(), reason);
    Music music;
    music.setClock(0);
    music.init();
    if (music.load(data.music().c_str()))
        music.play();
    const int width = setup.windowWidth(), height = setup.windowHeight();
    std::unique_ptr<SceneManager> scenes = setup.makeScenes();
    const std::unique_ptr<ChainPrograms> programs = setup.makePrograms(data.shaders());
    const std::unique_ptr<PostProcessChain> chain = setup.makeChain(*engine.getWindow());
    VideoWriter writer(path, width, height, 60, soundtrack.loaded() ? &soundtrack : nullptr, 0);

    Totals totals;
    const int warmUp = 5;
    bool recording = false;
    PboReader reader(width, height, [&](uint64_t, const uint8_t* rgba) {
        const auto begin = Clock::now();
        writer.writeFrame(rgba);
        if (recording)
            totals.encode += msSince(begin);
    });
    Clock::time_point start = Clock::now();
    for (int i = -warmUp; i < frames; ++i) {
        recording = i >= 0;
        if (i == 0)
            start = Clock::now();
        const uint64_t frame = static_cast<uint64_t>(i + warmUp);
        music.setClock(static_cast<unsigned>(clock.timeOf(frame)));
        if (frame > 0 && scenes->update(music, clock.tickOf(frame))) {
            scenes = setup.makeScenes();  // the show ended: play it again
        }
        auto begin = Clock::now();
        chain->render(*scenes, *programs->pulse, *programs->horizontalBlur,
                      *programs->verticalBlur);
        if (split)
            glFinish();
        if (recording)
            totals.render += msSince(begin);
        begin = Clock::now();
        const double encodedBefore = totals.encode;
        reader.read(frame);
        if (recording)
            totals.readBack += msSince(begin) - (totals.encode - encodedBefore);
        engine.getWindow()->flip();
    }
    reader.flush();
    writer.finish();
    totals.wall = msSince(start);
    std::remove(path.c_str());
    return totals;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: capturebench WIDTH HEIGHT [FRAMES]\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    const int frames = argc > 3 ? std::atoi(argv[3]) : 300;
    if (width <= 0 || height <= 0 || width % 2 || height % 2 || frames <= 0) {
        std::fprintf(stderr, "capturebench: even WIDTH and HEIGHT and a positive FRAMES, please\n");
        return 2;
    }
    av_log_set_level(AV_LOG_ERROR);
    const std::string path = "/tmp/capturebench-" + std::to_string(getpid()) + ".mp4";
    try {
        // The demo's default seed at full glow: the same frames on every run.
        const ShowSetup setup(ShowSetup::DEFAULT_SEED, width, height, GLOW_FULL);
        const std::unique_ptr<Engine> engine = setup.openWindow("capturebench");
        const Totals split = capture(setup, *engine, frames, true, path);
        const Totals whole = capture(setup, *engine, frames, false, path);
        std::printf(
            "capturebench %dx%d frames=%d render_ms=%.2f readback_ms=%.2f encode_ms=%.2f "
            "added=%.0f%% split_fps=%.1f capture_fps=%.1f\n",
            width, height, frames, split.render / frames, split.readBack / frames,
            split.encode / frames, 100.0 * (split.readBack + split.encode) / split.render,
            1000.0 * frames / split.wall, 1000.0 * frames / whole.wall);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "capturebench: %s\n", e.what());
        return 1;
    }
    return 0;
}
