// SceneManager: playing order, floor grid drawing and scene changes. Depends on Effects and 3D.
#include "Scenes/SceneManager.h"

#include <cassert>

SceneManager::SceneManager() : m_current(0), m_grid(100, 100, 1.5f)
{
    // Room for the grid copy made on every draw, so the first frame does not allocate either.
    m_gridRenderer.m_vertices.reserve(m_grid.m_lines.m_vertices.size());
    m_gridRenderer.m_indices.reserve(m_grid.m_lines.m_indices.size());
}

SceneManager::~SceneManager()
{
    // In insertion order: a vector would destroy its elements in no promised order.
    for (std::unique_ptr<Scene>& scene : m_scenes)
        scene.reset();
}

void SceneManager::addScene(std::unique_ptr<Scene> pScene)
{
    assert(pScene);
    m_scenes.push_back(std::move(pScene));
}

Scene& SceneManager::currentScene()
{
    assert(m_current < m_scenes.size());
    return *m_scenes[m_current];
}

void SceneManager::draw(const DrawContext& context)
{
    Scene& scene = currentScene();
    scene.applyCamera();
    m_gridRenderer.clear();
    m_gridRenderer.add(m_grid.m_lines.m_vertices, m_grid.m_lines.m_indices);
    m_gridRenderer.draw(4, context);
    scene.draw(context);
}

bool SceneManager::update(Music& music, unsigned time)
{
    if (currentScene().update(m_grid, music, time))
        return false;
    ++m_current;
    return m_current >= m_scenes.size();
}
