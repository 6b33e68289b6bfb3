// framebench: cost of each stage of a frame through the real post-processing chain,
// for three chains in one process: "before" (the full-size chain with the blur
// shaders of tools/framebench/before, the reference), glow 1 (full size) and glow 2
// (half size). Depends on Demo, Scenes, Music.
//
// Usage (from the repository root, with a display, e.g. inside tests/xvfb-run.sh):
//   framebench [--render RWxRH] [--only CHAIN] WIDTH HEIGHT [ROUNDS [FRAMES]]
//     --render: the chains render at RW x RH and scale the frame onto the
//     WIDTH x HEIGHT window (the "scale" column), as the demo does in full screen.
//     --only: plays that chain alone (before, glow1 or glow2); ratios are then to it.
//     ROUNDS rounds (default 6); in each, every chain in turn plays FRAMES frames
//     (default 40) with a glFinish after each stage, then FRAMES whole frames with
//     one glFinish at the end. Alternating rounds spread a loaded machine's noise
//     over all chains alike. Prints the median of each stage (staged frames); of
//     whole frames the median, 99th percentile and share within 15 ms, and the
//     median CPU time of the process (all threads), which other processes on a
//     shared machine disturb less than wall time; ratios are to "before".
//   framebench --shots WIDTH HEIGHT DIR [MOMENT_MS...]
//     Plays the scene with the soundtrack and, at each moment (ms into the scene;
//     default 3000 8000 13000 19000), writes DIR/<chain>-<moment>.ppm for each chain,
//     all three from the same scene state.
// The scene state of the timing mode is fixed: SceneSadSpectrum 3 s into its first
// shot, clock held, no soundtrack (flat floor), updated every frame all the same.
#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "3D/Shader.h"
#include "Demo/ChainPrograms.h"
#include "Demo/FrameStageObserver.h"
#include "Demo/PostProcessChain.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Scenes/SceneSadSpectrum.h"
#include "Zembra/Engine.h"
#include "Zembra/Window.h"

