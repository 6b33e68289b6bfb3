// GlowSize: picks the glow's resolution from the setting and the renderer's name.
#include "Demo/GlowSize.h"

#include <cctype>
#include <cstring>
#include <initializer_list>

namespace {

// strstr without regard to ASCII case.
bool containsIgnoringCase(const char* text, const char* word)
{
    const size_t length = std::strlen(word);
    for (; *text != '\0'; ++text) {
        size_t i = 0;
        while (i < length && text[i] != '\0' &&
               std::tolower(static_cast<unsigned char>(text[i])) ==
                   std::tolower(static_cast<unsigned char>(word[i])))
            ++i;
        if (i == length)
            return true;
    }
    return false;
}

}  // namespace

bool isSoftwareRenderer(const char* renderer)
{
    if (renderer == nullptr)
        return false;
    // swrast reports itself as "Software Rasterizer"; a browser's software WebGL
    // device is SwiftShader.
    for (const char* name :
         {"llvmpipe", "softpipe", "swrast", "software rasterizer", "swiftshader"})
        if (containsIgnoringCase(renderer, name))
            return true;
    return false;
}

GlowSize chooseGlowSize(int setting, const char* renderer)
{
    if (setting == GLOW_FULL)
        return GlowSize::Full;
    if (setting == GLOW_HALF)
        return GlowSize::Half;
    // A software renderer spends most of a full-size frame in the two blurs.
    return isSoftwareRenderer(renderer) ? GlowSize::Half : GlowSize::Full;
}

const char* glowMessage(int setting, const char* renderer)
{
    if (setting == GLOW_FULL)
        return "Glow at full size (setting)";
    if (setting == GLOW_HALF)
        return "Glow at half size (setting)";
    return chooseGlowSize(setting, renderer) == GlowSize::Half
               ? "Glow at half size (software renderer)"
               : "Glow at full size (hardware renderer)";
}
