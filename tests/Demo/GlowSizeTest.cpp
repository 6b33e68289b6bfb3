// The glow size: chosen by the setting, or for the automatic setting by the
// renderer's name, and the start-up line that names it.
#include <gtest/gtest.h>

#include <string>

#include "Demo/GlowSize.h"

namespace {

const char* const LLVMPIPE = "llvmpipe (LLVM 15.0.7, 256 bits)";
const char* const HARDWARE = "NVIDIA GeForce RTX 3060/PCIe/SSE2";

}  // namespace

TEST(GlowSize, AutomaticPicksHalfSizeOnSoftwareRenderersOnly)
{
    for (const char* software :
         {LLVMPIPE, "softpipe", "Gallium 0.4 on softpipe", "Software Rasterizer", "LLVMPIPE",
          // What a browser names its software device behind WebGL.
          "ANGLE (Google, Vulkan 1.3.0 (SwiftShader Device (Subzero) (0x0000C0DE)), "
          "SwiftShader driver)"}) {
        EXPECT_TRUE(isSoftwareRenderer(software)) << software;
        EXPECT_EQ(GlowSize::Half, chooseGlowSize(GLOW_AUTOMATIC, software)) << software;
    }
    // A hardware driver built with LLVM is no software renderer.
    for (const char* hardware :
         {HARDWARE, "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49)",
          "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "", "llvm"}) {
        EXPECT_FALSE(isSoftwareRenderer(hardware)) << hardware;
        EXPECT_EQ(GlowSize::Full, chooseGlowSize(GLOW_AUTOMATIC, hardware)) << hardware;
    }
    EXPECT_EQ(GlowSize::Full, chooseGlowSize(GLOW_AUTOMATIC, nullptr)) << "no renderer name";
    EXPECT_EQ(std::string("Glow at half size (software renderer)"),
              glowMessage(GLOW_AUTOMATIC, LLVMPIPE));
    EXPECT_EQ(std::string("Glow at full size (hardware renderer)"),
              glowMessage(GLOW_AUTOMATIC, HARDWARE));
}

TEST(GlowSize, AnExplicitSettingWinsOverTheRenderer)
{
    EXPECT_EQ(GlowSize::Full, chooseGlowSize(GLOW_FULL, LLVMPIPE));
    EXPECT_EQ(GlowSize::Half, chooseGlowSize(GLOW_HALF, HARDWARE));
    EXPECT_EQ(std::string("Glow at full size (setting)"), glowMessage(GLOW_FULL, LLVMPIPE));
    EXPECT_EQ(std::string("Glow at half size (setting)"), glowMessage(GLOW_HALF, HARDWARE));
}
