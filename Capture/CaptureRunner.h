// CaptureRunner: plays the demo's show on the fixed clock and writes the frames the
// options ask for: a video with its sound, or stills. Owns nothing beyond a run:
// run() builds the engine, the scenes, the chain and the writers, and tears them
// down before it returns. Frame n is drawn after the scenes were updated at
// FrameClock::tickOf(n) with the spectrum at FrameClock::timeOf(n); frame 0 shows
// the first scene before its first update, as the live demo's first frame does.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Capture/CaptureOptions.h"

class QuitSignals;

class CaptureRunner {
public:
    // quit: the program's signal handlers; a signal stops the run with CaptureError.
    CaptureRunner(const CaptureOptions& options, const QuitSignals& quit);

    // Runs the capture with progress on standard error; returns the final summary
    // line. Throws CaptureError (bad input, files), GLErrorException, the
    // ShaderException family or EngineInitialisationException.
    std::string run();

private:
    CaptureOptions m_options;
    const QuitSignals& m_quit;
};
