// spectrumprint: the spectrum Music gives for an MP3 at given times of a clock set
// by hand, one line per time: the time in ms, then the 512 band values. Built for
// the desktop and, from the same source, for the browser (tests/web), so that the
// two platforms' spectra can be compared value by value.
// Usage: spectrumprint FILE.mp3 MS [MS ...]   (times in increasing order)
#include <cstdio>
#include <cstdlib>

#include "Music/Music.h"

namespace {

const int BANDS = 512;

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: spectrumprint FILE.mp3 MS [MS ...]\n");
        return 2;
    }
    Music music;
    music.setClock(0);  // no audio output: the sound runs on the times below
    if (!music.init() || !music.load(argv[1]))
        return 1;
    music.play();
    float bands[BANDS];
    for (int i = 2; i < argc; ++i) {
        char* end = nullptr;
        const unsigned long ms = std::strtoul(argv[i], &end, 10);
        if (!end || *end) {
            std::fprintf(stderr, "spectrumprint: not a time in ms: %s\n", argv[i]);
            return 2;
        }
        music.setClock(static_cast<unsigned int>(ms));
        music.getSpectrum(bands, BANDS);
        std::printf("%lu", ms);
        for (float band : bands)
            std::printf(" %.7g", band);
        std::printf("\n");
    }
    std::fflush(stdout);
    return 0;
}
