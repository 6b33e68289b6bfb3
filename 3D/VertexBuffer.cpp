// VertexBuffer: GL array buffer owner. Depends on GLEW (buffer object entry points) and checkGLError.
#include "3D/VertexBuffer.h"

#include "Zembra/GLError.h"

VertexBuffer::~VertexBuffer()
{
    if (m_id != 0)
        glDeleteBuffers(1, &m_id);
}

void VertexBuffer::upload(const void* data, size_t bytes)
{
    if (m_id == 0) {
        glGenBuffers(1, &m_id);
        checkGLError("glGenBuffers");
    }
    glBindBuffer(GL_ARRAY_BUFFER, m_id);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    checkGLError("glBufferData");
}

void VertexBuffer::replace(size_t offset, const void* data, size_t bytes)
{
    glBindBuffer(GL_ARRAY_BUFFER, m_id);
    glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes),
                    data);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    checkGLError("glBufferSubData");
}

void VertexBuffer::bind() const
{
    glBindBuffer(GL_ARRAY_BUFFER, m_id);
}

void VertexBuffer::unbind()
{
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}
