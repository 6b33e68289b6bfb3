// Where a frame lands on a window of another size: shape kept, centred, whole
// pixels, never a zero side or a division by zero.
#include <gtest/gtest.h>

#include "Zembra/FramePlacement.h"

namespace {

void expectRect(PixelRect e, PixelRect a)
{
    EXPECT_TRUE(e.x == a.x && e.y == a.y && e.width == a.width && e.height == a.height)
        << a.x << "," << a.y << " " << a.width << "x" << a.height;
}

}  // namespace

TEST(FramePlacement, KeepsTheShapeBetweenCentredBars)
{
    expectRect({240, 0, 1440, 1080}, placeFrame(640, 480, 1920, 1080));  // bars left and right
    expectRect({0, 60, 1920, 960}, placeFrame(1280, 640, 1920, 1080));   // above and below
    expectRect({0, 0, 1920, 1080}, placeFrame(640, 360, 1920, 1080));    // same shape: no bars
    expectRect({0, 0, 3840, 2160}, placeFrame(1920, 1080, 3840, 2160));
    expectRect({80, 0, 640, 480}, placeFrame(1920, 1440, 800, 480));  // scaled down
    // Odd sizes: 333 x 199 on 1001 x 500 is 836.7 wide, rounded; the odd bar pixel
    // goes right.
    expectRect({82, 0, 837, 500}, placeFrame(333, 199, 1001, 500));
}

TEST(FramePlacement, ExtremeAndDegenerateSizes)
{
    // A line of a frame stays one pixel wide, in the middle.
    expectRect({959, 0, 1, 1080}, placeFrame(1, 16384, 1920, 1080));
    expectRect({0, 539, 1920, 1}, placeFrame(16384, 1, 1920, 1080));
    expectRect({0, 0, 1, 1}, placeFrame(16384, 1, 1, 1));
    // Sides whose products overflow 32 bits.
    expectRect({0, 0, 2147483647, 2147483647},
               placeFrame(2147483647, 2147483647, 2147483647, 2147483647));
    // No frame: the whole window; no window: nothing to draw.
    expectRect({0, 0, 1920, 1080}, placeFrame(0, 480, 1920, 1080));
    expectRect({0, 0, 0, 0}, placeFrame(640, 480, 0, 1080));
    expectRect({0, 0, 0, 0}, placeFrame(640, 480, 1920, -5));
}
