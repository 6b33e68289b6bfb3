// RenderSize: the size the show is rendered at, chosen from the settings ("hres",
// "vres"), the screen's size, the OpenGL renderer and the driver's largest
// texture, and the start-up line that names it with the window's size. Sizes in
// pixels. Pure functions but readPresentationSettings (which may log warnings).
#pragma once

#include <cstdint>
#include <string>

class Settings;

struct PixelSize {
    int width;
    int height;
};

// "hres" and "vres" both RENDER_SIZE_AUTOMATIC: the automatic size; both 0: the
// screen's size; otherwise each 1 to MAX_RENDER_SIDE_SETTING (the driver's own
// limit is checked once it is known).
const int RENDER_SIZE_AUTOMATIC = -1;
const int MAX_RENDER_SIDE_SETTING = 65536;

// Pixels of one frame that Mesa's software renderer draws, scaled onto a
// 1920 x 1080 screen with the glow at half size, within the demo's 15 ms pacing
// on a 2-core machine (tools/framebench, README).
const int64_t SOFTWARE_PIXEL_BUDGET = 640 * 360;

enum class RenderRequest {
    Automatic,  // the screen's size on hardware, SOFTWARE_PIXEL_BUDGET on a software renderer
    Screen,     // the screen's size
    Setting,    // the size the settings give
};

struct PresentationSettings {
    RenderRequest request;
    PixelSize size;   // Setting only
    bool fullScreen;  // "fullscreen" 1 (default); 0: a resizable window
};

// Reads "hres", "vres" and "fullscreen". A value out of range falls back to its
// default (640, 480, 1) with the settings' one warning line.
PresentationSettings readPresentationSettings(const Settings& settings);

// The largest size with the screen's shape that is at most the screen and at
// most `pixels` pixels in all, never below 1 x 1. The shape is kept exactly
// (a multiple of the screen's reduced ratio) unless that costs more than a
// quarter of the pixels.
PixelSize largestWithShape(PixelSize screen, int64_t pixels);

struct RenderChoice {
    PixelSize size;
    std::string reason;   // "setting", "screen size", "automatic, software renderer"...
    std::string warning;  // one line when the request could not be met, else empty
};

// The render size for the request on this screen and renderer (GL_RENDERER,
// may be null) with sides of at most maxSide. A request beyond maxSide falls back
// to the automatic size, with a warning; an automatic size beyond it is reduced
// to fit, shape kept.
RenderChoice chooseRenderSize(const PresentationSettings& settings, PixelSize screen,
                              const char* renderer, int maxSide);

// The start-up line, e.g. "Render size 640x480 (setting), full screen 1920x1080".
std::string presentationMessage(const RenderChoice& choice, bool fullScreen, PixelSize window);
