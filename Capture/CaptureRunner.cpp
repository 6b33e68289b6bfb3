// CaptureRunner: the fixed-clock loop. The show is first played through without
// drawing to learn its length (so the progress has a total and a bad time is
// refused before anything is rendered), then again from the same seed for real.
#include "Capture/CaptureRunner.h"

#include <GL/glew.h>

#include <array>
#include <cstdio>
#include <iostream>
#include <memory>
#include <unistd.h>

#include "Capture/CaptureError.h"
#include "Capture/CapturePlan.h"
#include "Capture/FrameClock.h"
#include "Capture/FrameLog.h"
#include "Capture/LayoutLog.h"
#include "Capture/PboReader.h"
#include "Capture/ProgressReporter.h"
#include "Capture/Soundtrack.h"
#include "Capture/StillWriter.h"
#include "Capture/VideoWriter.h"
#include "3D/Shader.h"
#include "Demo/ChainPrograms.h"
#include "Demo/DataFiles.h"
#include "Demo/DemoContent.h"
#include "Demo/GlowSize.h"
#include "Demo/PostProcessChain.h"
#include "Demo/Settings.h"
#include "Demo/ShowSetup.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Controllers/QuitSignals.h"
#include "Zembra/Engine.h"
#include "Zembra/Window.h"

