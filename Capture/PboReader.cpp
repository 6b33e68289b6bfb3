// PboReader: glReadPixels into a bound pixel pack buffer returns at once; the
// driver copies in the background. Mapping a buffer COUNT - 1 frames later finds
// the copy done, so the render loop never waits for the read-back.
#include "Capture/PboReader.h"

#include "Zembra/GLError.h"

PboReader::PboReader(int width, int height, Consumer consumer)
    : m_width(width), m_height(height), m_consumer(std::move(consumer)), m_buffers(), m_indices(),
      m_next(0), m_held(0)
{
    glGenBuffers(COUNT, m_buffers);
    checkGLError("glGenBuffers");
    const GLsizeiptr size = static_cast<GLsizeiptr>(width) * height * 4;
    for (GLuint buffer : m_buffers) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
        glBufferData(GL_PIXEL_PACK_BUFFER, size, nullptr, GL_STREAM_READ);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    try {
        checkGLError("glBufferData");
    } catch (...) {
        glDeleteBuffers(COUNT, m_buffers);
        throw;
    }
}

PboReader::~PboReader()
{
    glDeleteBuffers(COUNT, m_buffers);
}

void PboReader::read(uint64_t index)
{
    if (m_held == COUNT) {
        deliver(m_next);  // the oldest frame sits in the buffer about to be reused
        --m_held;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_BACK);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, m_buffers[m_next]);
    glReadPixels(0, 0, m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    checkGLError("glReadPixels");
    m_indices[m_next] = index;
    m_next = (m_next + 1) % COUNT;
    ++m_held;
}

void PboReader::flush()
{
    while (m_held > 0) {
        deliver((m_next + COUNT - m_held) % COUNT);
        --m_held;
    }
}

void PboReader::deliver(int slot)
{
    glBindBuffer(GL_PIXEL_PACK_BUFFER, m_buffers[slot]);
    const void* pixels = glMapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY);
    if (!pixels) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
        checkGLError("glMapBuffer");
        throw GLErrorException(GL_OUT_OF_MEMORY, "glMapBuffer");
    }
    try {
        m_consumer(m_indices[slot], static_cast<const uint8_t*>(pixels));
    } catch (...) {
        glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
        throw;
    }
    glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    checkGLError("glUnmapBuffer");
}
