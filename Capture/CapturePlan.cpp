// CapturePlan: options to frame numbers through the fixed clock.
#include "Capture/CapturePlan.h"

#include <algorithm>

#include "Capture/FrameClock.h"

namespace {

std::string showLength(const FrameClock& clock, uint64_t showFrames)
{
    return std::to_string(clock.timeOf(showFrames)) + " ms";
}

}  // namespace

bool CapturePlan::captures(uint64_t frame) const
{
    if (!stills.empty())
        return std::binary_search(stills.begin(), stills.end(), frame);
    return frame >= first && frame < end;
}

uint64_t CapturePlan::count() const
{
    return stills.empty() ? end - first : stills.size();
}

std::string CapturePlan::make(const CaptureOptions& options, uint64_t showFrames, CapturePlan& plan)
{
    const FrameClock clock(options.fps);
    plan = CapturePlan();
    if (!options.stills.empty()) {
        for (unsigned ms : options.stills) {
            const uint64_t frame = clock.frameShownAt(ms);
            if (frame >= showFrames)
                return "--stills: " + std::to_string(ms) + " ms is past the end of the show (" +
                       showLength(clock, showFrames) + ")";
            plan.stills.push_back(frame);
        }
        plan.first = plan.stills.front();
        plan.end = plan.stills.back() + 1;
        return "";
    }
    plan.first = clock.firstFrameFrom(options.from);
    if (plan.first >= showFrames)
        return "--from " + std::to_string(options.from) + " ms is past the end of the show (" +
               showLength(clock, showFrames) + ")";
    // The show's last frame lasts until its end, so --to may name the end itself.
    if (options.to && *options.to > clock.timeOf(showFrames))
        return "--to " + std::to_string(*options.to) + " ms is past the end of the show (" +
               showLength(clock, showFrames) + ")";
    plan.end = options.to ? clock.firstFrameFrom(*options.to) : showFrames;
    return "";
}
