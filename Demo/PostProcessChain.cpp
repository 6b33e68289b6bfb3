// PostProcessChain: the passes of every frame, at full or half glow size. Depends on 3D resources and Scenes.
#include "Demo/PostProcessChain.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <iostream>

#include "3D/FrameBuffer.h"
#include "3D/DrawContext.h"
#include "3D/RenderBuffer.h"
#include "3D/ScreenQuad.h"
#include "3D/Shader.h"
#include "3D/TargetFormats.h"
#include "3D/Texture.h"
#include "3D/WideLines.h"
#include "Scenes/Scene.h"
#include "Scenes/SceneManager.h"
#include "Zembra/FramePlacement.h"
#include "Zembra/GLError.h"
#include "Zembra/Window.h"

namespace {

// Viewport on width x height pixels and the scenes' projection. Aspect 1.0 whatever
// the window: the picture is stretched to the viewport's shape, so a half-size
// copy shows exactly the window's view.
void setSceneView(int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 0.1, 120.0);
    glMatrixMode(GL_MODELVIEW);
}

// The widest line the GL draws itself, pixels. In the browser none: emscripten's GL
// emulation draws from client-side indices of 16 bits only, and the line lists'
// are 32 bits, so every line there is drawn as triangles (which WebGL's 1-pixel
// lines would need anyway).
float widestOwnLine()
{
#ifdef __EMSCRIPTEN__
    return 0.0f;
#else
    GLfloat range[2] = {1.0f, 1.0f};
    glGetFloatv(GL_ALIASED_LINE_WIDTH_RANGE, range);
    return range[1];
#endif
}

// Half a side, rounded up so that the glow covers the window's last column and row.
int halfOf(int side)
{
    return (side + 1) / 2;
}

}  // namespace

PostProcessChain::PostProcessChain(Window& window, GlowSize size)
    : PostProcessChain(window, window.getWidth(), window.getHeight(), size)
{
}

PostProcessChain::PostProcessChain(Window& window, int renderWidth, int renderHeight, GlowSize size)
    : m_window(window), m_size(size), m_renderWidth(renderWidth), m_renderHeight(renderHeight),
      m_glowWidth(size == GlowSize::Half ? halfOf(renderWidth) : renderWidth),
      m_glowHeight(size == GlowSize::Half ? halfOf(renderHeight) : renderHeight),
      m_widestLine(widestOwnLine()), m_wideLines(std::make_unique<WideLines>())
{
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);  // the wireframes are seen from both sides

    m_first = std::make_unique<Texture>(m_glowWidth, m_glowHeight);
    m_second = std::make_unique<Texture>(m_glowWidth, m_glowHeight);
    if (m_size == GlowSize::Half) {
        // The composite stretches the first target over the window with bilinear
        // filtering: at the window's edges it must not blend in the opposite edge
        // (the default wrap is GL_REPEAT). The blurs clamp their own coordinates.
        m_first->bind();
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        Texture::unbind();
    }

    std::cout << "Frame buffer preparation (R2T)" << std::endl;
    m_frameBuffer = std::make_unique<FrameBuffer>();
    m_frameBuffer->attachTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, m_first->getId());
    m_frameBuffer->bind(GL_FRAMEBUFFER);
    m_frameBuffer->validate(GL_FRAMEBUFFER);
    m_frameBuffer->unbind(GL_FRAMEBUFFER);

    if (window.isResizable() || window.getWidth() != renderWidth ||
        window.getHeight() != renderHeight) {
        // Pass 3 tests depth as it does in the window, so the frame target gets a
        // depth buffer of its own. The scaling blits it with bilinear filtering,
        // which clamps at the edges by itself.
        m_frame = std::make_unique<Texture>(renderWidth, renderHeight);
        m_frameDepth = std::make_unique<RenderBuffer>();
        m_frameDepth->setStorage(GL_RENDERBUFFER, DEPTH_TARGET_FORMAT, renderWidth, renderHeight);
        m_frameBufferScaled = std::make_unique<FrameBuffer>();
        m_frameBufferScaled->attachTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, m_frame->getId());
        m_frameBufferScaled->attachRenderBuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, *m_frameDepth);
        m_frameBufferScaled->bind(GL_FRAMEBUFFER);
        m_frameBufferScaled->validate(GL_FRAMEBUFFER);
        FrameBuffer::unbind(GL_FRAMEBUFFER);
    }
}

