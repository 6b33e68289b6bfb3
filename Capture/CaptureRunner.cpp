// CaptureRunner: the fixed-clock loop. The show is first played through without
// drawing to learn its length (so the progress has a total and a bad time is
// refused before anything is rendered), then again from the same seed for real.
#include "Capture/CaptureRunner.h"

#include <GL/glew.h>

#include <array>
#include <climits>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <unistd.h>

#include "Capture/CaptureError.h"
#include "Capture/CapturePlan.h"
#include "Capture/FrameClock.h"
#include "Capture/FrameLog.h"
#include "Capture/PboReader.h"
#include "Capture/ProgressReporter.h"
#include "Capture/Soundtrack.h"
#include "Capture/StillWriter.h"
#include "Capture/VideoWriter.h"
#include "3D/Shader.h"
#include "Demo/ChainPrograms.h"
#include "Demo/DemoContent.h"
#include "Demo/GlowSize.h"
#include "Demo/PostProcessChain.h"
#include "Demo/RenderSize.h"
#include "Demo/Settings.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Engine.h"
#include "Zembra/Random.h"
#include "Zembra/Window.h"

namespace {

// Longest show the length measurement waits for, in seconds of show time: a show
// that has not ended by then never will.
const uint64_t MAX_SHOW_SECONDS = 4 * 3600;
// Frames the band-2 values are kept for until their frame is read back.
const size_t BAND_HISTORY = 2 * PboReader::COUNT;

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

// Plays a fresh copy of the show without drawing and returns its length in frames.
uint64_t measureShow(const FrameClock& clock, uint32_t seed, const std::string& musicPath,
                     bool readable)
{
    const std::unique_ptr<Music> music = showMusic(musicPath, readable);
    Random::seed(seed);
    SceneManager scenes;
    addDemoScenes(scenes);
    const uint64_t limit = MAX_SHOW_SECONDS * static_cast<uint64_t>(clock.fps());
    for (uint64_t frame = 1; frame <= limit; ++frame) {
        music->setClock(static_cast<unsigned>(clock.timeOf(frame)));
        if (scenes.update(*music, clock.tickOf(frame)))
            return frame;
    }
    throw CaptureError("the show does not end within " + std::to_string(MAX_SHOW_SECONDS) + " s");
}

std::string duration(uint64_t frames, int fps)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", static_cast<double>(frames) / fps);
    return text;
}

}  // namespace

CaptureRunner::CaptureRunner(const CaptureOptions& options) : m_options(options)
{
}