namespace {

// Longest show the length measurement waits for, in seconds of show time: a show
// that has not ended by then never will.
const uint64_t MAX_SHOW_SECONDS = 4 * 3600;
// Frames the band-2 values are kept for until their frame is read back.
const size_t BAND_HISTORY = 2 * PboReader::COUNT;

// Where the frames go: a video with its sound, or stills; and the frame log if asked.
struct Output {
    std::unique_ptr<VideoWriter> video;
    std::unique_ptr<StillWriter> stills;
    std::unique_ptr<FrameLog> log;
};

// The parts of one played show, in the order they are built.
struct Show {
    std::unique_ptr<Music> music;
    std::unique_ptr<SceneManager> scenes;
    std::unique_ptr<ChainPrograms> programs;
    std::unique_ptr<PostProcessChain> chain;
};

// The demo's settings with the command line above them.
ShowSetup readSetup(const CaptureOptions& o, const DataFiles& data)
{
    const Settings settings(data.settings());
    ShowOverrides overrides;
    if (o.seed)
        overrides.seed = static_cast<uint32_t>(*o.seed);
    overrides.width = o.width;
    overrides.height = o.height;
    // Not bound by the frame budget: the glow as designed unless --glow 2 asks otherwise.
    overrides.glow = o.glow == 2 ? GLOW_HALF : GLOW_FULL;
    return ShowSetup(settings, overrides);
}

void requireVideoSize(const CaptureOptions& o, int width, int height)
{
    if (o.stills.empty() && (width % 2 != 0 || height % 2 != 0))
        throw CaptureError("a video needs an even width and height, not " + std::to_string(width) +
                           "x" + std::to_string(height));
}

// A soundtrack that cannot be read gives a silent capture, with one warning.
void loadSoundtrack(const std::string& path, Soundtrack& soundtrack)
{
    std::string reason;
    if (!soundtrack.load(path, reason))
        std::cerr << "Warning: cannot read the soundtrack '" << path << "' (" << reason
                  << "): the capture is silent" << std::endl;
}

// The window of the size asked for, or of the screen's own size for 0 x 0; a
// window of any other size would give frames of the wrong size.
std::unique_ptr<Engine> openWindow(const ShowSetup& setup)
{
    std::unique_ptr<Engine> engine = setup.openWindow("DedoZ capture");
    if (!hasRequiredExtensions(*engine))
        throw CaptureError(
            "the OpenGL driver lacks GL_ARB_framebuffer_object or GL_ARB_framebuffer_sRGB");
    const Window& window = *engine->getWindow();
    const int width = setup.windowWidth(), height = setup.windowHeight();
    const bool screenSized = width == 0 && height == 0;
    if (!screenSized && (window.getWidth() != width || window.getHeight() != height))
        throw CaptureError("the window is " + std::to_string(window.getWidth()) + "x" +
                           std::to_string(window.getHeight()) + ", not the " +
                           std::to_string(width) + "x" + std::to_string(height) +
                           " asked for (screen too small?)");
    return engine;
}

// A player that opens no audio device and runs on the capture's clock, started
// at time 0; silent (zeros) when the soundtrack could not be read.
std::unique_ptr<Music> showMusic(const std::string& path, bool readable)
{
    auto music = std::make_unique<Music>();
    music->setClock(0);
    music->init();
    if (readable && music->load(path.c_str()))
        music->play();
    return music;
}

void stopIfSignalled(const QuitSignals& quit)
{
    if (quit.received())
        throw CaptureError("stopped by a signal: the unfinished output was removed");
}

// Plays a fresh copy of the show without drawing and returns its length in frames.
uint64_t measureShow(const ShowSetup& setup, const FrameClock& clock, const std::string& musicPath,
                     bool readable, const QuitSignals& quit)
{
    const std::unique_ptr<Music> music = showMusic(musicPath, readable);
    const std::unique_ptr<SceneManager> scenes = setup.makeScenes();
    const uint64_t limit = MAX_SHOW_SECONDS * static_cast<uint64_t>(clock.fps());
    for (uint64_t frame = 1; frame <= limit; ++frame) {
        stopIfSignalled(quit);
        music->setClock(static_cast<unsigned>(clock.timeOf(frame)));
        if (scenes->update(*music, clock.tickOf(frame)))
            return frame;
    }
    throw CaptureError("the show does not end within " + std::to_string(MAX_SHOW_SECONDS) + " s");
}

CapturePlan planFrames(const CaptureOptions& o, uint64_t showFrames)
{
    CapturePlan plan;
    const std::string error = CapturePlan::make(o, showFrames, plan);
    if (!error.empty())
        throw CaptureError(error);
    return plan;
}

// Creates the files; each one is removed again unless its writer is finished.
Output openOutput(const CaptureOptions& o, const CapturePlan& plan, Soundtrack& soundtrack,
                  int width, int height)
{
    Output output;
    if (o.stills.empty()) {
        const uint64_t soundStart =
            soundtrack.loaded() ? FrameClock::samplesAt(plan.first, o.fps, soundtrack.sampleRate())
                                : 0;
        output.video = std::make_unique<VideoWriter>(
            o.out, width, height, o.fps, soundtrack.loaded() ? &soundtrack : nullptr, soundStart);
    } else {
        std::vector<std::string> paths;
        for (unsigned ms : o.stills)
            paths.push_back(o.stillPath(ms));
        output.stills = std::make_unique<StillWriter>(paths, width, height);
    }
    if (!o.frameLog.empty())
        output.log = std::make_unique<FrameLog>(o.frameLog);
    return output;
}

// Same order as the live demo: music, seeded scenes, programs, chain. The player
// never opens an audio device: the scenes read the spectrum at the fixed clock's time.
Show buildShow(const ShowSetup& setup, Window& window, const DataFiles& data,
               const std::string& musicPath, bool readable)
{
    Show show;
    show.music = showMusic(musicPath, readable);
    show.scenes = setup.makeScenes();
    show.programs = setup.makePrograms(data.shaders());
    show.chain = setup.makeChain(window);
    return show;
}

// Plays the show from frame 0 to the plan's end and renders the frames it plans;
// the read-back hands each one to the output, the log and the progress.
void renderFrames(const FrameClock& clock, const CapturePlan& plan, Show& show, Window& window,
                  Output& output, ProgressReporter& progress, const QuitSignals& quit)
{
    const int width = window.getWidth(), height = window.getHeight();
    std::array<float, BAND_HISTORY> bands{};
    uint64_t delivered = 0;
    PboReader reader(width, height, [&](uint64_t frame, const uint8_t* rgba) {
        if (output.log)
            output.log->write(frame, clock.timeOf(frame), bands[frame % BAND_HISTORY],
                              FrameLog::hashFrame(rgba, width, height));
        if (output.video) {
            output.video->writeFrame(rgba);
        } else {
            for (size_t i = 0; i < plan.stills.size(); ++i)
                if (plan.stills[i] == frame)
                    output.stills->write(i, rgba);
        }
        progress.update(++delivered);
    });

    const ChainPrograms& programs = *show.programs;
    float spectrum[512];
    for (uint64_t frame = 0; frame < plan.end; ++frame) {
        stopIfSignalled(quit);
        show.music->setClock(static_cast<unsigned>(clock.timeOf(frame)));
        // Frame 0 shows the first scene as built; each later frame follows one
        // update, as in the live demo, where the music starts a frame before it.
        if (frame > 0 && show.scenes->update(*show.music, clock.tickOf(frame)))
            throw CaptureError("the show ended earlier than when it was measured");
        if (output.log) {
            show.music->getSpectrum(spectrum, 512);  // what the scenes read at this time
            bands[frame % BAND_HISTORY] = spectrum[2];
        }
        if (!plan.captures(frame))
            continue;
        show.chain->render(*show.scenes, *programs.pulse, *programs.horizontalBlur,
                           *programs.verticalBlur);
        reader.read(frame);
        window.flip();
    }
    reader.flush();
}

std::string duration(uint64_t frames, int fps)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", static_cast<double>(frames) / fps);
    return text;
}