PostProcessChain::~PostProcessChain()
{
    m_frameBufferScaled.reset();
    m_frameDepth.reset();
    m_frame.reset();
    m_frameBuffer.reset();
    m_second.reset();
    m_first.reset();
}

Texture& PostProcessChain::firstTarget()
{
    return *m_first;
}

Texture& PostProcessChain::secondTarget()
{
    return *m_second;
}

void PostProcessChain::drawScene(SceneManager& scenes, const Shader& pulse,
                                 const DrawContext& context)
{
    pulse.use();
    // Looked up every frame, not cached: a program is free to move its uniforms.
    const GLint amplif = glGetUniformLocation(pulse.getProgramId(), "amplif");
    checkGLError("glGetUniformLocation 'amplif'");
    glUniform1f(amplif, scenes.currentScene().getAmplification());
    const GLint fade = glGetUniformLocation(pulse.getProgramId(), "fade");
    checkGLError("glGetUniformLocation 'fade'");
    glUniform1f(fade, scenes.currentScene().getFade());
    scenes.draw(context);
    Shader::unuse();
}

DrawContext PostProcessChain::sceneContext(float strokeScale) const
{
    DrawContext context;
    context.strokeScale = strokeScale;
    context.wideLines = m_wideLines.get();
    context.widestLine = m_widestLine;
    return context;
}

void PostProcessChain::useBlur(const Shader& blur, int targetHeight)
{
    blur.use();
    const GLint offset = glGetUniformLocation(blur.getProgramId(), "blurOffset");
    checkGLError("glGetUniformLocation 'blurOffset'");
    // A half-size target has half the texels: the same share, the same picture.
    glUniform1f(offset, GLOW_SPREAD * static_cast<float>(targetHeight));
}

void PostProcessChain::bindTarget(const Texture& target)
{
    m_frameBuffer->attachTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, target.getId());
    m_frameBuffer->bind(GL_FRAMEBUFFER);
}

bool PostProcessChain::scalesToWindow() const
{
    return m_frame != nullptr &&
           (m_window.getWidth() != m_renderWidth || m_window.getHeight() != m_renderHeight);
}

void PostProcessChain::drawScaledFrame()
{
    const int width = m_window.getWidth();
    const int height = m_window.getHeight();
    const PixelRect place = placeFrame(m_renderWidth, m_renderHeight, width, height);
    // Only the bars need clearing, and only the colour: nothing here tests depth.
    // On a software renderer a whole-screen clear under a frame that covers the
    // screen cost a millisecond of CPU a frame at 1920 x 1080.
    if (place.width != width || place.height != height) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    if (place.width > 0) {
#ifdef __EMSCRIPTEN__
        // WebGL 1 has no blit: a bilinear textured quad, with no program and no
        // blending; the fixed-function texturing replaces the fragment by the texel.
        glViewport(0, 0, width, height);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        drawScreenQuad(*m_frame, place.x, place.y, place.width, place.height);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
#else
        // A bilinear blit gives the same pixels as a bilinear textured quad (each
        // window pixel's centre mapped into the frame, edges clamped), but Mesa's
        // software driver runs it about 3 ms of CPU a frame faster at 1920 x 1080.
        // It ignores the viewport, texturing, blending and depth test.
        m_frameBufferScaled->bind(GL_READ_FRAMEBUFFER);
        glBlitFramebuffer(0, 0, m_renderWidth, m_renderHeight, place.x, place.y,
                          place.x + place.width, place.y + place.height, GL_COLOR_BUFFER_BIT,
                          GL_LINEAR);
        FrameBuffer::unbind(GL_READ_FRAMEBUFFER);
#endif
    }
    glViewport(0, 0, width, height);
}

