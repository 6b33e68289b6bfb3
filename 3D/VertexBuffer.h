// VertexBuffer: owns one OpenGL array buffer object for vertex data that stays on
// the driver's side between draws. The name is made on the first upload (so an
// owner may be built before any GL context exists) and deleted with the object;
// sizes and offsets are bytes.
#pragma once

#include <GL/glew.h>

#include <cstddef>

class VertexBuffer {
public:
    VertexBuffer() = default;
    // Deletes the name if one was made; needs the context that made it.
    ~VertexBuffer();

    VertexBuffer(const VertexBuffer&) = delete;
    VertexBuffer& operator=(const VertexBuffer&) = delete;

    // True once upload has given the buffer storage.
    bool hasStorage() const { return m_id != 0; }
    // Gives the buffer `bytes` bytes of storage filled from data (GL_DYNAMIC_DRAW:
    // parts may be replaced later). GL state: leaves array buffer 0 bound.
    // Throws GLErrorException.
    void upload(const void* data, size_t bytes);
    // Replaces bytes [offset, offset + bytes) of the storage, which must hold them.
    // GL state: leaves array buffer 0 bound. Throws GLErrorException.
    void replace(size_t offset, const void* data, size_t bytes);
    // GL state: binds this buffer to GL_ARRAY_BUFFER; vertex pointers set while it
    // is bound are byte offsets into it. unbind() binds 0 again.
    void bind() const;
    static void unbind();

private:
    GLuint m_id = 0;
};
