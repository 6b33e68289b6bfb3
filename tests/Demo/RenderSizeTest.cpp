// The render size: the automatic choice by renderer and screen shape, and the
// driver's limit. (The settings' keys, the warning's text and the start-up line
// are checked on the real program by EndToEndTest.)
#include <gtest/gtest.h>

#include "Demo/RenderSize.h"

namespace {

const char* const LLVMPIPE = "llvmpipe (LLVM 15.0.6, 256 bits)";
const char* const HARDWARE = "NVIDIA GeForce RTX 3060/PCIe/SSE2";

PixelSize choose(RenderRequest request, PixelSize screen, const char* renderer, int maxSide = 16384,
                 PixelSize asked = {0, 0})
{
    return chooseRenderSize({request, asked, true}, screen, renderer, maxSide).size;
}

void expectSize(PixelSize expected, PixelSize actual)
{
    EXPECT_EQ(expected.width, actual.width);
    EXPECT_EQ(expected.height, actual.height);
}

}  // namespace

TEST(RenderSize, AutomaticSizeFollowsTheRendererAndTheScreensShape)
{
    expectSize({1920, 1080}, choose(RenderRequest::Automatic, {1920, 1080}, HARDWARE));
    // Software: the largest size of exactly the screen's shape within the budget
    // (16:9 the same on a 4K screen; 16:10 needs the exact step, 8 x 5).
    const struct {
        PixelSize screen;
        int ratioWidth, ratioHeight;
    } shapes[] = {{{1920, 1080}, 16, 9}, {{3840, 2160}, 16, 9}, {{1920, 1200}, 8, 5}};
    for (const auto& shape : shapes) {
        const PixelSize s = choose(RenderRequest::Automatic, shape.screen, LLVMPIPE);
        EXPECT_EQ(s.width * shape.ratioHeight, s.height * shape.ratioWidth)
            << s.width << "x" << s.height;
        EXPECT_LE(int64_t(s.width) * s.height, SOFTWARE_PIXEL_BUDGET);
        EXPECT_GT(int64_t(s.width + shape.ratioWidth) * (s.height + shape.ratioHeight),
                  SOFTWARE_PIXEL_BUDGET);
    }
    expectSize({320, 240}, choose(RenderRequest::Automatic, {320, 240}, LLVMPIPE));  // fits
    // 1366 x 768 is 683:384, too coarse a step: the nearest shape that fits instead.
    const PixelSize laptop = choose(RenderRequest::Automatic, {1366, 768}, LLVMPIPE);
    EXPECT_NEAR(1366.0 / 768.0, double(laptop.width) / laptop.height, 0.01);
    EXPECT_LE(int64_t(laptop.width) * laptop.height, SOFTWARE_PIXEL_BUDGET);
    EXPECT_GE(int64_t(laptop.width) * laptop.height * 4, SOFTWARE_PIXEL_BUDGET * 3);
    // A screen beyond the driver's largest texture: reduced, shape kept.
    expectSize({2048, 1152}, choose(RenderRequest::Automatic, {3840, 2160}, HARDWARE, 2048));
}

TEST(RenderSize, OnlyRequestsBeyondTheDriverFallBack)
{
    expectSize({16384, 480},
               choose(RenderRequest::Setting, {1920, 1080}, LLVMPIPE, 16384, {16384, 480}));
    const RenderChoice tooLarge = chooseRenderSize({RenderRequest::Setting, {16385, 480}, true},
                                                   {1920, 1080}, LLVMPIPE, 16384);
    expectSize(choose(RenderRequest::Automatic, {1920, 1080}, LLVMPIPE), tooLarge.size);
    EXPECT_NE("", tooLarge.warning);
    expectSize({1024, 768}, choose(RenderRequest::Screen, {1024, 768}, HARDWARE, 1024));
    EXPECT_NE("",
              chooseRenderSize({RenderRequest::Screen, {0, 0}, true}, {1024, 768}, HARDWARE, 1023)
                  .warning);
}
