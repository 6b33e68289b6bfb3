// DemoContent: the playing order of the scenes, the demo's file names and the
// extensions it needs.
#include "Demo/DemoContent.h"

#include <memory>

#include "Scenes/SceneManager.h"
#include "Scenes/SceneSadSpectrum.h"
#include "Zembra/Engine.h"

namespace DemoContent {

const char* const SETTINGS_PATH = "data/settings.ini";
const char* const MUSIC_PATH = "data/music/tovane.mp3";

}  // namespace DemoContent

bool hasRequiredExtensions(Engine& engine)
{
    return engine.isExtensionSupported("GL_ARB_framebuffer_object") &&
           engine.isExtensionSupported("GL_ARB_framebuffer_sRGB");
}

void addDemoScenes(SceneManager& scenes)
{
    scenes.addScene(std::make_unique<SceneSadSpectrum>());
}
