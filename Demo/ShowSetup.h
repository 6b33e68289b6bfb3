// ShowSetup: the one way every program (the demo, the capture, the benchmarks) sets
// up the show: seed, window size and glow read from the settings (a program's own
// overrides first), then the window, the seeded scenes, the chain's programs and the
// chain. Holds only those numbers; everything it makes belongs to the caller.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

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
};

class ShowSetup {
public:
    static const uint32_t DEFAULT_SEED = 42;
    static const int DEFAULT_WIDTH = 640;  // pixels
    static const int DEFAULT_HEIGHT = 480;

    // Reads "seed", then "hres" and "vres", then "glow", where no override
    // stands in for them. hres 0 with vres 0 asks for the screen's own size; any
    // other size outside 1 to DemoContent::MAX_WINDOW_SIDE falls back to its default,
    // and a bad value of any key writes its warning line (Settings::getInt).
    explicit ShowSetup(const Settings& settings, const ShowOverrides& overrides = {});
    // Fixed values, for the tools that measure one configuration.
    ShowSetup(uint32_t seed, int windowWidth, int windowHeight, int glow);

    uint32_t seed() const { return m_seed; }
    // The size asked of the window, pixels; 0 x 0 for the screen's own size.
    int windowWidth() const { return m_windowWidth; }
    int windowHeight() const { return m_windowHeight; }
    int glow() const { return m_glow; }

    // Starts SDL and GLEW with a full-screen window of the size asked, captioned
    // title. A window larger than the screen gets one warning line on standard
    // output. Throws as the Engine constructor does.
    std::unique_ptr<Engine> openWindow(const std::string& title) const;
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

    // The warning for a full-screen window larger than the screen (its edges are
    // cut off), or "" when it fits, the screen's size is unknown (0) or the
    // compatibility layer scales the picture to the screen.
    static std::string screenWarning(int windowWidth, int windowHeight, int screenWidth,
                                     int screenHeight, bool scaled);

private:
    uint32_t m_seed;
    int m_windowWidth;
    int m_windowHeight;
    int m_glow;
};
