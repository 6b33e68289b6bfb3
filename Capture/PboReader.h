// PboReader: reads finished frames back from the window without waiting for them.
// Owns COUNT pixel buffer objects used in rotation: each frame is copied into the
// next buffer (RGBA bytes, rows bottom-up, width * 4 bytes a row) and handed to the
// consumer only COUNT - 1 frames later, when the copy has long finished.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <functional>

class PboReader {
public:
    static constexpr int COUNT = 3;
    // Called with the frame's index (as given to read) and its pixels, valid only
    // during the call.
    using Consumer = std::function<void(uint64_t index, const uint8_t* rgba)>;

    // Needs a current GL context. Throws GLErrorException.
    PboReader(int width, int height, Consumer consumer);
    ~PboReader();

    PboReader(const PboReader&) = delete;
    PboReader& operator=(const PboReader&) = delete;

    // Starts the copy of the back buffer's lower-left width x height pixels and
    // hands over the oldest frame when every buffer is in use.
    // GL state: pack alignment 4, read buffer GL_BACK; no pixel pack buffer bound after.
    void read(uint64_t index);
    // Hands over every frame still held, oldest first.
    void flush();

private:
    // Maps buffer `slot`, calls the consumer, unmaps. Throws GLErrorException.
    void deliver(int slot);

    int m_width;
    int m_height;
    Consumer m_consumer;
    GLuint m_buffers[COUNT];
    uint64_t m_indices[COUNT];  // frame held by each buffer
    int m_next;                 // buffer the next read fills
    int m_held;                 // frames read and not yet delivered
};
