// SceneManager::draw in a real GL context: repeatable pictures and the per-draw grid copy.
#include <gtest/gtest.h>

#include <memory>

#include <GL/glew.h>
#include <GL/glu.h>
#include <algorithm>
#include <cstring>
#include <vector>

#include "FakeScene.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Scenes/SceneSpectrumImpulsePart.h"
#include "Scenes/SceneSpectrumPart.h"
#include "Zembra/Engine.h"

namespace {

const int WIDTH = 320, HEIGHT = 240;

struct Picture {
    std::vector<GLfloat> modelview = std::vector<GLfloat>(16);
    std::vector<unsigned char> pixels = std::vector<unsigned char>(WIDTH * HEIGHT * 4);
};

Picture drawOnce(SceneManager& manager)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    manager.draw(DrawContext());
    glFinish();
    Picture p;
    glGetFloatv(GL_MODELVIEW_MATRIX, p.modelview.data());
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, p.pixels.data());
    return p;
}

size_t colouredPixels(const Picture& p)
{
    size_t coloured = 0;
    for (size_t i = 0; i < p.pixels.size(); i += 4) {
        const int r = p.pixels[i], g = p.pixels[i + 1], b = p.pixels[i + 2];
        coloured += std::max({r, g, b}) - std::min({r, g, b}) > 20;
    }
    return coloured;
}

size_t litPixels(const Picture& p)
{
    size_t lit = 0;
    for (size_t i = 0; i < p.pixels.size(); i += 4)
        lit += p.pixels[i] > 40;
    return lit;
}

}  // namespace

TEST(SceneManagerDraw, TwoDrawsWithoutUpdateGiveTheSamePicture)
{
    Engine engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, WIDTH, HEIGHT, "scene manager test");
    glViewport(0, 0, WIDTH, HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, double(WIDTH) / HEIGHT, 0.1, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glReadBuffer(GL_BACK);

    std::vector<std::string> log;
    SceneManager manager;
    manager.addScene(std::make_unique<FakeScene>("A", 10, log));

    const Picture first = drawOnce(manager);
    const LineVertex* vertexStorage = manager.gridRenderer().m_vertices.data();
    const uint32_t* indexStorage = manager.gridRenderer().m_indices.data();
    const Picture second = drawOnce(manager);
    ASSERT_EQ(GLenum(GL_NO_ERROR), glGetError());

    EXPECT_EQ((std::vector<std::string>{"A:camera", "A:draw", "A:camera", "A:draw"}), log);
    EXPECT_EQ(first.modelview, second.modelview);
    EXPECT_TRUE(first.pixels == second.pixels);
    // The floor is in view: a real share of the picture is lit by its lines.
    EXPECT_GT(litPixels(first), size_t(WIDTH * HEIGHT / 50));

    // The copy is cleared before each refill, and its storage is reused.
    const auto& copy = manager.gridRenderer();
    const auto& grid = manager.grid().m_lines;
    ASSERT_EQ(10000u, copy.m_vertices.size());
    ASSERT_EQ(39600u, copy.m_indices.size());
    EXPECT_EQ(grid.m_indices, copy.m_indices);
    EXPECT_EQ(0, std::memcmp(grid.m_vertices.data(), copy.m_vertices.data(),
                             grid.m_vertices.size() * sizeof(LineVertex)));
    EXPECT_EQ(vertexStorage, copy.m_vertices.data());
    EXPECT_EQ(indexStorage, copy.m_indices.data());

    // A change to the grid shows on the next draw: the copy is made on every draw.
    manager.grid().resetColours();
    for (LineVertex& v : manager.grid().m_lines.m_vertices)
        v.r = v.g = v.b = 0.0f;
    const Picture dark = drawOnce(manager);
    EXPECT_EQ(0.0f, manager.gridRenderer().m_vertices[5050].r);
    EXPECT_LT(litPixels(dark), litPixels(first) / 10);
}

// The trail scenes draw their points additively over the grey floor and leave the
// frame's state as they found it: blending off, depth test on, no client arrays.
TEST(SceneManagerDraw, TrailScenesDrawColourAndPutTheFrameStateBack)
{
    Engine engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, WIDTH, HEIGHT, "scene manager test");
    glViewport(0, 0, WIDTH, HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 0.1, 120.0);
    glMatrixMode(GL_MODELVIEW);
    glReadBuffer(GL_BACK);

    Music music;  // not initialised: a silent spectrum, no waves
    std::vector<std::unique_ptr<Scene>> scenes;
    scenes.push_back(std::make_unique<SceneSpectrumPart>());
    scenes.push_back(std::make_unique<SceneSpectrumImpulsePart>());
    const unsigned elapsed[] = {9000, 7000};  // when the trails are well in view
    for (size_t k = 0; k < scenes.size(); ++k) {
        SceneManager manager;
        manager.addScene(std::move(scenes[k]));
        for (unsigned t = 0; t <= elapsed[k]; t += 16)
            ASSERT_FALSE(manager.update(music, 1000 + t));

        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        const Picture picture = drawOnce(manager);
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError()) << "scene " << k;
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "scene " << k;
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "scene " << k;
        EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY)) << "scene " << k;
        EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY)) << "scene " << k;
        EXPECT_GT(colouredPixels(picture), 20u) << "scene " << k << ": no trail in view";
    }
}
