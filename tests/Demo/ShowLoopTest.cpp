// ShowLoop driven by hand on a real GL context, as the desktop's loop and the
// browser's timer drive it: frames until the show's end or a quit request, none
// after, and a start later in the show through skipTo.
#include <gtest/gtest.h>

#include <memory>

#include "Demo/ChainPrograms.h"
#include "Demo/GlowSize.h"
#include "Demo/PostProcessChain.h"
#include "Demo/ShowLoop.h"
#include "Demo/ShowSetup.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Controllers/Input.h"
#include "Zembra/Controllers/InputManager.h"
#include "Zembra/Engine.h"

namespace {

const uint32_t SHOW_MS = 102842;  // the show's length (ShowTest)

// A device that asks to quit once the test says so.
class QuitSwitch : public Input {
public:
    explicit QuitSwitch(const bool& on) : m_on(on) {}
    int getDirections() override { return 0; }
    int getButtons() override { return 0; }
    bool isQuitRequested() override { return m_on; }
    void update() override {}

private:
    const bool& m_on;
};

// The parts as the demo builds them, in a small window; the music is never
// initialised (silent, on no device).
ShowParts smallShow(const bool& quit)
{
    const ShowSetup setup(ShowSetup::DEFAULT_SEED, 160, 120, GLOW_HALF);
    ShowParts parts;
    parts.engine = setup.openWindow("ShowLoop test");
    parts.music = std::make_unique<Music>();
    parts.inputs = std::make_unique<InputManager>();
    parts.inputs->addInput(std::make_unique<QuitSwitch>(quit));
    parts.scenes = setup.makeScenes();
    parts.programs = setup.makePrograms("data/shaders");
    parts.chain = setup.makeChain(*parts.engine->getWindow());
    return parts;
}

}  // namespace

TEST(ShowLoop, AQuitRequestEndsTheLoopAfterTheFrameItCameIn)
{
    bool quit = false;
    ShowLoop loop(smallShow(quit));
    EXPECT_TRUE(loop.frame());
    EXPECT_TRUE(loop.frame());
    quit = true;
    EXPECT_FALSE(loop.frame()) << "the frame is shown, then the request ends the loop";
    EXPECT_EQ(3u, loop.framesShown());
    quit = false;
    EXPECT_FALSE(loop.frame()) << "an ended loop stays ended";
    EXPECT_EQ(3u, loop.framesShown()) << "and draws nothing more";
}

TEST(ShowLoop, SkippingNearTheEndLeavesTheLastFramesToPlay)
{
    bool quit = false;
    ShowLoop loop(smallShow(quit));
    const uint32_t start = loop.showTime();
    const uint32_t skipped = SHOW_MS - 600;
    ASSERT_TRUE(loop.skipTo(skipped));
    EXPECT_EQ(0u, loop.framesShown()) << "skipping draws nothing";
    const uint32_t at = loop.showTime() - start;
    EXPECT_GE(at, skipped) << "the clock goes on from the skipped time";
    EXPECT_LT(at, skipped + 5000);

    // Frames come at least Engine::FRAME_MS apart. The shots' ends fall between
    // steps, each adding up to a step to the show, so the end comes within 2 s
    // (without the skip it would be 100 s and thousands of frames away).
    uint64_t frames = 0;
    while (frames < 1000 && loop.frame())
        ++frames;
    ++frames;  // the one that returned false was shown too
    EXPECT_EQ(frames, loop.framesShown());
    EXPECT_GE(frames, 1u);
    EXPECT_LE(frames, 2000 / Engine::FRAME_MS) << "the show should have ended";
    EXPECT_FALSE(loop.frame());

    bool quitToo = false;
    ShowLoop past(smallShow(quitToo));
    EXPECT_FALSE(past.skipTo(SHOW_MS + 1000)) << "a skip past the end ends the show";
    EXPECT_FALSE(past.frame());
    EXPECT_EQ(0u, past.framesShown());
}
