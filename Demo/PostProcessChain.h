// PostProcessChain: draws each frame twice through the pulse program (into a
// texture and into the window), blurs the texture copy horizontally then
// vertically and adds it onto the window, which gives the picture its glow.
// Owns the two window-sized render targets and the one frame buffer; the three
// programs belong to the caller and are passed to each frame. Target size is
// fixed at construction (pixels).
#pragma once

#include <memory>

class FrameBuffer;
class SceneManager;
class Shader;
class Texture;
class Window;

class PostProcessChain {
public:
    // Needs a current GL context. Logs "Frame buffer preparation (R2T)" between
    // the targets and the frame buffer; a frame buffer that does not validate
    // is logged and the run goes on.
    explicit PostProcessChain(Window& window);
    ~PostProcessChain();

    PostProcessChain(const PostProcessChain&) = delete;
    PostProcessChain& operator=(const PostProcessChain&) = delete;

    // Renders one frame of the current scene and flips the window (render, then flip).
    void renderFrame(SceneManager& scenes, const Shader& pulse, const Shader& horizontalBlur,
                     const Shader& verticalBlur);
    // Renders one frame of the current scene into the window's back buffer, without
    // flipping: a caller may read the finished picture back before presenting it.
    // GL state left: no frame buffer, no program, depth test on, blending off,
    // texturing off, viewport the full window, projection 45 deg / aspect 1.
    // Throws GLErrorException when an error is pending at one of its checks.
    // pulse: the scene program ("amplif", "fade"); the blurs: screen-quad programs.
    void render(SceneManager& scenes, const Shader& pulse, const Shader& horizontalBlur,
                const Shader& verticalBlur);

    Texture& firstTarget();   // the sharp off-screen copy of the scene
    Texture& secondTarget();  // the horizontally blurred copy

private:
    static void drawScene(SceneManager& scenes, const Shader& pulse);
    // Makes the blur program current and looks up "blurOffset" (its shader
    // gives the uniform a default, so no value is set here).
    static void useBlur(const Shader& blur);

    Window& m_window;
    // Declared so that destruction runs frame buffer, second target, first target.
    std::unique_ptr<Texture> m_first;
    std::unique_ptr<Texture> m_second;
    std::unique_ptr<FrameBuffer> m_frameBuffer;
};
