// dedoz-capture run whole inside Xvfb: repeatable frames, the file ffprobe sees,
// the music reaching the pictures on the exact frame, stills equal to video
// frames, and bad input refused with one line and no file left behind.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "Capture/LayoutLog.h"
#include "Demo/DemoContent.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Random.h"
#include "support/DemoDirectory.h"
#include "support/Process.h"
#include "support/TempDirectory.h"

namespace {

const std::string CAPTURE = DEDOZ_BINARY_DIR "/dedoz-capture";
const std::string BURSTS = DEDOZ_BINARY_DIR "/fixtures/capture/bursts.mp3";
const std::string SPECTRUM_PART_BURST = DEDOZ_BINARY_DIR "/fixtures/capture/spectrum-part.mp3";
const int RUN_MS = 120000;

// One line of a frame log: index, time (ms), band 2 (-1 when not read), hash.
struct LoggedFrame {
    unsigned long long index = 0;
    unsigned long long timeMs = 0;
    double band2 = -1.0;
    std::string hash;
};

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<LoggedFrame> readLog(const std::string& path)
{
    std::vector<LoggedFrame> frames;
    std::istringstream in(readFile(path));
    std::string band;
    LoggedFrame f;
    while (in >> f.index >> f.timeMs >> band >> f.hash) {
        f.band2 = band == "-" ? -1.0 : std::atof(band.c_str());
        frames.push_back(f);
    }
    return frames;
}

// The frame log's hash of an RGB picture: 64-bit FNV-1a, 16 hex digits.
std::string fnv1a(const std::string& bytes)
{
    unsigned long long hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", hash);
    return text;
}

int lineCount(const std::string& text)
{
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

// "key=value" of ffprobe's flat output for one stream ("" when absent).
std::string probeField(const std::string& probe, const std::string& key)
{
    const size_t at = probe.find(key + "=");
    if (at == std::string::npos)
        return "";
    const size_t begin = at + key.size() + 1;
    return probe.substr(begin, probe.find_first_of("|\n", begin) - begin);
}

class CaptureRun : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE("", m_folder.path()) << m_folder.error();
        m_dir = m_folder.path();
    }

    Process::Result capture(std::vector<std::string> args)
    {
        args.insert(args.begin(), CAPTURE);
        return Process::run(args, {}, RUN_MS);
    }

    // One stream's entries of ffprobe, "codec_type=...|..." per line, video first.
    std::string probe(const std::string& path, const std::string& select)
    {
        const Process::Result r = Process::run(
            {"ffprobe", "-v", "error", "-select_streams", select, "-count_frames", "-show_entries",
             "stream=codec_name,codec_type,width,height,pix_fmt,r_frame_rate,nb_read_frames,duration",
             "-of", "compact=p=0", path},
            {}, 60000);
        EXPECT_EQ(0, r.exitCode) << r.err;
        return r.out;
    }

    TempDirectory m_folder{"capture"};
    std::string m_dir;
};

}  // namespace

TEST_F(CaptureRun, SameShowGivesSameFramesInAPlayableFile)
{
    const std::string video = m_dir + "/a.mp4";
    const Process::Result first = capture(
        {"--out", video, "--size", "160x120", "--to", "2000", "--frame-log", m_dir + "/a.log"});
    ASSERT_EQ(0, first.exitCode) << first.err;
    const Process::Result second = capture({"--out", m_dir + "/b.mp4", "--size", "160x120", "--to",
                                            "2000", "--frame-log", m_dir + "/b.log"});
    ASSERT_EQ(0, second.exitCode) << second.err;

    // Frames 0 to 120 are the ones at 0 to 1983 ms; 2000 ms is not before --to.
    const std::vector<LoggedFrame> a = readLog(m_dir + "/a.log");
    const std::vector<LoggedFrame> b = readLog(m_dir + "/b.log");
    ASSERT_EQ(120u, a.size());
    EXPECT_EQ(readFile(m_dir + "/a.log"), readFile(m_dir + "/b.log"));
    EXPECT_EQ(1983u, a.back().timeMs);
    // The pictures move: a log of one repeated frame would prove nothing.
    EXPECT_NE(a[60].hash, a[119].hash);
    EXPECT_NE(std::string::npos,
              first.err.find("Wrote " + video + ": 120 frames at 60 fps, 2.000 s"))
        << first.err;
    EXPECT_FALSE(exists(video + ".part"));

    const std::string v = probe(video, "v");
    const std::string s = probe(video, "a");
    EXPECT_EQ(1, lineCount(v)) << v;
    EXPECT_EQ(1, lineCount(s)) << s;
    EXPECT_EQ("h264", probeField(v, "codec_name"));
    EXPECT_EQ("yuv420p", probeField(v, "pix_fmt"));
    EXPECT_EQ("160", probeField(v, "width"));
    EXPECT_EQ("60/1", probeField(v, "r_frame_rate"));
    EXPECT_EQ("120", probeField(v, "nb_read_frames"));
    EXPECT_EQ("aac", probeField(s, "codec_name"));
    const double videoSeconds = std::atof(probeField(v, "duration").c_str());
    const double soundSeconds = std::atof(probeField(s, "duration").c_str());
    EXPECT_NEAR(2.0, videoSeconds, 1e-6);
    EXPECT_NEAR(videoSeconds, soundSeconds, 1.0 / 60.0);
}

