// Keyboard directions, buttons and quit from SDL's key state array, the quit
// requests of signals and SDL_QUIT, and the input manager's combination of devices.
#include <gtest/gtest.h>

#include <memory>

#include <SDL/SDL.h>
#include <csignal>
#include <cstring>
#include <initializer_list>

#include "Zembra/Controllers/InputManager.h"
#include "Zembra/Controllers/QuitRequests.h"
#include "Zembra/Controllers/QuitSignals.h"
#include "Zembra/Controllers/SDL_Keyboard.h"

namespace {

// SDL with the dummy video driver: a real key state array, no display needed.
class KeyboardTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO));
        keyboard = new SDL_Keyboard();
        release();
    }
    void TearDown() override
    {
        delete keyboard;
        SDL_Quit();
    }

    // Writes the array that update() read, as SDL would after key events.
    void hold(std::initializer_list<SDLKey> keys)
    {
        int count = 0;
        Uint8* state = SDL_GetKeyState(&count);
        for (SDLKey key : keys) {
            ASSERT_LT(static_cast<int>(key), count);
            state[key] = 1;
        }
    }
    void release()
    {
        int count = 0;
        Uint8* state = SDL_GetKeyState(&count);
        std::memset(state, 0, static_cast<std::size_t>(count));
    }
    int directions(std::initializer_list<SDLKey> keys)
    {
        release();
        hold(keys);
        return keyboard->getDirections();
    }

    SDL_Keyboard* keyboard = nullptr;
};

// A device with fixed answers, for the manager.
class FakeInput : public Input {
public:
    FakeInput(int directions, int buttons, bool quit, int* deletions = nullptr)
        : m_directions(directions), m_buttons(buttons), m_quit(quit), m_deletions(deletions)
    {
    }
    ~FakeInput() override
    {
        if (m_deletions)
            ++*m_deletions;
    }
    int getDirections() override { return m_directions; }
    int getButtons() override { return m_buttons; }
    bool isQuitRequested() override { return m_quit; }
    void update() override { ++updates; }
    int updates = 0;

private:
    int m_directions, m_buttons;
    bool m_quit;
    int* m_deletions;
};

}  // namespace

TEST_F(KeyboardTest, DirectionsNeverCombineOpposites)
{
    EXPECT_EQ(0, directions({}));
    EXPECT_EQ(1, directions({SDLK_UP}));
    EXPECT_EQ(2, directions({SDLK_RIGHT}));
    EXPECT_EQ(4, directions({SDLK_DOWN}));
    EXPECT_EQ(8, directions({SDLK_LEFT}));
    EXPECT_EQ(3, directions({SDLK_UP, SDLK_RIGHT}));
    EXPECT_EQ(9, directions({SDLK_UP, SDLK_LEFT}));
    EXPECT_EQ(6, directions({SDLK_DOWN, SDLK_RIGHT}));
    EXPECT_EQ(12, directions({SDLK_DOWN, SDLK_LEFT}));
    EXPECT_EQ(3, directions({SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT}));
    EXPECT_EQ(1, directions({SDLK_UP, SDLK_DOWN}));  // up wins
    EXPECT_EQ(8, directions({SDLK_LEFT, SDLK_RIGHT}));
    EXPECT_EQ(3, directions({SDLK_LEFT, SDLK_RIGHT, SDLK_UP}));
    EXPECT_EQ(6, directions({SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT}));
}

TEST_F(KeyboardTest, ButtonsAreIndependentBits)
{
    EXPECT_EQ(0, keyboard->getButtons());
    hold({SDLK_q, SDLK_s, SDLK_KP_MINUS});
    EXPECT_EQ(0x209, keyboard->getButtons());
    release();
    hold({SDLK_q, SDLK_w, SDLK_a, SDLK_s, SDLK_z, SDLK_x, SDLK_KP_PLUS, SDLK_KP_MINUS});
    EXPECT_EQ(0x3CF, keyboard->getButtons());
    release();
    // Keys outside the table, directions and Escape included, are no buttons.
    hold({SDLK_e, SDLK_UP, SDLK_ESCAPE, SDLK_PLUS, SDLK_MINUS});
    EXPECT_EQ(0, keyboard->getButtons());
}

