// RenderBuffer: GL render buffer owner. Depends on GLEW (framebuffer object entry points) and checkGLError.
#include "3D/RenderBuffer.h"

#include <iostream>

#include "Zembra/Exceptions/RenderBufferException.h"
#include "Zembra/GLError.h"

RenderBuffer::RenderBuffer() : m_id(0)
{
    glGenRenderbuffers(1, &m_id);
    std::cout << "New RenderBuffer id: " << m_id << std::endl;
    if (m_id == 0)
        throw RenderBufferException("RenderBuffer id is 0");
    try {
        checkGLError("glGenRenderbuffers");
    } catch (...) {
        glDeleteRenderbuffers(1, &m_id);
        throw;
    }
    std::cout << "RenderBuffer created" << std::endl;
}

RenderBuffer::~RenderBuffer()
{
#ifdef __EMSCRIPTEN__
    glDeleteRenderbuffers(1, &m_id);  // WebGL has the core name only
#else
    // The extension-era entry point is the usual one; drivers that only offer the
    // core names leave it null, and calling a null pointer would crash at exit.
    if (glDeleteRenderbuffersEXT != nullptr)
        glDeleteRenderbuffersEXT(1, &m_id);
    else
        glDeleteRenderbuffers(1, &m_id);
#endif
    std::cout << "deleted created" << std::endl;
}

void RenderBuffer::bind(GLenum target) const
{
    glBindRenderbuffer(target, m_id);
    checkGLError("glBindRenderbuffer");
}

void RenderBuffer::unbind(GLenum target)
{
    glBindRenderbuffer(target, 0);
}

void RenderBuffer::setStorage(GLenum target, GLenum internalFormat, int width, int height)
{
    glBindRenderbuffer(target, m_id);
    glRenderbufferStorage(target, internalFormat, width, height);
    checkGLError("glRenderbufferStorage");
    glBindRenderbuffer(target, 0);
}

GLuint RenderBuffer::getId() const
{
    return m_id;
}
