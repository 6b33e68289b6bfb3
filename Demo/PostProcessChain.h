// PostProcessChain: draws each frame twice through the pulse program (into a
// texture and into the window), blurs the texture copy horizontally then
// vertically and adds it onto the window, which gives the picture its glow.
// Owns the two render targets and the one frame buffer; the three programs belong
// to the caller and are passed to each frame. The frame is rendered at a fixed
// render size (pixels) and, where the window's size differs, scaled onto it with
// its shape kept; the glow at the render size or at half of it (GlowSize). Target
// sizes are fixed at construction.
#pragma once

#include <memory>

#include "3D/DrawContext.h"
#include "Demo/FrameStageObserver.h"
#include "Demo/GlowSize.h"

class FrameBuffer;
class RenderBuffer;
class SceneManager;
class Shader;
class Texture;
class Window;
class WideLines;

class PostProcessChain {
public:
    // Spread of the glow: the standard deviation of each blur as a share of the
    // picture's height (5 pixels at 480 lines), so that every size looks alike.
    static constexpr float GLOW_SPREAD = 5.0f / 480.0f;

    // Needs a current GL context. Logs "Frame buffer preparation (R2T)" between
    // the targets and the frame buffer; a frame buffer that does not validate
    // is logged and the run goes on.
    // Renders at the window's size as it is now.
    PostProcessChain(Window& window, GlowSize size);
    // Renders at renderWidth x renderHeight pixels (each 1 or more) whatever the
    // window's size. When the two differ, or the window can be resized, it also
    // owns a render-sized frame target with a depth buffer and a second frame
    // buffer: passes 3 and 4 then draw there while the sizes differ, and a last
    // pass scales the frame onto the window with bilinear filtering, centred
    // between black bars (placeFrame). A resize needs no new target.
    PostProcessChain(Window& window, int renderWidth, int renderHeight, GlowSize size);
    ~PostProcessChain();

    PostProcessChain(const PostProcessChain&) = delete;
    PostProcessChain& operator=(const PostProcessChain&) = delete;

    // Renders one frame of the current scene and flips the window (render, then flip).
    void renderFrame(SceneManager& scenes, const Shader& pulse, const Shader& horizontalBlur,
                     const Shader& verticalBlur);
    // Flips the window: shows what render left in the back buffer.
    void present();
    // Renders one frame of the current scene into the window's back buffer, without
    // flipping: a caller may read the finished picture back before presenting it.
    // GL state left, at either size, scaled or not: no frame buffer, no program,
    // depth test on, blending off, texturing off, texture environment GL_MODULATE,
    // viewport the full window, projection 45 deg / aspect 1, clear colour (0, 0, 0, 1).
    // The scenes draw the copy with a stroke scale of 1/2 at half size, the window with
    // 1. Throws GLErrorException when an error is pending at one of its checks.
    // pulse: the scene program ("amplif", "fade"); the blurs: screen-quad
    // programs, given "blurOffset" (the spread in target texels).
    void render(SceneManager& scenes, const Shader& pulse, const Shader& horizontalBlur,
                const Shader& verticalBlur);

    // Told of each stage of the following frames; null (the default) for none.
    void setStageObserver(FrameStageObserver* observer) { m_observer = observer; }

    GlowSize glowSize() const { return m_size; }
    int renderWidth() const { return m_renderWidth; }
    int renderHeight() const { return m_renderHeight; }
    // True when the next frame is scaled onto the window (the sizes differ now).
    bool scalesToWindow() const;
    Texture& firstTarget();   // the scene copy; at half size, also the blurred glow
    Texture& secondTarget();  // the horizontally blurred copy

private:
    static void drawScene(SceneManager& scenes, const Shader& pulse, const DrawContext& context);
    // What the scenes draw with at strokeScale: lines wider than the GL's own go
    // through m_wideLines.
    DrawContext sceneContext(float strokeScale) const;
    // Makes the blur program current and gives "blurOffset" the glow's spread in
    // texels of targets targetHeight texels high.
    static void useBlur(const Shader& blur, int targetHeight);
    // Points the frame buffer at target and binds it.
    void bindTarget(const Texture& target);
    void stageEnded(FrameStage stage) const;
    // The last pass: the frame target onto the whole window, letterboxed.
    void drawScaledFrame();

    Window& m_window;
    GlowSize m_size;
    int m_renderWidth;  // pixels: the scenes' viewport and the frame's size
    int m_renderHeight;
    int m_glowWidth;  // size of both targets, pixels
    int m_glowHeight;
    FrameStageObserver* m_observer = nullptr;
    float m_widestLine;                      // pixels: the GL's widest own line
    std::unique_ptr<WideLines> m_wideLines;  // the scenes' wider lines, as triangles
    // Declared so that destruction runs frame buffer, second target, first target.
    std::unique_ptr<Texture> m_first;
    std::unique_ptr<Texture> m_second;
    std::unique_ptr<FrameBuffer> m_frameBuffer;
    // Only where the frame may need scaling (else null): the render-sized frame,
    // its depth buffer and the frame buffer that holds both.
    std::unique_ptr<Texture> m_frame;
    std::unique_ptr<RenderBuffer> m_frameDepth;
    std::unique_ptr<FrameBuffer> m_frameBufferScaled;
};
