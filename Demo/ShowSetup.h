// ShowSetup: the one way every program (the demo, the capture, the benchmarks) sets
// up the show: seed, render size, window mode and glow read from the settings (a
// program's own overrides first), then the window, the seeded scenes, the chain's
// programs and the chain. Holds only those numbers; everything it makes belongs to
// the caller.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Demo/RenderSize.h"

class ChainPrograms;
class Engine;
class PostProcessChain;
class SceneManager;
class Settings;
class Window;

// Values a program puts above the settings file (the capture's command line).
struct ShowOverrides {
    std::optional<uint32_t> seed;
    int width = 0;  // pixels, > 0 with height: this window size, the settings' unread
    int height = 0;
    std::optional<int> glow;  // a GLOW_* value
    // The window is the frame: exactly the render size, opened as before any
    // scaling existed, never scaled (the capture reads its pixels back).
    bool frameSizedWindow = false;
};

class ShowSetup {
public:
    static constexpr uint32_t DEFAULT_SEED = 42;
    static constexpr int DEFAULT_WIDTH = 640;  // pixels
    static constexpr int DEFAULT_HEIGHT = 480;

    // Reads "seed", then "fullscreen", "hres" and "vres" (readPresentationSettings),
    // then "glow", where no override stands in for them; a bad value of any key
    // writes its warning line (Settings::getInt).
    explicit ShowSetup(const Settings& settings, const ShowOverrides& overrides = {});
    // Fixed values, for the tools that measure one configuration: a frame-sized
    // window of windowWidth x windowHeight (0 x 0: the screen's size).
    ShowSetup(uint32_t seed, int windowWidth, int windowHeight, int glow);

    uint32_t seed() const { return m_seed; }
    const PresentationSettings& presentation() const { return m_presentation; }
    // The size asked of a frame-sized window, pixels: the render size the settings
    // give, 0 x 0 for the screen's own size, and for the automatic size (which
    // needs a frame budget and a screen to show on) DEFAULT_WIDTH x DEFAULT_HEIGHT.
    int windowWidth() const;
    int windowHeight() const;
    int glow() const { return m_glow; }

    // Starts SDL and GLEW with the window captioned title: full screen at the
    // screen's size, or a resizable window (of the render size the settings give,
    // else the screen's size until presentShow). A frame-sized window is a
    // full-screen mode of windowWidth x windowHeight, and one larger than the
    // screen gets one warning line on standard output. Throws as the Engine
    // constructor does.
    std::unique_ptr<Engine> openWindow(const std::string& title) const;
    // Needs a current GL context. The render size: chosen from the settings, the
    // screen, the renderer and the driver's limit, with the warning line of a
    // fallback and the line that names both sizes; a resizable window is given the
    // render size (or the largest with its shape that fits the screen). For a
    // frame-sized window, the window's size, without a word.
    PixelSize presentShow(Engine& engine) const;
    // Seeds the random sequence, then builds the scene manager with the show's
    // scenes in playing order: the same seed always yields the same show.
    std::unique_ptr<SceneManager> makeScenes() const;
    // The chain's programs from the shader sources in `folder` (DataFiles::shaders).
    // Needs a current GL context. Throws the ShaderException family.
    std::unique_ptr<ChainPrograms> makePrograms(const std::string& folder) const;
    // Needs a current GL context. The glow line for the start-up log, e.g. "Glow at
    // half size (software renderer)".
    const char* glowMessage() const;
    // Needs a current GL context: the chain for window, its glow size chosen from
    // the glow setting and the renderer. Logs as the chain's constructor does.
    std::unique_ptr<PostProcessChain> makeChain(Window& window) const;
    // The same rendering at render (presentShow) and scaling onto the window.
    std::unique_ptr<PostProcessChain> makeChain(Window& window, PixelSize render) const;

    // The warning for a full-screen window larger than the screen (its edges are
    // cut off), or "" when it fits, the screen's size is unknown (0) or the
    // compatibility layer scales the picture to the screen.
    static std::string screenWarning(int windowWidth, int windowHeight, int screenWidth,
                                     int screenHeight, bool scaled);

private:
    uint32_t m_seed;
    PresentationSettings m_presentation;
    bool m_frameSizedWindow;
    int m_glow;
};