namespace {

using Clock = std::chrono::steady_clock;

const double FRAME_BUDGET_MS = 15.0;  // the demo's pacing period
const unsigned CLOCK_STEP_MS = 15;
const unsigned CLOCK_START = 1000;  // the scene's first update starts its clock here

// CPU time of the whole process (the driver's rasteriser threads included), ms:
// less disturbed than wall time by other processes on a shared machine.
double processCpuMs()
{
    timespec now = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double msBetween(Clock::time_point begin, Clock::time_point end)
{
    return std::chrono::duration<double, std::milli>(end - begin).count();
}

// Value below which `share` (0-1) of the samples lie (nearest rank); sorts them.
double percentile(std::vector<double>& samples, double share)
{
    std::sort(samples.begin(), samples.end());
    const size_t rank = static_cast<size_t>(share * (samples.size() - 1) + 0.5);
    return samples[std::min(rank, samples.size() - 1)];
}

// The scenes the benchmark plays, in playing order.
void addScenes(SceneManager& scenes)
{
    scenes.addScene(std::make_unique<SceneSadSpectrum>());
}

// Finishes the GL work at the end of each stage and adds its time to the stage's
// total for the frame.
class StageClock : public FrameStageObserver {
public:
    void startFrame()
    {
        std::fill(std::begin(m_ms), std::end(m_ms), 0.0);
        m_last = Clock::now();
    }
    void stageEnded(FrameStage stage) override
    {
        glFinish();
        const Clock::time_point now = Clock::now();
        m_ms[static_cast<int>(stage)] += msBetween(m_last, now);
        m_last = now;
    }
    double ms(FrameStage stage) const { return m_ms[static_cast<int>(stage)]; }

private:
    double m_ms[FRAME_STAGE_COUNT] = {};
    Clock::time_point m_last;
};

// One chain under test with its blur programs and what its frames measured.
struct Variant {
    const char* name;
    const Shader* horizontalBlur;
    const Shader* verticalBlur;
    std::unique_ptr<PostProcessChain> chain;
    std::vector<double> stages[FRAME_STAGE_COUNT + 1];  // the last: the scene update
    std::vector<double> stagedFrames;
    std::vector<double> frames;
    std::vector<double> frameCpu;
};

// The engine, the programs, the three chains and the scenes, on one window.
struct Rig {
    // renderWidth, renderHeight: 0 renders at the window's size.
    Rig(int width, int height, int renderWidth = 0, int renderHeight = 0)
        : engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, width, height, "framebench"),
          beforeHorizontal(std::string("data/shaders/") + BLUR_VERTEX_SOURCE,
                           "tools/framebench/before/hblur.ps"),
          beforeVertical(std::string("data/shaders/") + BLUR_VERTEX_SOURCE,
                         "tools/framebench/before/vblur.ps")
    {
        programs.load("data/shaders");
        Window& window = *engine.getWindow();
        if (renderWidth <= 0 || renderHeight <= 0) {
            renderWidth = window.getWidth();
            renderHeight = window.getHeight();
        }
        auto chain = [&](GlowSize size) {
            return std::make_unique<PostProcessChain>(window, renderWidth, renderHeight, size);
        };
        variants.push_back(
            {"before", &beforeHorizontal, &beforeVertical, chain(GlowSize::Full), {}, {}, {}, {}});
        variants.push_back({"glow1",
                            programs.horizontalBlur.get(),
                            programs.verticalBlur.get(),
                            chain(GlowSize::Full),
                            {},
                            {},
                            {},
                            {}});
        variants.push_back({"glow2",
                            programs.horizontalBlur.get(),
                            programs.verticalBlur.get(),
                            chain(GlowSize::Half),
                            {},
                            {},
                            {},
                            {}});
        addScenes(scenes);
    }
    void render(Variant& v)
    {
        v.chain->renderFrame(scenes, *programs.pulse, *v.horizontalBlur, *v.verticalBlur);
    }

    Engine engine;
    ChainPrograms programs;
    Shader beforeHorizontal, beforeVertical;
    std::vector<Variant> variants;
    SceneManager scenes;
};

// Plays `frames` frames of v on the held clock; staged frames record each stage.
void play(Rig& rig, Variant& v, Music& music, unsigned clock, int frames, bool staged, bool record)
{
    StageClock stages;
    v.chain->setStageObserver(staged ? &stages : nullptr);
    for (int i = 0; i < frames; ++i) {
        stages.startFrame();
        const double cpuBegin = processCpuMs();
        const Clock::time_point begin = Clock::now();
        rig.render(v);
        glFinish();
        const Clock::time_point updating = Clock::now();
        rig.scenes.update(music, clock);
        const Clock::time_point end = Clock::now();
        if (!record)
            continue;
        if (!staged) {
            v.frames.push_back(msBetween(begin, end));
            v.frameCpu.push_back(processCpuMs() - cpuBegin);
            continue;
        }
        v.stagedFrames.push_back(msBetween(begin, end));
        for (int s = 0; s < FRAME_STAGE_COUNT; ++s)
            v.stages[s].push_back(stages.ms(static_cast<FrameStage>(s)));
        v.stages[FRAME_STAGE_COUNT].push_back(msBetween(updating, end));
    }
    v.chain->setStageObserver(nullptr);
}

void printTable(Rig& rig, int width, int height)
{
    const PostProcessChain& chain = *rig.variants[0].chain;
    std::printf(
        "framebench %dx%d, rendered at %dx%d, median ms per stage (glFinish after each stage); "
        "whole frames (one glFinish):\n",
        width, height, chain.renderWidth(), chain.renderHeight());
    std::printf("%-7s %6s %6s %6s %6s %6s %6s %6s %6s %6s %7s | %7s %7s %8s %7s | %7s %7s\n",
                "chain", "clears", "copy", "hblur", "vblur", "scene", "compos", "scale", "swap",
                "update", "staged", "frame", "p99", "<=15ms", "ratio", "cpu", "ratio");
    double beforeMedian = 0.0;
    double beforeCpu = 0.0;
    for (Variant& v : rig.variants) {
        std::printf("%-7s", v.name);
        for (std::vector<double>& stage : v.stages)
            std::printf(" %6.2f", percentile(stage, 0.5));
        const double within = std::count_if(v.frames.begin(), v.frames.end(),
                                            [](double ms) { return ms <= FRAME_BUDGET_MS; }) /
                              double(v.frames.size());
        const double median = percentile(v.frames, 0.5);
        const double cpu = percentile(v.frameCpu, 0.5);
        if (beforeMedian == 0.0) {
            beforeMedian = median;
            beforeCpu = cpu;
        }
        std::printf(" %7.2f | %7.2f %7.2f %7.1f%% %7.3f | %7.2f %7.3f\n",
                    percentile(v.stagedFrames, 0.5), median, percentile(v.frames, 0.99),
                    100.0 * within, median / beforeMedian, cpu, cpu / beforeCpu);
    }
    std::printf(
        "(vblur of before and glow1 adds onto the window itself: their composite is 0; "
        "%zu whole frames per chain)\n",
        rig.variants[0].frames.size());
}

int bench(int width, int height, int renderWidth, int renderHeight, const std::string& only,
          int rounds, int frames)
{
    Rig rig(width, height, renderWidth, renderHeight);
    if (!only.empty()) {
        rig.variants.erase(std::remove_if(rig.variants.begin(), rig.variants.end(),
                                          [&](const Variant& v) { return only != v.name; }),
                           rig.variants.end());
        if (rig.variants.empty()) {
            std::fprintf(stderr, "framebench: no chain named %s\n", only.c_str());
            return 2;
        }
    }
    Music silent;  // never loaded: a flat spectrum keeps the floor at rest
    // Played up to the held moment on the demo's frame clock, so that the scene has
    // faded in as it does in the demo.
    const unsigned clock = CLOCK_START + 3000;
    for (unsigned t = CLOCK_START; t <= clock; t += CLOCK_STEP_MS)
        rig.scenes.update(silent, t);
    // Off the record: the driver compiles its shader variants on first use.
    for (Variant& v : rig.variants)
        play(rig, v, silent, clock, 5, true, false);
    for (int round = 0; round < rounds; ++round)
        for (Variant& v : rig.variants) {
            play(rig, v, silent, clock, frames, true, true);
            play(rig, v, silent, clock, frames, false, true);
        }
    printTable(rig, width, height);
    return 0;
}

// The picture the last flip showed (Mesa's software driver keeps the back buffer
// after a swap), written top row first as binary PPM.
bool writeShot(const std::string& path, int width, int height)
{
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (int y = height - 1; y >= 0; --y)
        std::fwrite(&rgb[static_cast<size_t>(y) * width * 3], 1, static_cast<size_t>(width) * 3,
                    file);
    return std::fclose(file) == 0;
}

int shots(int width, int height, const std::string& dir, std::vector<unsigned> moments)
{
    Rig rig(width, height);
    Music music;
    if (music.init() && music.load("data/music/tovane.mp3"))
        music.play();
    std::sort(moments.begin(), moments.end());
    unsigned clock = CLOCK_START;
    rig.scenes.update(music, clock);
    for (unsigned moment : moments) {
        while (clock < CLOCK_START + moment) {
            clock += CLOCK_STEP_MS;
            if (rig.scenes.update(music, clock)) {
                std::fprintf(stderr, "framebench: the scenes end before %u ms\n", moment);
                return 1;
            }
        }
        for (Variant& v : rig.variants) {
            rig.render(v);
            const std::string path = dir + "/" + v.name + "-" + std::to_string(moment) + ".ppm";
            if (!writeShot(path, width, height)) {
                std::fprintf(stderr, "framebench: cannot write %s\n", path.c_str());
                return 1;
            }
            std::printf("framebench shot %s\n", path.c_str());
        }
    }
    music.stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    int renderWidth = 0, renderHeight = 0;
    if (argc > 2 && std::string(argv[1]) == "--render") {
        if (std::sscanf(argv[2], "%dx%d", &renderWidth, &renderHeight) != 2 || renderWidth <= 0 ||
            renderHeight <= 0) {
            std::fprintf(stderr, "framebench: --render takes WIDTHxHEIGHT\n");
            return 2;
        }
        argc -= 2;
        argv += 2;
    }
    std::string only;
    if (argc > 2 && std::string(argv[1]) == "--only") {
        only = argv[2];
        argc -= 2;
        argv += 2;
    }
    const bool shotMode = argc > 1 && std::string(argv[1]) == "--shots";
    const int first = shotMode ? 2 : 1;
    if (argc < first + 2 + (shotMode ? 1 : 0)) {
        std::fprintf(stderr,
                     "usage: framebench [--render RWxRH] [--only CHAIN] WIDTH HEIGHT [ROUNDS "
                     "[FRAMES]]\n"
                     "       framebench --shots WIDTH HEIGHT DIR [MOMENT_MS...]\n");
        return 2;
    }
    const int width = std::atoi(argv[first]);
    const int height = std::atoi(argv[first + 1]);
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "framebench: sizes must be positive\n");
        return 2;
    }
    try {
        if (shotMode) {
            std::vector<unsigned> moments;
            for (int i = first + 3; i < argc; ++i)
                moments.push_back(static_cast<unsigned>(std::strtoul(argv[i], nullptr, 10)));
            if (moments.empty())
                moments = {3000, 8000, 13000, 19000};
            return shots(width, height, argv[first + 2], moments);
        }
        const int rounds = argc > first + 2 ? std::atoi(argv[first + 2]) : 6;
        const int frames = argc > first + 3 ? std::atoi(argv[first + 3]) : 40;
        if (rounds <= 0 || frames <= 0) {
            std::fprintf(stderr, "framebench: rounds and frames must be positive\n");
            return 2;
        }
        return bench(width, height, renderWidth, renderHeight, only, rounds, frames);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "framebench: %s\n", e.what());
        return 1;
    }
}