TEST_F(CaptureRun, MusicReachesThePicturesOnItsFrameAndStillsMatchTheVideo)
{
    ASSERT_TRUE(exists(BURSTS));
    const Process::Result run =
        capture({"--out", m_dir + "/bursts.mp4", "--size", "160x120", "--to", "2000", "--music",
                 BURSTS, "--frame-log", m_dir + "/bursts.log"});
    ASSERT_EQ(0, run.exitCode) << run.err;
    const std::vector<LoggedFrame> frames = readLog(m_dir + "/bursts.log");
    ASSERT_EQ(120u, frames.size());

    // Bursts begin exactly at 500 ms (frame 30) and 1250 ms (frame 75). Frame n reads
    // the 1024 samples that end at its own time, so frame 30 hears nothing yet and
    // frame 31 is the first to hear the burst; a clock a frame early or late misses.
    auto firstLoud = [&](size_t from) {
        for (size_t i = from; i < frames.size(); ++i)
            if (frames[i].band2 >= 0.25)
                return static_cast<long>(i);
        return -1L;
    };
    EXPECT_EQ(31, firstLoud(0));
    EXPECT_EQ(76, firstLoud(50));
    EXPECT_LT(frames[30].band2, 0.05);

    // The still at the time of frame 31 holds exactly that frame's pixels.
    const Process::Result still = capture(
        {"--out", m_dir + "/still.png", "--size", "160x120", "--stills", "517", "--music", BURSTS});
    ASSERT_EQ(0, still.exitCode) << still.err;
    const std::string png = m_dir + "/still-517.png";
    ASSERT_TRUE(exists(png));
    const Process::Result decoded =
        Process::run({"ffmpeg", "-v", "error", "-i", png, "-f", "rawvideo", "-pix_fmt", "rgb24",
                      "-y", m_dir + "/still.rgb"},
                     {}, 60000);
    ASSERT_EQ(0, decoded.exitCode) << decoded.err;
    const std::string rgb = readFile(m_dir + "/still.rgb");
    ASSERT_EQ(160u * 120u * 3u, rgb.size());
    EXPECT_EQ(frames[31].hash, fnv1a(rgb));
    EXPECT_NE(frames[30].hash, frames[31].hash);
}

