// analysis: decodes an MP3 with the sound layer and prints what the demo's music
// reactions will measure in each scene's section. Depends on Music (SoundDecoder,
// SoundResult) and TrackAnalysis.
#include <cstdio>
#include <string>
#include <vector>

#include "Music/SoundDecoder.h"
#include "Music/SoundResult.h"
#include "tools/analysis/TrackAnalysis.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: analysis FILE.mp3\n");
        return 2;
    }
    std::vector<float> samples;
    int channels = 0;
    int sampleRate = 0;
    int result = SoundDecoder::decodeFile(argv[1], samples, channels, sampleRate);
    if (result != SoundResult::Ok) {
        std::fprintf(stderr, "analysis: cannot decode '%s': %s\n", argv[1],
                     SoundResult::errorString(result));
        return 1;
    }
    std::printf("%s: %d channel(s), %d Hz, %.2f s\n", argv[1], channels, sampleRate,
                samples.size() / static_cast<double>(channels) / sampleRate);
    TrackAnalysis::Figures figures =
        TrackAnalysis::analyse(samples, channels, sampleRate, TrackAnalysis::sceneSpans());
    std::fputs(TrackAnalysis::format(figures).c_str(), stdout);
    return 0;
}
