// FrameBuffer: owns one OpenGL frame buffer object (non-zero name from
// construction to destruction). Attachments can be replaced any number of times;
// every operation but bind() leaves frame buffer 0 bound to the target it used.
#pragma once

#include <GL/glew.h>

class RenderBuffer;

class FrameBuffer {
public:
    // Logs "New FrameBuffer id: <n>" then "FrameBuffer created".
    // Throws FrameBufferException ("FrameBuffer id is 0") or GLErrorException.
    FrameBuffer();
    // Deletes the name and logs "FrameBuffer '<n>' deleted".
    ~FrameBuffer();

    FrameBuffer(const FrameBuffer&) = delete;
    FrameBuffer& operator=(const FrameBuffer&) = delete;

    // GL state: binds this frame buffer to target.
    void bind(GLenum target) const;
    // GL state: binds frame buffer 0 (the window) to target.
    static void unbind(GLenum target);
    // Attaches level 0 of the 2D texture named texture; leaves 0 bound to target.
    void attachTexture(GLenum target, GLenum attachment, GLuint texture);
    // Attaches the render buffer; leaves 0 bound to target.
    void attachRenderBuffer(GLenum target, GLenum attachment, const RenderBuffer& renderBuffer);
    // Writes "Fail to validate the FBO" on standard error when the frame buffer
    // bound to target is incomplete; the caller binds it first. Never throws.
    void validate(GLenum target) const;

private:
    GLuint m_id;
};
