// Paths of the generated MP3 fixtures (tests/fixtures/make-music-fixtures.sh lists
// them) and a scratch directory for files that tests make up themselves.
#pragma once

#include <string>

inline std::string musicFixture(const char* name)
{
    return std::string(DEDOZ_BINARY_DIR) + "/fixtures/music/" + name;
}
