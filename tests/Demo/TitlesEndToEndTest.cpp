// The dedoz program played whole inside Xvfb (640 x 480 screen, the repository's
// settings: a 640 x 480 window filling it): dark red titles first, all seven light
// grey names when the greetings end, then Escape. Screenshots are timed from the
// "Start !" line with margins for slow frames; the whole run is another test's.
// The two pictures checked are left for a person to look at, as
// build/tests/Demo/titles-title.ppm and build/tests/Demo/titles-greetings.ppm.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <regex>
#include <string>
#include <thread>

#include "support/Process.h"
#include "support/XKeyboard.h"
#include "support/XwdImage.h"

namespace {

using Clock = std::chrono::steady_clock;

const int kW = 640, kH = 480;
// Titles, sweep and greetings from the first update, in ms; real runs are longer.
const int kNominalMs = 52842;

bool darkRed(const XwdImage::Rgb& p)
{
    return p.r >= 60 && p.g * 3 < p.r && p.b * 3 < p.r;
}

// The names' 0.9 grey with its glow; the floor's grey (0.46) stays far below.
bool lightGrey(const XwdImage::Rgb& p)
{
    return std::min({p.r, p.g, p.b}) >= 180 &&
           std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}) <= 24;
}

bool black(const XwdImage::Rgb& p)
{
    return std::max({p.r, p.g, p.b}) < 16;
}

template <typename Test>
int count(const XwdImage& image, Test test, int left = 0, int top = 0, int right = kW,
          int bottom = kH)
{
    int n = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
        for (int x = std::max(left, 0); x < std::min(right, image.width()); ++x)
            n += test(image.pixel(x, y));
    return n;
}

void savePpm(const XwdImage& image, const std::string& name)
{
    std::ofstream out(std::string(DEDOZ_BINARY_DIR) + "/tests/Demo/" + name, std::ios::binary);
    out << "P6\n" << image.width() << " " << image.height() << "\n255\n";
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const XwdImage::Rgb p = image.pixel(x, y);
            out << char(p.r) << char(p.g) << char(p.b);
        }
}

int msSince(Clock::time_point t, Clock::time_point now = Clock::now())
{
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(now - t).count());
}

}  // namespace

TEST(TitlesEndToEnd, TitlesThenAllSevenGreetings)
{
    Process demo({DEDOZ_BINARY_DIR "/dedoz"}, {}, DEDOZ_SOURCE_DIR);
    ASSERT_TRUE(demo.start());
    ASSERT_TRUE(demo.waitForOutput("Start !", 30000)) << "the demo never started";
    const Clock::time_point start = Clock::now();

    // The scenes' clock starts after "Start !", so a capture within 2.4 s of it falls
    // in the first 2820 ms title shot (or before its first frame). Keep the reddest.
    XwdImage title;
    for (int ms = 800; ms <= 2400; ms += 400) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(ms));
        XwdImage shot;
        ASSERT_TRUE(shot.captureRoot()) << shot.error();
        if (title.width() == 0 || count(shot, darkRed) > count(title, darkRed))
            title = shot;
    }
    ASSERT_EQ(kW, title.width());
    savePpm(title, "titles-title.ppm");
    EXPECT_GT(count(title, darkRed), 500) << "no dark red title strokes in the first shot";

    // The greetings show all seven names over their last 2.7 s (nominally 50.1 to 52.8 s
    // after the first update). Slow frames make every shot a little longer, so capture
    // from a little before that to well after it and keep the picture with the most
    // grey in the names' boxes: names only accumulate, so that is the fullest one.
    // Only shots looking down on the floor count: there the lattice and its glow fill
    // the picture, while the next scene's sky and empty cells are black (its bright
    // bars can light the boxes as much as the names do).
    // The middle of each name's first letter, from "Dravo team" to "Vendal TWO", as
    // the camera looking down from about 78 units (45 degrees, aspect 1) projects it;
    // boxes of 29 pixels allow for the camera's climb.
    const int letters[7][2] = {{351, 269}, {344, 295}, {183, 116}, {276, 111},
                               {106, 260}, {148, 292}, {469, 85}};
    auto namesGrey = [&](const XwdImage& image) {
        int n = 0;
        for (const auto& l : letters)
            n += count(image, lightGrey, l[0] - 14, l[1] - 14, l[0] + 15, l[1] + 15);
        return n;
    };
    ASSERT_FALSE(demo.waitForOutput("End !", kNominalMs - 6000 - msSince(start)))
        << "the run ended " << msSince(start) << " ms after Start";
    XwdImage fullest;
    int fullestGrey = -1;
    while (msSince(start) < kNominalMs + 8000 && !demo.waitForOutput("End !", 250)) {
        XwdImage shot;
        if (shot.captureRoot() && count(shot, black) < kW * kH / 10 &&
            namesGrey(shot) > fullestGrey) {
            fullestGrey = namesGrey(shot);
            fullest = shot;
        }
    }
    EXPECT_GE(msSince(start), kNominalMs) << "a scene is missing or too short";
    // Held until the demo has gone, as a person would: the loop reads the key once
    // per frame, and on a loaded machine one frame can outlast a short press.
    EXPECT_TRUE(XKeyboard::keyDown("Escape"));
    const Process::Result run = demo.wait(30000);
    EXPECT_TRUE(XKeyboard::keyUp("Escape"));
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ("", run.err);
    EXPECT_EQ(
        "Zembra initiliased\nMusic created\nScene creation\nGeometry generation\n"
        "Glow at half size (software renderer)\nTexture preparation (R2T)\nGL Texture ID created: N\nGL Texture ID created: N\n"
        "Frame buffer preparation (R2T)\nNew FrameBuffer id: N\nFrameBuffer created\n"
        "Start !\nEnd !\nFrameBuffer 'N' deleted\nMusic deleted\nZembra closed\n",
        std::regex_replace(run.out, std::regex("(: |')[0-9]+"), "$1N"));

    ASSERT_EQ(kW, fullest.width()) << "no capture during the greetings";
    const XwdImage* greetings = &fullest;
    savePpm(*greetings, "titles-greetings.ppm");
    EXPECT_EQ(0, count(*greetings, darkRed)) << "title red during the greetings";
    for (int n = 0; n < 7; ++n) {
        const int x = letters[n][0], y = letters[n][1];
        EXPECT_GT(count(*greetings, lightGrey, x - 14, y - 14, x + 15, y + 15), 100)
            << "name " << n + 1 << " missing";
    }
}
