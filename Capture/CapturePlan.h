// CapturePlan: which frames of the show a capture renders, from the options and the
// length of the show in frames. Pure: the same inputs always give the same plan.
// Frames before `first` are still advanced (updated, not drawn) so that the state
// at `first` is that of a full run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Capture/CaptureOptions.h"

struct CapturePlan {
    uint64_t first = 0;            // first frame captured
    uint64_t end = 0;              // one past the last frame the show runs to
    std::vector<uint64_t> stills;  // frames written as stills (same order as the options' times)

    // True when frame n is written (a video frame in [first, end) or a still).
    bool captures(uint64_t frame) const;
    // Frames written in all.
    uint64_t count() const;

    // showFrames: frames of a whole run (the show ends before frame showFrames).
    // Returns an empty string and fills plan, or one line saying what is wrong
    // (a start or a still at or past the end of the show, an end past it).
    static std::string make(const CaptureOptions& options, uint64_t showFrames, CapturePlan& plan);
};