void PostProcessChain::stageEnded(FrameStage stage) const
{
    if (m_observer != nullptr)
        m_observer->stageEnded(stage);
}

void PostProcessChain::renderFrame(SceneManager& scenes, const Shader& pulse,
                                   const Shader& horizontalBlur, const Shader& verticalBlur)
{
    render(scenes, pulse, horizontalBlur, verticalBlur);
    present();
}

void PostProcessChain::present()
{
    m_window.flip();
    stageEnded(FrameStage::Flip);
}

void PostProcessChain::render(SceneManager& scenes, const Shader& pulse,
                              const Shader& horizontalBlur, const Shader& verticalBlur)
{
    const bool half = m_size == GlowSize::Half;
    const bool scaled = scalesToWindow();
    const int width = m_renderWidth;
    const int height = m_renderHeight;
    const int glowWidth = m_glowWidth;
    const int glowHeight = m_glowHeight;

    // Pass 1: the scene into the first target. At half size the lines are drawn
    // half as wide, so that they cover the same share of the picture.
    bindTarget(*m_first);
    setSceneView(glowWidth, glowHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    m_window.clear();
    stageEnded(FrameStage::Clear);
    drawScene(scenes, pulse, sceneContext(half ? 0.5f : 1.0f));
    m_frameBuffer->unbind(GL_FRAMEBUFFER);
    stageEnded(FrameStage::SceneCopy);

    // Pass 2: horizontal blur of the first target into the second.
    bindTarget(*m_second);
    glClearColor(0.0f, 0.0f, 0.25f, 1.0f);
    m_window.clear();
    stageEnded(FrameStage::Clear);
    useBlur(horizontalBlur, glowHeight);
    drawScreenQuad(*m_first, glowWidth, glowHeight);
    Shader::unuse();
    checkGLError("Draw");
    m_frameBuffer->unbind(GL_FRAMEBUFFER);
    stageEnded(FrameStage::HorizontalBlur);

    if (half) {
        // The vertical blur back into the first target, whose copy of the scene is
        // no longer needed. The quad covers every texel: no clear, no blending, so
        // the target holds the blur's colour and its alpha (the glow's weight).
        bindTarget(*m_first);
        useBlur(verticalBlur, glowHeight);
        drawScreenQuad(*m_second, glowWidth, glowHeight);
        Shader::unuse();
        m_frameBuffer->unbind(GL_FRAMEBUFFER);
        stageEnded(FrameStage::VerticalBlur);
        glViewport(0, 0, width, height);  // pass 3 keeps pass 1's projection
    }

    // Pass 3: the sharp scene into the window, with the full window's viewport, or
    // into the frame target when the frame is scaled.
    if (scaled) {
        m_frameBufferScaled->bind(GL_FRAMEBUFFER);
        glViewport(0, 0, width, height);
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    m_window.clear();
    stageEnded(FrameStage::Clear);
    drawScene(scenes, pulse, sceneContext(1.0f));
    stageEnded(FrameStage::WindowScene);

    // Pass 4: the glow added onto the window, weighted by how far each window pixel
    // is from white, channel by channel (a "screen" of the glow over the sharp
    // picture): it never adds past white, and the weight is the window pixel's own
    // at either glow size, so a half-size glow stretched over it weighs alike.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE);
    if (half) {
        // No program: the fixed-function texturing replaces the fragment by the
        // bilinear texel, the glow as the vertical blur wrote it.
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        drawScreenQuad(*m_first, width, height);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        stageEnded(FrameStage::Composite);
    } else {
        useBlur(verticalBlur, glowHeight);
        drawScreenQuad(*m_second, width, height);
        Shader::unuse();
        stageEnded(FrameStage::VerticalBlur);
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);

    if (scaled) {
        FrameBuffer::unbind(GL_FRAMEBUFFER);
        drawScaledFrame();
        stageEnded(FrameStage::Scale);
    }
}
