// The show's pictures as dedoz-capture renders them on its fixed clock (640 x 480,
// through the whole post-processing chain, no soundtrack): dark red titles, all seven
// light grey names at the end of the greetings, coloured trail points over a grey
// floor in both trail scenes, and the world scene lit at full fade. Silence keeps
// colour waves and beat flashes out, so every coloured pixel is a trail's.
// One capture run renders every still; each is checked where its scene is on screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "support/Process.h"

namespace {

const std::string CAPTURE = DEDOZ_BINARY_DIR "/dedoz-capture";
const int W = 640, H = 480;

// Still times in ms of show time. The scenes start (at 60 fps, a few frames behind
// their nominal times) at 0, 11.3, 33.3, 52.9, 62.9 and 77.9 s.
const unsigned TITLE_MS = 540;                         // first title, faded in, before its fade-out
const unsigned GREETINGS_MS = 51500;                   // all seven names: the greetings' last 2.7 s
const unsigned SPECTRUM_MS[] = {59900, 60900, 61900};  // second shot, closing in
const unsigned IMPULSE_MS = 69900;                     // the middle of the impulse scene's one shot
const unsigned WORLD_MS = 82900;                       // 5 s into the world scene: full fade

struct Rgb {
    int r, g, b;
};

// One still decoded to RGB, top row first.
struct Picture {
    std::string rgb;
    Rgb pixel(int x, int y) const
    {
        const size_t at = (static_cast<size_t>(y) * W + x) * 3;
        return {static_cast<unsigned char>(rgb[at]), static_cast<unsigned char>(rgb[at + 1]),
                static_cast<unsigned char>(rgb[at + 2])};
    }
};

template <typename Test>
int count(const Picture& picture, Test test, int left = 0, int top = 0, int right = W,
          int bottom = H)
{
    int n = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, H); ++y)
        for (int x = std::max(left, 0); x < std::min(right, W); ++x)
            n += test(picture.pixel(x, y));
    return n;
}

bool darkRed(const Rgb& p)
{
    return p.r >= 60 && p.g * 3 < p.r && p.b * 3 < p.r;
}

// The bright middle of a title stroke, or of anything else red or orange: red at
// least 180 (the titles' 0.7 and a little glow), blue under a third of it (the
// floor's grey and white glow have more).
bool brightWarm(const Rgb& p)
{
    return p.r >= 180 && p.b * 3 < p.r;
}

// The names' 0.9 grey (229) with its glow; the floor's lines, packed tight under the
// high camera, glow up to about 195.
bool lightGrey(const Rgb& p)
{
    return std::min({p.r, p.g, p.b}) >= 225 &&
           std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}) <= 24;
}

bool lit(const Rgb& p)
{
    return std::max({p.r, p.g, p.b}) > 40;
}

// The trail colours' hue families (degrees): red, yellow, green, blue. The family of
// a pixel, or -1 for near-black, greys, whites and weak tints (saturation below 0.5).
int familyOf(const Rgb& p)
{
    static const int families[4][2] = {{-20, 20}, {40, 70}, {90, 170}, {200, 280}};
    const int high = std::max({p.r, p.g, p.b});
    const int spread = high - std::min({p.r, p.g, p.b});
    if (high < 24 || spread * 2 < high)
        return -1;
    double hue = high == p.r   ? 60.0 * (p.g - p.b) / spread
                 : high == p.g ? 60.0 * (p.b - p.r) / spread + 120.0
                               : 60.0 * (p.r - p.g) / spread + 240.0;
    if (hue >= 340.0)
        hue -= 360.0;
    for (int f = 0; f < 4; ++f)
        if (hue >= families[f][0] && hue < families[f][1])
            return f;
    return -1;
}

// What a trail scene's still shows.
struct Census {
    int coloured = 0;      // pixels of the four hue families
    int colouredNear = 0;  // of those, in the lowest quarter: on the near floor
    int families = 0;      // families with at least 3 pixels
    int litNear = 0;       // pixels not black in the lowest quarter
};

Census census(const Picture& picture)
{
    Census c;
    int perFamily[4] = {};
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const Rgb p = picture.pixel(x, y);
            const bool near = y >= H * 3 / 4;
            c.litNear += near && std::max({p.r, p.g, p.b}) > 0;
            const int family = familyOf(p);
            if (family < 0)
                continue;
            ++perFamily[family];
            ++c.coloured;
            c.colouredNear += near;
        }
    for (int n : perFamily)
        c.families += n >= 3;
    return c;
}

