// RenderSize: render-size choice from the settings, the screen and the renderer.
#include "Demo/RenderSize.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "Demo/GlowSize.h"
#include "Demo/Settings.h"
#include "Zembra/FramePlacement.h"

namespace {

bool both(const Settings& settings, int value)
{
    int out = 0;
    return Settings::truncateInRange(settings.getFloat("hres", 640), value, value, out) &&
           Settings::truncateInRange(settings.getFloat("vres", 480), value, value, out);
}

std::string sizeText(PixelSize size)
{
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

// The size reduced, shape kept, until neither side exceeds maxSide.
PixelSize within(PixelSize size, int maxSide)
{
    if (size.width <= maxSide && size.height <= maxSide)
        return size;
    const PixelRect fitted = placeFrame(size.width, size.height, maxSide, maxSide);
    return {fitted.width, fitted.height};
}

RenderChoice automaticChoice(PixelSize screen, const char* renderer, int maxSide)
{
    // The test that also halves the glow: the two choices go together.
    if (isSoftwareRenderer(renderer))
        return {within(largestWithShape(screen, SOFTWARE_PIXEL_BUDGET), maxSide),
                "automatic, software renderer", ""};
    return {within(screen, maxSide), "automatic, hardware renderer", ""};
}

}  // namespace

PresentationSettings readPresentationSettings(const Settings& settings)
{
    PresentationSettings result{RenderRequest::Setting, {640, 480}, true};
    result.fullScreen = settings.getInt("fullscreen", 1, 0, 1) == 1;
    if (both(settings, RENDER_SIZE_AUTOMATIC)) {
        result.request = RenderRequest::Automatic;
    } else if (both(settings, 0)) {
        result.request = RenderRequest::Screen;
    } else {
        result.size.height = settings.getInt("vres", 480, 1, MAX_RENDER_SIDE_SETTING);
        result.size.width = settings.getInt("hres", 640, 1, MAX_RENDER_SIDE_SETTING);
    }
    return result;
}

PixelSize largestWithShape(PixelSize screen, int64_t pixels)
{
    const int64_t width = std::max(screen.width, 1), height = std::max(screen.height, 1);
    if (width * height <= pixels)
        return {static_cast<int>(width), static_cast<int>(height)};
    // Scale factor by floating point, then whole pixels below the budget.
    const double scale = std::sqrt(double(std::max<int64_t>(pixels, 1)) / double(width * height));
    const PixelSize near = {std::max(1, static_cast<int>(width * scale)),
                            std::max(1, static_cast<int>(height * scale))};
    // Exact shape: k times the reduced ratio (16 x 9 for 1920 x 1080).
    const int64_t divisor = std::gcd(width, height);
    const int64_t ratioWidth = width / divisor, ratioHeight = height / divisor;
    int64_t k = static_cast<int64_t>(std::sqrt(double(pixels) / double(ratioWidth * ratioHeight)));
    while (k > 0 && k * k * ratioWidth * ratioHeight > pixels)
        --k;
    while ((k + 1) * (k + 1) * ratioWidth * ratioHeight <= pixels)
        ++k;
    const int64_t exactPixels = k * k * ratioWidth * ratioHeight;
    if (k >= 1 && exactPixels * 4 >= int64_t(near.width) * near.height * 3)
        return {static_cast<int>(k * ratioWidth), static_cast<int>(k * ratioHeight)};
    return near;
}

RenderChoice chooseRenderSize(const PresentationSettings& settings, PixelSize screen,
                              const char* renderer, int maxSide)
{
    RenderChoice asked;
    switch (settings.request) {
    case RenderRequest::Automatic: return automaticChoice(screen, renderer, maxSide);
    case RenderRequest::Screen: asked = {screen, "screen size", ""}; break;
    case RenderRequest::Setting: asked = {settings.size, "setting", ""}; break;
    }
    if (asked.size.width <= maxSide && asked.size.height <= maxSide)
        return asked;
    RenderChoice fallback = automaticChoice(screen, renderer, maxSide);
    fallback.warning = "Warning: the render size " + sizeText(asked.size) +
                       " is larger than the driver allows (" + std::to_string(maxSide) +
                       " pixels a side), the automatic size " + sizeText(fallback.size) +
                       " is used";
    return fallback;
}

std::string presentationMessage(const RenderChoice& choice, bool fullScreen, PixelSize window)
{
    return "Render size " + sizeText(choice.size) + " (" + choice.reason + "), " +
           (fullScreen ? "full screen " : "window ") + sizeText(window);
}