// Completes the files and returns the summary line.
std::string finishOutput(const CaptureOptions& o, Output& output)
{
    if (output.video) {
        VideoWriter& video = *output.video;
        video.finish();
        return "Wrote " + o.out + ": " + std::to_string(video.frames()) + " frames at " +
               std::to_string(o.fps) + " fps, " + duration(video.frames(), o.fps) + ", " +
               ProgressReporter::formatBytes(video.fileSize());
    }
    output.stills->commitAll();
    std::string names;
    for (unsigned ms : o.stills)
        names += (names.empty() ? "" : ", ") + o.stillPath(ms);
    return "Wrote " + std::to_string(o.stills.size()) + " still(s): " + names + ", " +
           ProgressReporter::formatBytes(output.stills->totalSize());
}

}  // namespace

CaptureRunner::CaptureRunner(const CaptureOptions& options, const QuitSignals& quit)
    : m_options(options), m_quit(quit)
{
}

std::string CaptureRunner::run()
{
    const CaptureOptions& o = m_options;
    const DataFiles data = DataFiles::forThisRun();
    const ShowSetup setup = readSetup(o, data);
    // A size known now is refused before any window opens.
    requireVideoSize(o, setup.windowWidth(), setup.windowHeight());
    const FrameClock clock(o.fps);
    const std::string musicPath = o.music.empty() ? data.music() : o.music;
    Soundtrack soundtrack;
    loadSoundtrack(musicPath, soundtrack);

    const std::unique_ptr<Engine> engine = openWindow(setup);
    Window& window = *engine->getWindow();
    // The screen's own size is known only now.
    requireVideoSize(o, window.getWidth(), window.getHeight());
    const CapturePlan plan =
        planFrames(o, measureShow(setup, clock, musicPath, soundtrack.loaded(), m_quit));
    Output output = openOutput(o, plan, soundtrack, window.getWidth(), window.getHeight());

    Show show = buildShow(setup, window, data, musicPath, soundtrack.loaded());
    if (!o.layoutLog.empty())
        LayoutLog::write(o.layoutLog, show.scenes->grid());
    ProgressReporter progress(std::cerr, plan.count(), isatty(STDERR_FILENO) != 0);
    renderFrames(clock, plan, show, window, output, progress, m_quit);
    const std::string summary = finishOutput(o, output);
    progress.finish(summary);
    return summary;
}
