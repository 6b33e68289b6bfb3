// dedoz-capture: renders the demo's show frame by frame on a fixed clock into an
// MP4 video with its soundtrack, or into PNG stills. Every failure ends as one line
// on standard error and exit status 1; 0 after a complete file was written.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

#include "Capture/CaptureError.h"
#include "Capture/CaptureOptions.h"
#include "Capture/CaptureRunner.h"
#include "Zembra/Controllers/QuitSignals.h"

int main(int argc, char** argv)
{
    // First: Ctrl-C or SIGTERM at any later moment stops the capture in order, its
    // unfinished file removed (SDL, once started, would otherwise swallow them).
    const QuitSignals quitSignals;
    CaptureOptions options;
    const std::string error =
        CaptureOptions::parse(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!error.empty()) {
        std::cerr << "dedoz-capture: " << error << std::endl;
        return 1;
    }
    if (options.help) {
        std::cout << CaptureOptions::usage();
        return 0;
    }
    // The encoders' statistics would bury the progress line: errors only.
    av_log_set_level(AV_LOG_ERROR);
    try {
        CaptureRunner(options, quitSignals).run();
    } catch (const std::exception& e) {
        // The runner's objects are gone by now, and with them any unfinished file.
        std::cerr << "dedoz-capture: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
