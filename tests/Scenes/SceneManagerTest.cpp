// SceneManager without a window: playing order, scene changes, ownership, null scenes.
#include <gtest/gtest.h>

#include <memory>

#include "FakeScene.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"

using Log = std::vector<std::string>;

TEST(SceneManager, PlaysScenesInInsertionOrderAndLeavesAnEndedSceneAtOnce)
{
    Log log;
    Music music;
    SceneManager manager;
    FakeScene* a = new FakeScene("A", 2, log);
    FakeScene* b = new OtherFakeScene("B", 0, log);  // ends on its very first update
    FakeScene* c = new FakeScene("C", 1, log);
    manager.addScene(std::unique_ptr<Scene>(a));
    manager.addScene(std::unique_ptr<Scene>(b));
    manager.addScene(std::unique_ptr<Scene>(c));
    EXPECT_EQ(3u, manager.sceneCount());
    EXPECT_EQ(a, &manager.currentScene());

    std::vector<bool> finished;
    for (unsigned t = 10; t <= 60; t += 10)
        finished.push_back(manager.update(music, t));

    const Log expected = {"A:update@10", "A:update@20", "A:update@30",
                          "B:update@40", "C:update@50", "C:update@60"};
    EXPECT_EQ(expected, log);
    EXPECT_EQ((std::vector<bool>{false, false, false, false, false, true}), finished);
    EXPECT_EQ(3u, manager.currentIndex());
    // Every scene got the manager's own grid.
    EXPECT_EQ(&manager.grid(), a->m_lastGrid);
    EXPECT_EQ(&manager.grid(), c->m_lastGrid);
}

TEST(SceneManager, NextSceneIsCurrentButNotUpdatedInTheSameCall)
{
    Log log;
    Music music;
    SceneManager manager;
    manager.addScene(std::make_unique<FakeScene>("A", 0, log));
    FakeScene* b = new FakeScene("B", 5, log);
    manager.addScene(std::unique_ptr<Scene>(b));

    EXPECT_FALSE(manager.update(music, 100));
    EXPECT_EQ(b, &manager.currentScene());
    // Constructed state until its first update: the chain sees fade 0 for one frame.
    EXPECT_EQ(0.0f, manager.currentScene().getFade());
    EXPECT_EQ(0.0f, manager.currentScene().getAmplification());
    EXPECT_EQ(Log{"A:update@100"}, log);
    manager.update(music, 115);
    EXPECT_EQ(0.25f, manager.currentScene().getFade());
    EXPECT_EQ(0.5f, manager.currentScene().getAmplification());
}

TEST(SceneManager, WithOneSceneReturnsTrueWhenItFinishes)
{
    Log log;
    Music music;
    SceneManager manager;
    manager.addScene(std::make_unique<FakeScene>("only", 2, log));
    EXPECT_FALSE(manager.update(music, 1));
    EXPECT_FALSE(manager.update(music, 2));
    EXPECT_EQ(0u, manager.currentIndex());
    EXPECT_TRUE(manager.update(music, 3));
    EXPECT_EQ(1u, manager.currentIndex());
}

TEST(SceneManager, DestroysEveryOwnedSceneOnceInInsertionOrder)
{
    Log log;
    {
        Music music;
        SceneManager manager;
        manager.addScene(std::make_unique<FakeScene>("A", 0, log));
        manager.addScene(std::make_unique<OtherFakeScene>("B", 3, log));
        manager.addScene(std::make_unique<FakeScene>("C", 3, log));
        manager.update(music, 50);  // A finished: it is still owned
        log.clear();
    }
    EXPECT_EQ((Log{"A:destroyed", "B:destroyed", "C:destroyed"}), log);
}

TEST(SceneManager, BuildsTheFloorGrid)
{
    SceneManager manager;
    EXPECT_EQ(100u, manager.grid().m_width);
    EXPECT_EQ(100u, manager.grid().m_depth);
    EXPECT_FLOAT_EQ(148.5f, manager.grid().m_lines.m_vertices.back().x);
    EXPECT_TRUE(manager.gridRenderer().m_vertices.empty());
    EXPECT_EQ(0u, manager.currentIndex());
}

TEST(SceneManagerDeathTest, NullSceneIsAProgrammingError)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    SceneManager manager;
    EXPECT_DEATH(manager.addScene(nullptr), "pScene");
}

TEST(SceneManagerDeathTest, NoCurrentSceneAfterTheEnd)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    Log log;
    Music music;
    SceneManager manager;
    manager.addScene(std::make_unique<FakeScene>("only", 0, log));
    ASSERT_TRUE(manager.update(music, 1));
    EXPECT_DEATH(manager.currentScene(), "m_current");
}
