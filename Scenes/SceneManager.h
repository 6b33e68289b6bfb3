// SceneManager: plays the owned scenes in insertion order over the floor grid it
// owns (100 x 100 points, spacing 1.5). draw leaves all state unchanged, so it may run
// several times per frame; update advances the current scene once per frame.
#pragma once

#include <memory>
#include <vector>

#include "3D/LineRenderer.h"
#include "Effects/SpectrumGrid.h"
#include "Scenes/Scene.h"

class Music;

class SceneManager {
public:
    SceneManager();
    // Destroys every scene, in insertion order.
    ~SceneManager();

    SceneManager(const SceneManager&) = delete;
    SceneManager& operator=(const SceneManager&) = delete;

    // Appends pScene to the playing order and takes ownership; null aborts.
    void addScene(std::unique_ptr<Scene> pScene);
    // The scene being played. Only valid while update has not returned true.
    Scene& currentScene();
    // GL state: sets the modelview matrix and the line width (4 pixels times the
    // context's stroke scale); draws the grid as GL_LINES, then the current scene.
    // Projection, depth test and blending are the caller's.
    void draw(const DrawContext& context);
    // Advances the current scene to time (ms). True once the last scene has finished.
    bool update(Music& music, unsigned time);

    // The floor every scene stands on (scenes reach it through their update).
    SpectrumGrid& grid() { return m_grid; }
    const LineRenderer& gridRenderer() const { return m_gridRenderer; }
    unsigned sceneCount() const { return static_cast<unsigned>(m_scenes.size()); }
    unsigned currentIndex() const { return m_current; }

private:
    std::vector<std::unique_ptr<Scene>> m_scenes;  // playing order
    unsigned m_current;                            // index of the scene being played
    SpectrumGrid m_grid;
    LineRenderer m_gridRenderer;  // per-draw copy of the grid; keeps its capacity
};
