// RenderBuffer: owns one OpenGL render buffer object (non-zero name from
// construction to destruction). Storage sizes are pixels; the object is bound
// only inside its own operations unless bind() is called.
#pragma once

#include <GL/glew.h>

class RenderBuffer {
public:
    // Logs "New RenderBuffer id: <n>" then "RenderBuffer created".
    // Throws RenderBufferException ("RenderBuffer id is 0") or GLErrorException.
    RenderBuffer();
    // Deletes the name and logs "deleted created".
    ~RenderBuffer();

    RenderBuffer(const RenderBuffer&) = delete;
    RenderBuffer& operator=(const RenderBuffer&) = delete;

    // GL state: binds this render buffer to target.
    void bind(GLenum target) const;
    // GL state: binds render buffer 0 to target; no error check.
    static void unbind(GLenum target);
    // Gives the buffer storage; leaves render buffer 0 bound to target.
    void setStorage(GLenum target, GLenum internalFormat, int width, int height);
    GLuint getId() const;

private:
    GLuint m_id;
};
