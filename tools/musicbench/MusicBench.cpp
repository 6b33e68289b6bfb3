// musicbench: per-frame spectrum cost, whole-file decoding time and decoded size
// of a 105 s stereo track. Depends on the music library and Google Benchmark.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "Music/Music.h"
#include "Music/SoundDecoder.h"
#include "Music/SoundResult.h"

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

void BM_OpenAndDecode105s(benchmark::State& state)
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
BENCHMARK(BM_OpenAndDecode105s)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DecodedTrackMemory(benchmark::State& state)
{
    for (auto _ : state) {
        const long before = residentKiB();
        std::vector<float> data;
        int channels = 0;
        int rate = 0;
        if (SoundDecoder::decodeFile(MUSICBENCH_TRACK, data, channels, rate) != SoundResult::Ok) {
            state.SkipWithError("decode failed");
            return;
        }
        const long after = residentKiB();
        state.counters["samples_MiB"] = data.size() * sizeof(float) / (1024.0 * 1024.0);
        state.counters["capacity_MiB"] = data.capacity() * sizeof(float) / (1024.0 * 1024.0);
        state.counters["rss_growth_MiB"] = (after - before) / 1024.0;
        state.counters["seconds"] = static_cast<double>(data.size() / channels) / rate;
    }
}
BENCHMARK(BM_DecodedTrackMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
