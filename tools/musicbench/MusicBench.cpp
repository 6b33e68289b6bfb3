// musicbench: per-frame spectrum cost, time to open a 105 s stereo track, and the
// cost and memory of playing it through on a clock set by hand (the device-less
// capture path, which decodes on the calling thread when the feeder is behind).
// Depends on the music library and Google Benchmark.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "Music/Music.h"

namespace {

// Resident set size in KiB, from /proc/self/status (0 when unknown).
long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

void BM_GetSpectrum512(benchmark::State& state)
{
    Music music;
    if (!music.init() || !music.load(MUSICBENCH_TRACK)) {
        state.SkipWithError("no music");
        return;
    }
    music.play();
    music.setPosition(30000);
    float spectrum[512];
    for (auto _ : state) {
        music.getSpectrum(spectrum, 512);
        benchmark::DoNotOptimize(spectrum[2]);
    }
    music.stop();
}
BENCHMARK(BM_GetSpectrum512)->Unit(benchmark::kMicrosecond);

// Music::load: the file's frames counted and its first frames decoded, nothing more.
void BM_Load105s(benchmark::State& state)
{
    Music music;
    if (!music.init()) {
        state.SkipWithError("no sound system");
        return;
    }
    for (auto _ : state) {
        if (!music.load(MUSICBENCH_TRACK)) {
            state.SkipWithError("load failed");
            return;
        }
    }
    state.counters["length_s"] = music.getLength() / 1000.0;
}
BENCHMARK(BM_Load105s)->Unit(benchmark::kMillisecond)->Iterations(5);

// The whole track in 15 ms steps of a set clock, one 512-band spectrum per step:
// time per step, and how much the resident set grew meanwhile (the streams' rings).
void BM_PlayThrough105sOnASetClock(benchmark::State& state)
{
    for (auto _ : state) {
        const long before = residentKiB();
        Music music;
        unsigned int clock = 0;
        music.setClock(clock);
        if (!music.init() || !music.load(MUSICBENCH_TRACK)) {
            state.SkipWithError("no music");
            return;
        }
        music.play();
        float spectrum[512];
        long steps = 0;
        long peak = before;
        for (; clock <= music.getLength(); clock += 15, ++steps) {
            music.setClock(clock);
            music.getSpectrum(spectrum, 512);
            benchmark::DoNotOptimize(spectrum[2]);
            if (steps % 1000 == 0)
                peak = std::max(peak, residentKiB());
        }
        state.counters["steps"] = static_cast<double>(steps);
        state.counters["time_per_step"] = benchmark::Counter(
            static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
        state.counters["rss_growth_MiB"] = (peak - before) / 1024.0;
    }
}
BENCHMARK(BM_PlayThrough105sOnASetClock)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