std::string CaptureRunner::run()
{
    const CaptureOptions& o = m_options;
    Settings settings(DemoContent::SETTINGS_PATH);
    const uint32_t seed =
        static_cast<uint32_t>(o.seed ? *o.seed : settings.getInt("seed", 42, INT_MIN, INT_MAX));
    // The settings' render size; the automatic and the screen's size need a screen,
    // which a capture does not show on: 640 x 480 for those.
    const PresentationSettings presentation = readPresentationSettings(settings);
    const bool sized = presentation.request == RenderRequest::Setting;
    const int width = o.width > 0 ? o.width : sized ? presentation.size.width : 640;
    const int height = o.height > 0 ? o.height : sized ? presentation.size.height : 480;
    const bool video = o.stills.empty();
    if (video && (width % 2 != 0 || height % 2 != 0))
        throw CaptureError("a video needs an even width and height, not " + std::to_string(width) +
                           "x" + std::to_string(height));
    const FrameClock clock(o.fps);

    Soundtrack soundtrack;
    const std::string musicPath = o.music.empty() ? DemoContent::MUSIC_PATH : o.music;
    std::string reason;
    if (!soundtrack.load(musicPath, reason))
        std::cerr << "Warning: cannot read the soundtrack '" << musicPath << "' (" << reason
                  << "): the capture is silent" << std::endl;

    Engine engine(ENGINE_INIT_GLEW | ENGINE_INIT_SDL, width, height, "DedoZ capture");
    if (!hasRequiredExtensions(engine))
        throw CaptureError(
            "the OpenGL driver lacks GL_ARB_framebuffer_object or GL_ARB_framebuffer_sRGB");
    Window& window = *engine.getWindow();
    if (window.getWidth() != width || window.getHeight() != height)
        throw CaptureError("the window is " + std::to_string(window.getWidth()) + "x" +
                           std::to_string(window.getHeight()) + ", not the " +
                           std::to_string(width) + "x" + std::to_string(height) +
                           " asked for (screen too small?)");

    CapturePlan plan;
    const uint64_t showFrames = measureShow(clock, seed, musicPath, soundtrack.loaded());
    const std::string error = CapturePlan::make(o, showFrames, plan);
    if (!error.empty())
        throw CaptureError(error);

    std::unique_ptr<VideoWriter> writer;
    std::unique_ptr<StillWriter> stills;
    if (video) {
        VideoWriter::Sound sound;
        sound.data = soundtrack.data();
        sound.frames = soundtrack.frames();
        sound.channels = soundtrack.channels();
        sound.sampleRate = soundtrack.sampleRate();
        sound.start = soundtrack.loaded()
                          ? FrameClock::samplesAt(plan.first, o.fps, soundtrack.sampleRate())
                          : 0;
        writer = std::make_unique<VideoWriter>(o.out, width, height, o.fps,
                                               soundtrack.loaded() ? &sound : nullptr);
    } else {
        std::vector<std::string> paths;
        for (unsigned ms : o.stills)
            paths.push_back(o.stillPath(ms));
        stills = std::make_unique<StillWriter>(paths, width, height);
    }
    std::optional<FrameLog> log;
    if (!o.frameLog.empty())
        log.emplace(o.frameLog);

    // Same order as the live demo: music, seed, scenes, programs, chain. The player
    // never opens an audio device: the scenes read the spectrum at the fixed clock's time.
    const std::unique_ptr<Music> music = showMusic(musicPath, soundtrack.loaded());
    Random::seed(seed);
    SceneManager scenes;
    addDemoScenes(scenes);
    ChainPrograms programs;
    programs.load();
    // Not bound by the frame budget: the glow as designed unless --glow 2 asks otherwise.
    PostProcessChain chain(window, o.glow == 2 ? GlowSize::Half : GlowSize::Full);

    ProgressReporter progress(std::cerr, plan.count(), isatty(STDERR_FILENO) != 0);
    std::array<float, BAND_HISTORY> bands{};
    uint64_t delivered = 0;
    PboReader reader(width, height, [&](uint64_t frame, const uint8_t* rgba) {
        if (log)
            log->write(frame, clock.timeOf(frame), bands[frame % BAND_HISTORY],
                       FrameLog::hashFrame(rgba, width, height));
        if (writer) {
            writer->writeFrame(rgba);
        } else {
            for (size_t i = 0; i < plan.stills.size(); ++i)
                if (plan.stills[i] == frame)
                    stills->write(i, rgba);
        }
        progress.update(++delivered);
    });

    float spectrum[512];
    for (uint64_t frame = 0; frame < plan.end; ++frame) {
        music->setClock(static_cast<unsigned>(clock.timeOf(frame)));
        // Frame 0 shows the first scene as built; each later frame follows one
        // update, as in the live demo, where the music starts a frame before it.
        if (frame > 0 && scenes.update(*music, clock.tickOf(frame)))
            throw CaptureError("the show ended earlier than when it was measured");
        if (log) {
            music->getSpectrum(spectrum, 512);  // what the scenes read at this time
            bands[frame % BAND_HISTORY] = spectrum[2];
        }
        if (!plan.captures(frame))
            continue;
        chain.render(scenes, *programs.pulse, *programs.horizontalBlur, *programs.verticalBlur);
        reader.read(frame);
        window.flip();
    }
    reader.flush();

    if (writer) {
        writer->finish();
        const std::string summary = "Wrote " + o.out + ": " + std::to_string(writer->frames()) +
                                    " frames at " + std::to_string(o.fps) + " fps, " +
                                    duration(writer->frames(), o.fps) + ", " +
                                    ProgressReporter::formatBytes(writer->fileSize());
        progress.finish(summary);
        return summary;
    }
    stills->commitAll();
    std::string names;
    for (unsigned ms : o.stills)
        names += (names.empty() ? "" : ", ") + o.stillPath(ms);
    const std::string summary = "Wrote " + std::to_string(o.stills.size()) + " still(s): " + names +
                                ", " + ProgressReporter::formatBytes(stills->totalSize());
    progress.finish(summary);
    return summary;
}
