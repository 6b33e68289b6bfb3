// GlowSize: the resolution the post-processing glow is rendered at, and the choice
// of it from the "glow" setting (0 automatic, 1 full, 2 half) and the OpenGL
// renderer's name. Pure functions: no GL calls, no output.
#pragma once

enum class GlowSize {
    Full,  // scene copy, both blurs and their targets at the window's size
    Half,  // the same at half the window's size, added back with one bilinear quad
};

// Values of the "glow" setting.
const int GLOW_AUTOMATIC = 0;
const int GLOW_FULL = 1;
const int GLOW_HALF = 2;

// True when renderer (GL_RENDERER) names one of Mesa's software rasterisers
// (llvmpipe, softpipe, swrast), compared without regard to case. Null is false.
bool isSoftwareRenderer(const char* renderer);

// GLOW_FULL and GLOW_HALF choose their size; any other setting picks half size on
// a software renderer and full size elsewhere.
GlowSize chooseGlowSize(int setting, const char* renderer);

// The start-up line naming the size in use and why, e.g. "Glow at half size
// (software renderer)". A static string.
const char* glowMessage(int setting, const char* renderer);
