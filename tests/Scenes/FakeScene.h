// FakeScene: a scene for the manager tests that logs every call ("name:update@time",
// "name:draw", "name:camera", "name:destroyed") and ends after a set number of
// updates that go on. Its camera is a fixed LinearCamera, so applyCamera works under GL.
#pragma once

#include <string>
#include <vector>

#include "3D/LinearCamera.h"
#include "Effects/SpectrumGrid.h"
#include "Scenes/Scene.h"

class FakeScene : public Scene {
public:
    // updatesThatGoOn: how many updates return true before the one that returns false.
    FakeScene(const std::string& name, int updatesThatGoOn, std::vector<std::string>& log)
        : m_name(name), m_left(updatesThatGoOn), m_log(log),
          m_camera({74, 30, -40}, {74, 30, -40}, {74, 0, 74}, {74, 0, 74}, {0, 1, 0}, 1000)
    {
    }
    ~FakeScene() override { m_log.push_back(m_name + ":destroyed"); }

    void applyCamera() override
    {
        m_log.push_back(m_name + ":camera");
        m_camera.look();
    }
    void draw(const DrawContext&) override { m_log.push_back(m_name + ":draw"); }
    bool update(SpectrumGrid& grid, Music&, unsigned time) override
    {
        m_log.push_back(m_name + ":update@" + std::to_string(time));
        m_lastGrid = &grid;
        m_fade = 0.25f;
        m_amplification = 0.5f;
        return m_left-- > 0;
    }

    std::string m_name;
    int m_left;
    std::vector<std::string>& m_log;
    LinearCamera m_camera;
    SpectrumGrid* m_lastGrid = nullptr;
};

// A second concrete type: the manager must not care which scene types it plays.
class OtherFakeScene : public FakeScene {
public:
    using FakeScene::FakeScene;
    void draw(const DrawContext&) override { m_log.push_back(m_name + ":other-draw"); }
};