TEST_F(KeyboardTest, QuitOnEscapeOnly)
{
    EXPECT_FALSE(keyboard->isQuitRequested());
    hold({SDLK_q, SDLK_x});
    EXPECT_FALSE(keyboard->isQuitRequested());
    hold({SDLK_ESCAPE});
    EXPECT_TRUE(keyboard->isQuitRequested());
    EXPECT_EQ(1, keyboard->isKeyDown(SDLK_ESCAPE));
    EXPECT_EQ(0, keyboard->isKeyDown(SDLK_RETURN));
}

// (That update() brings in the keys of a real display: KeyboardEventsTest.)
TEST_F(KeyboardTest, NewKeyboardStartsFromTheHeldState)
{
    hold({SDLK_ESCAPE});
    SDL_Keyboard second;
    EXPECT_TRUE(second.isQuitRequested());
}

// SIGTERM is caught while the program's QuitSignals lives, also before the device
// is made; the handler found before is put back. A close request is seen even after
// SDL's queue was left to fill up.
TEST_F(KeyboardTest, QuitRequestsFromASignalAndTheCloseButton)
{
    struct sigaction before = {}, after = {};
    sigaction(SIGTERM, nullptr, &before);
    {
        const QuitSignals signals;
        raise(SIGTERM);
        QuitRequests requests(signals);
        EXPECT_TRUE(requests.isQuitRequested());
    }
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(before.sa_handler, after.sa_handler);

    const QuitSignals signals;
    QuitRequests requests(signals);
    EXPECT_FALSE(requests.isQuitRequested()) << "new handlers start without a request";
    SDL_Event event = {};
    event.type = SDL_USEREVENT;
    int queued = 0;
    while (queued < 1000 && SDL_PushEvent(&event) == 0)
        ++queued;
    ASSERT_LT(queued, 1000) << "SDL's queue was expected to have a limit";
    requests.update();
    EXPECT_FALSE(requests.isQuitRequested());
    event.type = SDL_QUIT;
    ASSERT_EQ(0, SDL_PushEvent(&event)) << "the update left SDL's queue full";
    requests.update();
    EXPECT_TRUE(requests.isQuitRequested());
}

using KeyboardDeathTest = KeyboardTest;

TEST_F(KeyboardDeathTest, KeyOutsideTheArrayAborts)
{
    int count = 0;
    SDL_GetKeyState(&count);
    ASSERT_GT(count, static_cast<int>(SDLK_ESCAPE));
    EXPECT_DEATH(keyboard->isKeyDown(static_cast<SDLKey>(count)),
                 "static_cast<int>\\(key\\) < m_nbKeys");
    EXPECT_EQ(0, keyboard->isKeyDown(static_cast<SDLKey>(count - 1)));
}

TEST(InputManager, CombinesDevices)
{
    InputManager empty;
    EXPECT_EQ(0, empty.getDirections());
    EXPECT_EQ(0, empty.getButtons());
    EXPECT_FALSE(empty.isQuitRequested());

    int deletions = 0;
    InputManager manager;
    FakeInput* first = new FakeInput(1, 0x1, false, &deletions);
    FakeInput* second = new FakeInput(8, 0x200, false, &deletions);
    manager.addInput(std::unique_ptr<Input>(first));
    manager.addInput(std::unique_ptr<Input>(second));
    EXPECT_EQ(9, manager.getDirections());
    EXPECT_EQ(0x201, manager.getButtons());
    EXPECT_FALSE(manager.isQuitRequested());
    manager.update();
    manager.update();
    EXPECT_EQ(2, first->updates);
    EXPECT_EQ(2, second->updates);

    manager.addInput(std::make_unique<FakeInput>(0, 0, true, &deletions));
    EXPECT_TRUE(manager.isQuitRequested());

    manager.clear();
    EXPECT_EQ(3, deletions);
    EXPECT_FALSE(manager.isQuitRequested());
    EXPECT_EQ(0, manager.getDirections());
}

TEST(InputManager, DestructorDeletesDevices)
{
    int deletions = 0;
    {
        InputManager manager;
        manager.addInput(std::make_unique<FakeInput>(0, 0, false, &deletions));
        manager.addInput(std::make_unique<FakeInput>(0, 0, false, &deletions));
    }
    EXPECT_EQ(2, deletions);
}
