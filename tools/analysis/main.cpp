// analysis: decodes an MP3 with the sound layer and prints what the demo's music
// reactions will measure in each scene's section. Depends on Music (decodeFile,
// SoundError) and TrackAnalysis.
#include <cstdio>
#include <string>
#include <vector>

#include "Music/MpegReader.h"
#include "Music/SoundError.h"
#include "tools/analysis/TrackAnalysis.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: analysis FILE.mp3\n");
        return 2;
    }
    DecodedSound sound;
    try {
        sound = decodeFile(argv[1]);
    } catch (const SoundError& e) {
        std::fprintf(stderr, "analysis: cannot decode '%s': %s\n", argv[1], e.what());
        return 1;
    }
    const std::vector<float>& samples = sound.samples;
    const int channels = sound.channels;
    const int sampleRate = sound.sampleRate;
    std::printf("%s: %d channel(s), %d Hz, %.2f s\n", argv[1], channels, sampleRate,
                samples.size() / static_cast<double>(channels) / sampleRate);
    TrackAnalysis::Figures figures =
        TrackAnalysis::analyse(samples, channels, sampleRate, TrackAnalysis::sceneSpans());
    std::fputs(TrackAnalysis::format(figures).c_str(), stdout);
    return 0;
}
