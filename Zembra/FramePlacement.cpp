// FramePlacement: letterboxing arithmetic in 64-bit integers, so that sides up to
// INT_MAX multiply without overflow and no aspect ratio is ever divided by zero.
#include "Zembra/FramePlacement.h"

#include <algorithm>
#include <cstdint>

namespace {

// numerator / denominator rounded to the nearest integer; denominator > 0.
int64_t roundedQuotient(int64_t numerator, int64_t denominator)
{
    return (2 * numerator + denominator) / (2 * denominator);
}

}  // namespace

PixelRect placeFrame(int frameWidth, int frameHeight, int surfaceWidth, int surfaceHeight)
{
    if (surfaceWidth < 1 || surfaceHeight < 1)
        return {0, 0, 0, 0};
    if (frameWidth < 1 || frameHeight < 1)
        return {0, 0, surfaceWidth, surfaceHeight};
    const int64_t fw = frameWidth, fh = frameHeight, sw = surfaceWidth, sh = surfaceHeight;
    int64_t width = sw, height = sh;
    // Compare the shapes by cross-multiplying: fw / fh <= sw / sh.
    if (fw * sh <= sw * fh)
        width = roundedQuotient(sh * fw, fh);  // taller than the surface: bars left and right
    else
        height = roundedQuotient(sw * fh, fw);  // wider: bars above and below
    width = std::clamp<int64_t>(width, 1, sw);
    height = std::clamp<int64_t>(height, 1, sh);
    return {static_cast<int>((sw - width) / 2), static_cast<int>((sh - height) / 2),
            static_cast<int>(width), static_cast<int>(height)};
}
