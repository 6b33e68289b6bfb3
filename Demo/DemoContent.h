// DemoContent: what makes a run this demo rather than the engine in general: the
// files it reads, the largest window side, the driver check and the scenes in
// playing order. Shared by the live demo and the capture tool: both play one show.
#pragma once

class Engine;
class SceneManager;

namespace DemoContent {

// The show's files, relative to the data folder (found by DataFiles).
extern const char* const SETTINGS_FILE;  // also the name of the user's own settings
extern const char* const MUSIC_FILE;
extern const char* const SHADER_FOLDER;  // the chain's six shader sources
// Largest window side accepted from the settings, in pixels: beyond it no driver
// offers a render target of the window's size.
const int MAX_WINDOW_SIDE = 16384;

}  // namespace DemoContent

// False when the driver lacks an extension the post-processing needs. Stops at
// the first missing one, so at most one missing-extension line is written.
bool hasRequiredExtensions(Engine& engine);

// Adds the scenes in playing order. Scenes are created before being handed over,
// as the manager's grid and some scenes draw from the random sequence in a fixed
// order: seed the sequence first, and build the manager just before this call.
void addDemoScenes(SceneManager& scenes);