class ShowPictures : public testing::Test {
protected:
    // Renders every still in one run (the capture plays the show once for all of them).
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/dedoz-pictures-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        s_dir = pattern;
        std::vector<unsigned> times = {TITLE_MS, GREETINGS_MS, IMPULSE_MS, WORLD_MS};
        times.insert(times.end(), std::begin(SPECTRUM_MS), std::end(SPECTRUM_MS));
        std::string list;
        for (unsigned ms : times)
            list += (list.empty() ? "" : ",") + std::to_string(ms);
        const Process::Result run =
            Process::run({CAPTURE, "--out", s_dir + "/show.png", "--size",
                          std::to_string(W) + "x" + std::to_string(H), "--stills", list, "--music",
                          s_dir + "/no-soundtrack.mp3"},
                         {}, 120000);
        ASSERT_EQ(0, run.exitCode) << run.err;
        // One ffmpeg for every still: its start-up costs more than the decoding.
        std::vector<std::string> decode = {"ffmpeg", "-v", "error"};
        for (unsigned ms : times)
            decode.insert(decode.end(), {"-i", s_dir + "/show-" + std::to_string(ms) + ".png"});
        for (size_t i = 0; i < times.size(); ++i)
            decode.insert(decode.end(), {"-map", std::to_string(i), "-f", "rawvideo", "-pix_fmt",
                                         "rgb24", "-y", rawPath(times[i])});
        const Process::Result decoded = Process::run(decode, {}, 60000);
        ASSERT_EQ(0, decoded.exitCode) << decoded.err;
        for (unsigned ms : times) {
            std::ifstream in(rawPath(ms), std::ios::binary);
            s_pictures[ms].rgb.assign(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
            ASSERT_EQ(static_cast<size_t>(W) * H * 3, s_pictures[ms].rgb.size()) << ms;
        }
    }
    static void TearDownTestSuite()
    {
        if (!s_dir.empty()) {
            EXPECT_EQ(0, std::system(("rm -rf '" + s_dir + "'").c_str()));
        }
    }
    void SetUp() override
    {
        if (s_pictures.size() != 4 + std::size(SPECTRUM_MS))
            GTEST_FAIL() << "the capture did not render every still";
    }

    static const Picture& at(unsigned ms) { return s_pictures[ms]; }
    static std::string rawPath(unsigned ms) { return s_dir + "/" + std::to_string(ms) + ".rgb"; }

    static std::string s_dir;
    static std::map<unsigned, Picture> s_pictures;
};

std::string ShowPictures::s_dir;
std::map<unsigned, Picture> ShowPictures::s_pictures;

}  // namespace

// The titles are dark red strokes; the greetings are light grey names, all seven
// shown together at the end, with no title red left.
TEST_F(ShowPictures, DarkRedTitlesThenAllSevenGreyNames)
{
    const Picture& title = at(TITLE_MS);
    EXPECT_GT(count(title, darkRed), 500) << "no dark red title strokes in the first shot";
    // Pure red: where the strokes are brightest, green stays under a quarter of red
    // (an orange title's middles hold nearly half).
    EXPECT_GT(count(title, brightWarm), 1000) << "no bright title strokes";
    EXPECT_EQ(0, count(title, [](const Rgb& p) { return brightWarm(p) && p.g * 4 >= p.r; }))
        << "the title strokes are not pure red";

    const Picture& greetings = at(GREETINGS_MS);
    EXPECT_EQ(0, count(greetings, darkRed)) << "title red during the greetings";
    // The middle of each name's first letter, from "Dravo team" to "Vendal TWO", as the
    // camera looking down from about 78 units (45 degrees, aspect 1) projects it.
    const int letters[7][2] = {{351, 269}, {344, 295}, {183, 116}, {276, 111},
                               {106, 260}, {148, 292}, {469, 85}};
    for (int n = 0; n < 7; ++n) {
        const int x = letters[n][0], y = letters[n][1];
        // Strokes a fifth of a letter wide; the floor's lattice is far darker.
        EXPECT_GT(count(greetings, lightGrey, x - 14, y - 14, x + 15, y + 15), 40)
            << "name " << n + 1 << " missing";
    }
}

// Both trail scenes show coloured points over a lit grey floor; on the near floor
// there is no colour at all in a silent run.
TEST_F(ShowPictures, BothTrailScenesShowColouredPointsOverTheFloor)
{
    // The spectrum part's trails are small and far off: the most colourful of three.
    Census spectrum;
    for (unsigned ms : SPECTRUM_MS) {
        const Census c = census(at(ms));
        if (c.coloured >= spectrum.coloured)
            spectrum = c;
    }
    const Census impulse = census(at(IMPULSE_MS));
    EXPECT_GE(spectrum.coloured, 5) << "spectrum part: no coloured trail points";
    EXPECT_GE(impulse.coloured, 20) << "impulse part: no coloured trail points";
    EXPECT_GE(impulse.families, 2) << "impulse part: the trails are not several colours";
    const Census* shots[] = {&spectrum, &impulse};
    for (const Census* c : shots) {
        const char* scene = c == &spectrum ? "spectrum part" : "impulse part";
        EXPECT_EQ(0, c->colouredNear) << scene << ": colour on the floor of a silent run";
        EXPECT_GT(c->litNear, W * H / 4 / 50) << scene << ": no floor";
    }
}

// At full fade the floor's lines and their glow light a good share of the picture.
TEST_F(ShowPictures, WorldSceneIsLitAtFullFade)
{
    EXPECT_GT(count(at(WORLD_MS), lit), W * H / 10) << "the world scene is dark at full fade";
}
