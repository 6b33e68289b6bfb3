// The dedoz program played whole inside Xvfb (640 x 480 screen, the repository's
// settings: a 640 x 480 window filling it): dark red titles first, light grey
// greetings last, and the run ends by itself. Screenshots are scheduled from the
// "Start !" and "End !" lines, so a slow machine only moves them, never breaks them.
// The two pictures checked are left in the build tree as PPM files for a person to
// look at: tests/Demo/titles-title.ppm and tests/Demo/titles-greetings.ppm.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <deque>
#include <fstream>
#include <string>
#include <thread>

#include "support/Process.h"
#include "support/XwdImage.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::string DEDOZ = DEDOZ_BINARY_DIR "/dedoz";
const int kW = 640, kH = 480;
// Nominal length of titles, sweep and greetings from the first update, in ms; real
// runs are longer by a frame or two per shot.
const int kNominalMs = 52842;

bool darkRed(const XwdImage::Rgb& p)
{
    return p.r >= 60 && p.g * 3 < p.r && p.b * 3 < p.r;
}

// The greetings' 0.9 grey plus glow; the floor's grey (0.46) stays far below.
bool lightGrey(const XwdImage::Rgb& p)
{
    return p.r >= 180 && p.g >= 180 && p.b >= 180 &&
           std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}) <= 24;
}

template <typename Test>
int count(const XwdImage& image, int left, int top, int right, int bottom, Test test)
{
    int n = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
        for (int x = std::max(left, 0); x < std::min(right, image.width()); ++x)
            n += test(image.pixel(x, y));
    return n;
}

template <typename Test>
int count(const XwdImage& image, Test test)
{
    return count(image, 0, 0, image.width(), image.height(), test);
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

// Window pixel of a world point under the greetings' camera at height `h`: eye
// (50, h, 50), target (50.01, 0, 50.01), up (0, 1, 0), 45 degrees, aspect 1.
std::pair<int, int> greetingsPixel(float x, float y, float z, float h)
{
    const float f[3] = {0.01f, -h, 0.01f};
    const float fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    const float fn[3] = {f[0] / fl, f[1] / fl, f[2] / fl};
    // side = forward x up, then up' = side x forward
    float s[3] = {-fn[2], 0.0f, fn[0]};
    const float sl = std::sqrt(s[0] * s[0] + s[2] * s[2]);
    s[0] /= sl;
    s[2] /= sl;
    const float u[3] = {s[1] * fn[2] - s[2] * fn[1], s[2] * fn[0] - s[0] * fn[2],
                        s[0] * fn[1] - s[1] * fn[0]};
    const float d[3] = {x - 50.0f, y - h, z - 50.0f};
    const float right = s[0] * d[0] + s[1] * d[1] + s[2] * d[2];
    const float up = u[0] * d[0] + u[1] * d[1] + u[2] * d[2];
    const float depth = fn[0] * d[0] + fn[1] * d[1] + fn[2] * d[2];
    const float t = std::tan(22.5f * 3.14159265f / 180.0f);
    return {static_cast<int>((right / (depth * t) + 1.0f) / 2.0f * kW),
            static_cast<int>((1.0f - up / (depth * t)) / 2.0f * kH)};
}

struct Capture {
    Clock::time_point taken;  // when the capture began
    XwdImage image;
};

int msBetween(Clock::time_point a, Clock::time_point b)
{
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(b - a).count());
}

}  // namespace

