// DemoContent: the playing order of the scenes, the demo's file names and the
// extensions it needs.
#include "Demo/DemoContent.h"

#include <memory>

#include "Scenes/ScenePartWorld.h"
#include "Scenes/SceneManager.h"
#include "Scenes/SceneSad.h"
#include "Scenes/SceneSadSpectrum.h"
#include "Scenes/SceneSadSpectrumGreet.h"
#include "Scenes/SceneSpectrumImpulsePart.h"
#include "Scenes/SceneSpectrumPart.h"
#include "Zembra/Engine.h"

namespace DemoContent {

const char* const SETTINGS_FILE = "settings.ini";
const char* const MUSIC_FILE = "music/tovane.mp3";
const char* const SHADER_FOLDER = "shaders";

}  // namespace DemoContent

bool hasRequiredExtensions(Engine& engine)
{
#ifdef __EMSCRIPTEN__
    // WebGL 1 has frame buffer objects in its core, and the chain's targets are plain
    // 8-bit RGBA there: nothing to ask for.
    static_cast<void>(engine);
    return true;
#endif
    return engine.isExtensionSupported("GL_ARB_framebuffer_object") &&
           engine.isExtensionSupported("GL_ARB_framebuffer_sRGB");
}

void addDemoScenes(SceneManager& scenes)
{
    // The titles and the sweep are both created before either is added, as the
    // show has always been put together.
    auto titles = std::make_unique<SceneSad>();
    auto sweep = std::make_unique<SceneSadSpectrum>();
    scenes.addScene(std::move(titles));
    scenes.addScene(std::move(sweep));
    scenes.addScene(std::make_unique<SceneSadSpectrumGreet>());
    scenes.addScene(std::make_unique<SceneSpectrumPart>());
    scenes.addScene(std::make_unique<SceneSpectrumImpulsePart>());
    // Last: its layout takes the draws that follow the grid's, and when it ends the run ends.
    scenes.addScene(std::make_unique<ScenePartWorld>());
}
