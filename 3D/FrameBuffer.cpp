// FrameBuffer: GL frame buffer owner. Depends on GLEW (framebuffer object entry points), RenderBuffer and checkGLError.
#include "3D/FrameBuffer.h"

#include <iostream>

#include "3D/RenderBuffer.h"
#include "Zembra/Exceptions/FrameBufferException.h"
#include "Zembra/GLError.h"

FrameBuffer::FrameBuffer() : m_id(0)
{
    glGenFramebuffers(1, &m_id);
    std::cout << "New FrameBuffer id: " << m_id << std::endl;
    if (m_id == 0)
        throw FrameBufferException("FrameBuffer id is 0");
    try {
        checkGLError("glGenFrameBuffers");
    } catch (...) {
        glDeleteFramebuffers(1, &m_id);
        throw;
    }
    std::cout << "FrameBuffer created" << std::endl;
}

FrameBuffer::~FrameBuffer()
{
    glDeleteFramebuffers(1, &m_id);
    std::cout << "FrameBuffer '" << m_id << "' deleted" << std::endl;
}

void FrameBuffer::bind(GLenum target) const
{
    glBindFramebuffer(target, m_id);
    checkGLError("glBindFrameBuffer");
}

void FrameBuffer::unbind(GLenum target)
{
    glBindFramebuffer(target, 0);
    checkGLError("glBindFrameBuffer (unbind)");
}

void FrameBuffer::attachTexture(GLenum target, GLenum attachment, GLuint texture)
{
    bind(target);
    glFramebufferTexture2D(target, attachment, GL_TEXTURE_2D, texture, 0);
    checkGLError("glFramebufferTexture2D");
    unbind(target);
}

void FrameBuffer::attachRenderBuffer(GLenum target, GLenum attachment,
                                     const RenderBuffer& renderBuffer)
{
    bind(target);
    glFramebufferRenderbuffer(target, attachment, GL_RENDERBUFFER, renderBuffer.getId());
    checkGLError("glFramebufferRenderbuffer");
    unbind(target);
}

void FrameBuffer::validate(GLenum target) const
{
    if (glCheckFramebufferStatus(target) != GL_FRAMEBUFFER_COMPLETE)
        std::cerr << "Fail to validate the FBO" << std::endl;
}