TEST(TitlesEndToEnd, TitlesSweepAndGreetingsPlayAndTheRunEndsByItself)
{
    Process demo({DEDOZ}, {}, DEDOZ_SOURCE_DIR);
    ASSERT_TRUE(demo.start());
    ASSERT_TRUE(demo.waitForOutput("Start !", 30000)) << "the demo never started";
    const Clock::time_point start = Clock::now();

    // The first title shot: the scene's clock starts after "Start !", so any capture
    // within 2.4 s of it is inside the 2820 ms shot. Keep the reddest one.
    XwdImage title;
    int titleRed = -1;
    for (int ms = 800; ms <= 2400; ms += 400) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(ms));
        XwdImage shot;
        ASSERT_TRUE(shot.captureRoot()) << shot.error();
        const int red = count(shot, darkRed);
        if (red > titleRed) {
            titleRed = red;
            title = shot;
        }
    }
    ASSERT_EQ(kW, title.width());
    ASSERT_EQ(kH, title.height());
    savePpm(title, "titles-title.ppm");
    EXPECT_GT(titleRed, 500) << "no dark red title strokes in the first shot";
    EXPECT_EQ(0, count(title, lightGrey)) << "greetings grey during the titles";

    // The greetings' last 2.7 s show all seven names. Nothing can end before the
    // nominal length; from shortly before it, capture until "End !".
    const bool early = demo.waitForOutput("End !", kNominalMs - 8000 - msBetween(start, Clock::now()));
    ASSERT_FALSE(early) << "the run ended " << msBetween(start, Clock::now()) << " ms after Start";
    std::deque<Capture> recent;
    while (!demo.waitForOutput("End !", 200) && msBetween(start, Clock::now()) < 150000) {
        recent.push_back({Clock::now(), XwdImage()});
        if (!recent.back().image.captureRoot())
            recent.pop_back();  // the window may be closing
        if (recent.size() > 12)
            recent.pop_front();
    }
    const Clock::time_point ended = Clock::now();
    const Process::Result run = demo.wait(30000);

    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ("", run.err);
    EXPECT_GE(msBetween(start, ended), kNominalMs) << "a scene is missing or too short";
    const std::string key = "New FrameBuffer id: ";
    const std::size_t idAt = run.out.find(key);
    ASSERT_NE(std::string::npos, idAt) << run.out;
    const std::string frameBuffer = run.out.substr(idAt + key.size(), run.out.find('\n', idAt) - idAt - key.size());
    const std::size_t texturesAt = run.out.find("GL Texture ID created: ");
    const std::size_t texturesEnd = run.out.find("Frame buffer preparation (R2T)");
    ASSERT_NE(std::string::npos, texturesAt) << run.out;
    ASSERT_NE(std::string::npos, texturesEnd) << run.out;
    EXPECT_EQ("Zembra initiliased\n"
              "Music created\n"
              "Scene creation\n"
              "Geometry generation\n"
              "Texture preparation (R2T)\n" +
                  run.out.substr(texturesAt, texturesEnd - texturesAt) +
                  "Frame buffer preparation (R2T)\n"
                  "New FrameBuffer id: " + frameBuffer + "\n"
                  "FrameBuffer created\n"
                  "Start !\n"
                  "End !\n"
                  "FrameBuffer '" + frameBuffer + "' deleted\n"
                  "Music deleted\n"
                  "Zembra closed\n",
              run.out);
    EXPECT_EQ(2, countOccurrences(run.out, "GL Texture ID created: "));

    // The last capture begun well before "End !" shows the greetings' final picture.
    const Capture* last = nullptr;
    for (const Capture& c : recent)
        if (msBetween(c.taken, ended) >= 600)
            last = &c;
    ASSERT_NE(nullptr, last) << "no capture in the greetings' last seconds";
    const XwdImage& greetings = last->image;
    ASSERT_EQ(kW, greetings.width());
    savePpm(greetings, "titles-greetings.ppm");
    EXPECT_EQ(0, count(greetings, darkRed)) << "title red during the greetings";
    EXPECT_GT(count(greetings, lightGrey), 3000) << "no light grey names";

    // Each name's first letter, where the camera (80 units up at the end, about 76
    // when the seventh name appears) puts it.
    struct Name {
        const char* text;
        float x, z, scale;
        bool turned270;
    };
    const Name names[] = {
        {"Dravo team", 45, 50, 1.0f, false}, {"Gorvex", 43, 47, 1.0f, false},
        {"Skylomancers", 72, 52, 1.5f, true}, {"Pellucor", 66, 59, 1.7f, true},
        {"ZaaaZ", 64, 33, 1.7f, true},        {"Q tor", 58, 33, 1.7f, true},
        {"Vendal TWO", 54, 76, 1.8f, false},
    };
    for (const Name& name : names) {
        // The middle of the first cell: half a scale unit below the top line.
        const float x = name.turned270 ? name.x - 0.5f * name.scale : name.x;
        const float z = name.turned270 ? name.z : name.z - 0.5f * name.scale;
        const auto [px, py] = greetingsPixel(x, 1.0f, z, 78.0f);
        const int lit = count(greetings, px - 14, py - 14, px + 15, py + 15, lightGrey);
        EXPECT_GT(lit, 100) << "'" << name.text << "' is not on screen near " << px << "," << py;
    }
}
