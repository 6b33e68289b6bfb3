// FrameStageObserver: told by PostProcessChain::renderFrame as each stage of a
// frame has been issued, so that a timing tool can finish the GL work and read a
// clock there. The demo itself sets none. Stages may repeat within a frame (Clear).
#pragma once

enum class FrameStage {
    Clear,           // one clear of a target or of the window
    SceneCopy,       // the scene drawn into the glow's first target
    HorizontalBlur,  // the first target blurred along x into the second
    VerticalBlur,    // along y: onto the window (full size) or into the first target (half)
    WindowScene,     // the sharp scene drawn into the window
    Composite,       // half size only: the blurred target added onto the window
    Scale,           // a frame rendered apart from the window scaled onto it
    Flip,            // the window's buffers swapped
};

const int FRAME_STAGE_COUNT = 8;

class FrameStageObserver {
public:
    virtual ~FrameStageObserver() {}
    virtual void stageEnded(FrameStage stage) = 0;
};
