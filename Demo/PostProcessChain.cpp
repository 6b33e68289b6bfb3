// PostProcessChain: the four passes of every frame. Depends on 3D resources and Scenes.
#include "Demo/PostProcessChain.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <iostream>

#include "3D/FrameBuffer.h"
#include "3D/ScreenQuad.h"
#include "3D/Shader.h"
#include "3D/Texture.h"
#include "Scenes/Scene.h"
#include "Scenes/SceneManager.h"
#include "Zembra/GLError.h"
#include "Zembra/Window.h"

PostProcessChain::PostProcessChain(Window& window)
    : m_window(window)
{
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);  // the wireframes are seen from both sides

    m_first = std::make_unique<Texture>(m_window.getWidth(), m_window.getHeight());
    m_second = std::make_unique<Texture>(m_window.getWidth(), m_window.getHeight());

    std::cout << "Frame buffer preparation (R2T)" << std::endl;
    m_frameBuffer = std::make_unique<FrameBuffer>();
    m_frameBuffer->attachTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, m_first->getId());
    m_frameBuffer->bind(GL_FRAMEBUFFER);
    m_frameBuffer->validate(GL_FRAMEBUFFER);
    m_frameBuffer->unbind(GL_FRAMEBUFFER);
}

PostProcessChain::~PostProcessChain()
{
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

void PostProcessChain::drawScene(SceneManager& scenes, const Shader& pulse)
{
    pulse.use();
    // Looked up every frame, not cached: a program is free to move its uniforms.
    const GLint amplif = glGetUniformLocation(pulse.getProgramId(), "amplif");
    checkGLError("glGetUniformLocation 'amplif'");
    glUniform1f(amplif, scenes.currentScene().getAmplification());
    const GLint fade = glGetUniformLocation(pulse.getProgramId(), "fade");
    checkGLError("glGetUniformLocation 'fade'");
    glUniform1f(fade, scenes.currentScene().getFade());
    scenes.draw();
    Shader::unuse();
}

void PostProcessChain::useBlur(const Shader& blur)
{
    blur.use();
    glGetUniformLocation(blur.getProgramId(), "blurOffset");
    checkGLError("glGetUniformLocation 'blurOffset'");
}

void PostProcessChain::renderFrame(SceneManager& scenes, const Shader& pulse,
                                   const Shader& horizontalBlur, const Shader& verticalBlur)
{
    render(scenes, pulse, horizontalBlur, verticalBlur);
    m_window.flip();
}

void PostProcessChain::render(SceneManager& scenes, const Shader& pulse,
                              const Shader& horizontalBlur, const Shader& verticalBlur)
{
    const int width = m_window.getWidth();
    const int height = m_window.getHeight();

    // Pass 1: the scene into the first target.
    m_frameBuffer->attachTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, m_first->getId());
    m_frameBuffer->bind(GL_FRAMEBUFFER);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Aspect 1.0 whatever the window: the picture is stretched to the window's shape.
    gluPerspective(45.0, 1.0, 0.1, 120.0);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    m_window.clear();
    drawScene(scenes, pulse);
    m_frameBuffer->unbind(GL_FRAMEBUFFER);

    // Pass 2: horizontal blur of the first target into the second.
    m_frameBuffer->attachTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, m_second->getId());
    m_frameBuffer->bind(GL_FRAMEBUFFER);
    glClearColor(0.0f, 0.0f, 0.25f, 1.0f);
    m_window.clear();
    useBlur(horizontalBlur);
    drawScreenQuad(*m_first, m_window);
    Shader::unuse();
    checkGLError("Draw");
    m_frameBuffer->unbind(GL_FRAMEBUFFER);

    // Pass 3: the sharp scene into the window, same projection and viewport.
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    m_window.clear();
    drawScene(scenes, pulse);

    // Pass 4: vertical blur of the second target, added with the blur's alpha as weight.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    useBlur(verticalBlur);
    drawScreenQuad(*m_second, m_window);
    Shader::unuse();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