TEST_F(CaptureRun, BadInputGetsOneLineAndLeavesNoFile)
{
    const std::string out = m_dir + "/bad.mp4";
    const std::string fifo = m_dir + "/fifo.mp4";
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0644));
    struct Case {
        std::vector<std::string> args;
        std::string line;
    };
    const std::vector<Case> cases = {
        {{"--out", m_dir + "/missing/dir/x.mp4"},
         "cannot create '" + m_dir + "/missing/dir/x.mp4.part': No such file or directory"},
        {{"--out", m_dir}, "'" + m_dir + "': it is a directory, not a regular file"},
        {{"--out", fifo}, "'" + fifo + "': it is a FIFO, not a regular file"},
        {{"--size", "0x120"}, "--size needs WIDTHxHEIGHT"},
        {{"--size", "16386x120"}, "--size needs WIDTHxHEIGHT"},
        {{"--fps", "0"}, "--fps needs a whole number from 1 to 240"},
        {{"--fps", "241"}, "--fps needs a whole number from 1 to 240"},
        {{"--from", "2000", "--to", "1000"}, "--from (2000 ms) must come before --to (1000 ms)"},
        {{"--size", "161x120"}, "a video needs an even width and height"},
        {{"--size", "160x120", "--from", "3600000"},
         "--from 3600000 ms is past the end of the show"},
        {{"--size", "160x120", "--stills", "1000,3600000"},
         "--stills: 3600000 ms is past the end of the show"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        if (c.args[0] != "--out") {
            args.push_back("--out");
            args.push_back(out);
        }
        const Process::Result r = capture(args);
        EXPECT_EQ(1, r.exitCode) << c.args[0] << ": " << r.err;
        EXPECT_EQ(1, lineCount(r.err)) << c.args[0] << ": " << r.err;
        EXPECT_EQ(0u, r.err.find("dedoz-capture: ")) << r.err;
        EXPECT_NE(std::string::npos, r.err.find(c.line)) << r.err;
        EXPECT_FALSE(exists(out)) << c.args[0];
        EXPECT_FALSE(exists(out + ".part")) << c.args[0];
        EXPECT_FALSE(exists(m_dir + "/bad-1000.png")) << c.args[0];
        EXPECT_FALSE(exists(m_dir + "/bad-1000.png.part")) << c.args[0];
    }
    struct stat info;
    EXPECT_TRUE(lstat(fifo.c_str(), &info) == 0 && S_ISFIFO(info.st_mode))
        << "the FIFO was replaced";
    EXPECT_FALSE(exists(fifo + ".part"));

    // No soundtrack: one warning, then a complete video without sound.
    const Process::Result silent =
        capture({"--out", out, "--size", "160x120", "--to", "300", "--music", m_dir + "/none.mp3"});
    EXPECT_EQ(0, silent.exitCode) << silent.err;
    EXPECT_EQ(1, countOccurrences(silent.err, "Warning: cannot read the soundtrack")) << silent.err;
    ASSERT_TRUE(exists(out));
    EXPECT_EQ("", probe(out, "a"));
    EXPECT_EQ("18", probeField(probe(out, "v"), "nb_read_frames"));
}

// The spectrum part (about 53 to 63 s into the show) listens to the music: a burst
// starting at 57030 ms is first heard by the frame at 57050 ms (1141 at 20 fps),
// and that frame is the first whose pixels (raised floor, pulse) differ from those of
// a capture without sound. Scenes reading the spectrum a frame late would differ
// first on the frame after.
TEST_F(CaptureRun, TheSpectrumPartReactsOnTheFrameThatHearsTheBurst)
{
    ASSERT_TRUE(exists(SPECTRUM_PART_BURST));
    const std::vector<std::string> range = {"--fps",  "20",    "--size", "160x120",
                                            "--from", "56800", "--to",   "57300"};
    auto logOf = [&](const std::string& music, const std::string& name) {
        std::vector<std::string> args = range;
        args.insert(args.end(), {"--music", music, "--out", m_dir + "/" + name + ".mp4",
                                 "--frame-log", m_dir + "/" + name + ".log"});
        const Process::Result r = capture(args);
        EXPECT_EQ(0, r.exitCode) << r.err;
        return readLog(m_dir + "/" + name + ".log");
    };
    const std::vector<LoggedFrame> heard = logOf(SPECTRUM_PART_BURST, "heard");
    const std::vector<LoggedFrame> silent = logOf(m_dir + "/none.mp3", "silent");
    ASSERT_EQ(10u, heard.size());
    ASSERT_EQ(heard.size(), silent.size());
    ASSERT_EQ(1136u, heard[0].index);

    size_t loud = heard.size(), changed = heard.size();
    for (size_t i = heard.size(); i-- > 0;) {
        if (heard[i].band2 >= 0.25)
            loud = i;
        if (heard[i].hash != silent[i].hash)
            changed = i;
    }
    ASSERT_LT(loud, heard.size());
    EXPECT_EQ(1141u, heard[loud].index);
    EXPECT_LT(heard[loud - 1].band2, 0.05);
    EXPECT_EQ(loud, changed) << "the pictures answer on another frame than the music's";
}

