// SDL_Keyboard::update on a real X display (Xvfb): key presses made through XTEST
// reach the keyboard's state at its updates, and only then.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <functional>
#include <unistd.h>

#include "support/XKeyboard.h"
#include "Zembra/Controllers/SDL_Keyboard.h"

namespace {

// Updates until `done` holds, for at most two seconds (the X server delivers the
// events of another client a little later).
bool updateUntil(SDL_Keyboard& keyboard, const std::function<bool()>& done)
{
    for (int i = 0; i < 200; ++i) {
        keyboard.update();
        if (done())
            return true;
        usleep(10000);
    }
    return false;
}

}  // namespace

TEST(KeyboardEvents, UpdateBringsInTheKeysOfTheDisplay)
{
    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO));
    // Full screen like the demo's window: centred under the pointer, so it has the
    // keyboard focus of a display without a window manager.
    ASSERT_NE(nullptr, SDL_SetVideoMode(640, 480, 32, SDL_FULLSCREEN));
    SDL_Keyboard keyboard;
    EXPECT_FALSE(keyboard.isQuitRequested());

    ASSERT_TRUE(XKeyboard::keyDown("Escape"));
    usleep(200000);
    EXPECT_FALSE(keyboard.isQuitRequested()) << "the state changed without an update";
    EXPECT_TRUE(updateUntil(keyboard, [&] { return keyboard.isQuitRequested(); }))
        << "Escape held on the display never reached the keyboard";

    ASSERT_TRUE(XKeyboard::keyUp("Escape"));
    EXPECT_TRUE(updateUntil(keyboard, [&] { return !keyboard.isQuitRequested(); }))
        << "the release never reached the keyboard";
    SDL_Quit();
}
