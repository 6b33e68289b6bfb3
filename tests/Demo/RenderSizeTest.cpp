// The render size: the settings' request, the automatic choice by renderer and
// screen shape, the driver's limit, and the start-up line.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "Demo/RenderSize.h"
#include "Demo/Settings.h"

namespace {

const char* const LLVMPIPE = "llvmpipe (LLVM 15.0.6, 256 bits)";
const char* const HARDWARE = "NVIDIA GeForce RTX 3060/PCIe/SSE2";
const PresentationSettings AUTOMATIC = {RenderRequest::Automatic, {0, 0}, true};

PixelSize automaticSize(PixelSize screen, const char* renderer, int maxSide = 16384)
{
    return chooseRenderSize(AUTOMATIC, screen, renderer, maxSide).size;
}

PresentationSettings read(const std::string& content)
{
    const std::string path = "/tmp/dedoz-render-size-test.ini";
    std::ofstream(path) << content;
    testing::internal::CaptureStdout();
    const PresentationSettings result = readPresentationSettings(Settings(path));
    testing::internal::GetCapturedStdout();
    std::remove(path.c_str());
    return result;
}

}  // namespace

TEST(RenderSize, AutomaticSizeFollowsTheRendererAndTheScreensShape)
{
    const RenderChoice hardware = chooseRenderSize(AUTOMATIC, {1920, 1080}, HARDWARE, 16384);
    EXPECT_EQ(1920, hardware.size.width);
    EXPECT_EQ(1080, hardware.size.height);
    EXPECT_EQ("automatic, hardware renderer", hardware.reason);

    // Software: the largest size of exactly the screen's shape within the budget
    // (16:9 the same on a 4K screen; 16:10 needs the exact step, 8 x 5).
    const struct {
        PixelSize screen;
        int ratioWidth, ratioHeight;
    } shapes[] = {{{1920, 1080}, 16, 9}, {{3840, 2160}, 16, 9}, {{1920, 1200}, 8, 5}};
    for (const auto& shape : shapes) {
        const PixelSize s = automaticSize(shape.screen, LLVMPIPE);
        EXPECT_EQ(s.width * shape.ratioHeight, s.height * shape.ratioWidth)
            << s.width << "x" << s.height;
        EXPECT_LE(int64_t(s.width) * s.height, SOFTWARE_PIXEL_BUDGET);
        EXPECT_GT(int64_t(s.width + shape.ratioWidth) * (s.height + shape.ratioHeight),
                  SOFTWARE_PIXEL_BUDGET);
    }
    const PixelSize small = automaticSize({320, 240}, LLVMPIPE);  // within the budget
    EXPECT_EQ(320, small.width);
    EXPECT_EQ(240, small.height);
    // 1366 x 768 is 683:384, too coarse a step: the nearest shape that fits instead.
    const PixelSize laptop = automaticSize({1366, 768}, LLVMPIPE);
    EXPECT_NEAR(1366.0 / 768.0, double(laptop.width) / laptop.height, 0.01);
    EXPECT_LE(int64_t(laptop.width) * laptop.height, SOFTWARE_PIXEL_BUDGET);
    EXPECT_GE(int64_t(laptop.width) * laptop.height * 4, SOFTWARE_PIXEL_BUDGET * 3);
    // A screen beyond the driver's largest texture: reduced, shape kept.
    const PixelSize limited = automaticSize({3840, 2160}, HARDWARE, 2048);
    EXPECT_EQ(2048, limited.width);
    EXPECT_EQ(1152, limited.height);
}

TEST(RenderSize, RequestsBeyondTheDriverFallBackWithOneWarning)
{
    const RenderChoice set =
        chooseRenderSize({RenderRequest::Setting, {640, 480}, true}, {1920, 1080}, LLVMPIPE, 16384);
    EXPECT_EQ("", set.warning);
    EXPECT_EQ("Render size 640x480 (setting), full screen 1920x1080",
              presentationMessage(set, true, {1920, 1080}));
    const RenderChoice screen =
        chooseRenderSize({RenderRequest::Screen, {0, 0}, false}, {1920, 1080}, HARDWARE, 16384);
    EXPECT_EQ("Render size 1920x1080 (screen size), window 1920x1080",
              presentationMessage(screen, false, {1920, 1080}));

    const RenderChoice tooLarge = chooseRenderSize({RenderRequest::Setting, {16385, 480}, true},
                                                   {1920, 1080}, LLVMPIPE, 16384);
    const PixelSize automatic = automaticSize({1920, 1080}, LLVMPIPE);
    EXPECT_EQ(automatic.width, tooLarge.size.width);
    EXPECT_EQ(automatic.height, tooLarge.size.height);
    EXPECT_EQ("automatic, software renderer", tooLarge.reason);
    EXPECT_EQ(
        "Warning: the render size 16385x480 is larger than the driver allows (16384 pixels "
        "a side), the automatic size " +
            std::to_string(automatic.width) + "x" + std::to_string(automatic.height) + " is used",
        tooLarge.warning);
}

TEST(RenderSize, SettingsNameTheRequest)
{
    PresentationSettings p = read("hres -1\nvres -1\nfullscreen 0\n");
    EXPECT_EQ(RenderRequest::Automatic, p.request);
    EXPECT_FALSE(p.fullScreen);
    EXPECT_EQ(RenderRequest::Screen, read("hres 0\nvres 0\n").request);
    // Only one side automatic: that side falls back to its default.
    p = read("hres -1\nvres 600\nfullscreen 2\n");
    EXPECT_EQ(RenderRequest::Setting, p.request);
    EXPECT_EQ(640, p.size.width);
    EXPECT_EQ(600, p.size.height);
    EXPECT_TRUE(p.fullScreen);
}