// The end of the show: a time past it is refused with the show's length, and a
// capture of its last second plays every scene to the end and writes that second's
// frames. Its floor is the live demo's for the same seed: both build the show
// straight after seeding (the capture after a measuring run, so it seeds again).
TEST_F(CaptureRun, TheLastSecondIsCapturedWholeOnTheLiveDemosFloor)
{
    const std::string out = m_dir + "/end.mp4";
    const std::vector<std::string> common = {"--fps",  "10", "--size", "160x120",
                                             "--seed", "7",  "--out",  out};
    std::vector<std::string> args = common;
    args.insert(args.end(), {"--to", "3600000"});
    const Process::Result past = capture(args);
    EXPECT_EQ(1, past.exitCode);
    EXPECT_EQ(1, lineCount(past.err)) << past.err;
    const std::string prefix = "dedoz-capture: --to 3600000 ms is past the end of the show (";
    ASSERT_EQ(0u, past.err.find(prefix)) << past.err;
    EXPECT_FALSE(exists(out));
    const unsigned long long length = std::strtoull(past.err.c_str() + prefix.size(), nullptr, 10);
    ASSERT_GT(length, 90000u) << past.err;
    ASSERT_EQ(0u, length % 100) << "at 10 fps every frame time is a multiple of 100 ms";

    args = common;
    args.insert(args.end(), {"--from", std::to_string(length - 1000), "--frame-log",
                             m_dir + "/end.log", "--layout-log", m_dir + "/layout.txt"});
    const Process::Result last = capture(args);
    ASSERT_EQ(0, last.exitCode) << last.err;
    EXPECT_NE(std::string::npos, last.err.find("Wrote " + out + ": 10 frames at 10 fps"))
        << last.err;
    const std::vector<LoggedFrame> frames = readLog(m_dir + "/end.log");
    ASSERT_EQ(10u, frames.size());
    EXPECT_EQ(length / 100 - 1, frames.back().index);

    // The show as the live demo builds it for seed 7.
    Random::seed(7);
    SceneManager scenes;
    addDemoScenes(scenes);
    const std::string live = LayoutLog::describe(scenes.grid());
    EXPECT_EQ(16, lineCount(live));
    const std::string logged = readFile(m_dir + "/layout.txt");
    EXPECT_TRUE(live == logged) << "first band, live: " << live.substr(0, live.find('\n'))
                                << "\ncaptured: " << logged.substr(0, logged.find('\n'));
}

// Ctrl-C or SIGTERM stops a capture in order at any moment, its unfinished file
// removed: before SDL starts (which would swallow the signals if it were first to
// handle them), and while frames are rendered.
TEST_F(CaptureRun, ASignalStopsTheCaptureInOrderAndLeavesNoFile)
{
    const std::string out = m_dir + "/stopped.mp4";
    struct Case {
        int signal;
        std::string after;  // the line the signal follows
    };
    for (const Case& c : {Case{SIGTERM, "Warning: cannot read the soundtrack"},
                          Case{SIGINT, "FrameBuffer created"}}) {
        SCOPED_TRACE(c.after);
        Process run({CAPTURE, "--size", "160x120", "--to", "60000", "--music", m_dir + "/none.mp3",
                     "--out", out});
        ASSERT_TRUE(run.start());
        ASSERT_TRUE(run.waitForOutput(c.after, RUN_MS));
        ASSERT_TRUE(run.signal(c.signal));
        const Process::Result r = run.wait(30000);
        EXPECT_FALSE(r.timedOut) << "the signal did not stop the capture";
        EXPECT_EQ(0, r.signal) << "killed by the signal";
        EXPECT_EQ(1, r.exitCode);
        EXPECT_NE(
            std::string::npos,
            r.err.find("dedoz-capture: stopped by a signal: the unfinished output was removed\n"))
            << r.err;
        EXPECT_FALSE(exists(out));
        EXPECT_FALSE(exists(out + ".part"));
    }
}

// The demo's settings set the show up for the capture as for the demo: hres 0 vres 0
// is a window of the screen's own size, so the stills have that size.
TEST_F(CaptureRun, ScreenSizedWindowFromTheDemoSettings)
{
    const Process::Result display = Process::run({"xdotool", "getdisplaygeometry"}, {}, 10000);
    unsigned width = 0, height = 0;
    ASSERT_EQ(2, std::sscanf(display.out.c_str(), "%u %u", &width, &height)) << display.out;
    DemoDirectory demo(DEDOZ_SOURCE_DIR);
    ASSERT_TRUE(demo.ok()) << demo.error();
    demo.writeSettings("hres 0\nvres 0\n");

    const Process::Result r = Process::run({CAPTURE, "--out", m_dir + "/s.mp4", "--stills", "0"},
                                           {}, RUN_MS, demo.path());
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ(0, countOccurrences(r.out, "Warning")) << r.out;
    // A PNG's size: the first two big-endian words of its IHDR chunk (bytes 16-23).
    const std::string png = readFile(m_dir + "/s-0.png");
    ASSERT_GE(png.size(), 24u);
    const auto word = [&](size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(png[at])) << 24 |
               static_cast<unsigned>(static_cast<unsigned char>(png[at + 1])) << 16 |
               static_cast<unsigned>(static_cast<unsigned char>(png[at + 2])) << 8 |
               static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(width, word(16));
    EXPECT_EQ(height, word(20));
}
