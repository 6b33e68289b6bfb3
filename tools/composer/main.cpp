// composer: renders the soundtrack to a 44.1 kHz 16-bit stereo WAV file.
// Depends on the composer library (Piece, WavWriter).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/composer/Piece.h"
#include "tools/composer/WavWriter.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: composer OUTPUT.wav [SECONDS]\n");
        return 2;
    }
    double seconds = 0.0;
    if (argc == 3) {
        char* end = nullptr;
        seconds = std::strtod(argv[2], &end);
        if (end == argv[2] || *end != '\0' || seconds < 0.0) {
            std::fprintf(stderr, "composer: SECONDS must be a non-negative number, got '%s'\n",
                         argv[2]);
            return 2;
        }
    }
    float limiterGain = 1.0f;
    StereoBuffer mix = Piece::render(seconds, &limiterGain);
    if (!WavWriter::write(argv[1], mix, Piece::SAMPLE_RATE)) {
        std::fprintf(stderr, "composer: cannot write '%s'\n", argv[1]);
        return 1;
    }
    std::printf("composer: wrote %s (%.2f s, deepest limiting %.2f dB)\n", argv[1],
                mix.frames() / static_cast<double>(Piece::SAMPLE_RATE),
                -20.0 * std::log10(limiterGain));
    return 0;
}
