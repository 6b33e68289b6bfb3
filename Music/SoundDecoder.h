// SoundDecoder: reads a whole MP3 file (any sample rate and channel count that
// libmpg123 accepts) into interleaved 32-bit floats, full scale -1 to 1, with the
// encoder delay and padding removed when the file carries a gapless tag. For tools
// and tests that want every sample at once; the player streams instead.
#pragma once

#include <vector>

class SoundDecoder {
public:
    // Decodes the file at path. On success returns SoundResult::Ok and fills
    // interleaved (frames x channels floats), channels (>= 1) and sampleRate (Hz).
    // On failure returns one of the SoundResult codes (missing or not a regular
    // file, directory, empty file, not an MP3, truncated MP3, ...) and leaves
    // interleaved empty, channels and sampleRate 0. Thread-safe: keeps no state between calls.
    static int decodeFile(const char* path, std::vector<float>& interleaved, int& channels,
                          int& sampleRate);
};
