// Texture: GL 2D texture owner (render targets, solid colours). Depends on GLEW and checkGLError.
#include "3D/Texture.h"

#include <cassert>
#include <cstddef>
#include <iostream>
#include <vector>

#include "3D/TargetFormats.h"
#include "Zembra/GLError.h"

Texture::Texture() : m_id(0)
{
    assert(false);
}

Texture::Texture(int width, int height) : m_id(0)
{
    try {
        generate();
        bind();
        setFilter();
#ifdef __EMSCRIPTEN__
        // WebGL 1 samples a texture whose sides are not powers of two only with its
        // edges clamped (otherwise as black); the chain's shaders clamp their
        // coordinates themselves, so the desktop's default repeat changes nothing.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
#endif
        glTexImage2D(GL_TEXTURE_2D, 0, COLOUR_TARGET_FORMAT, width, height, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
        unbind();
        checkGLError("Texture creation");
    } catch (...) {
        release();
        throw;
    }
}

Texture::Texture(unsigned int width, unsigned int height, const float (&colour)[4]) : m_id(0)
{
    try {
        generate();
        bind();
        // size_t arithmetic: width x height x 4 must not wrap in 32 bits.
        const std::size_t pixelCount = static_cast<std::size_t>(width) * height;
        std::vector<unsigned char> pixels(pixelCount * 4);
        const unsigned char bytes[4] = {componentToByte(colour[0]), componentToByte(colour[1]),
                                        componentToByte(colour[2]), componentToByte(colour[3])};
        for (std::size_t i = 0; i < pixelCount; ++i)
            for (std::size_t c = 0; c < 4; ++c)
                pixels[i * 4 + c] = bytes[c];
        setFilter();
        glTexImage2D(GL_TEXTURE_2D, 0, 4, static_cast<GLsizei>(width), static_cast<GLsizei>(height),
                     0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.empty() ? nullptr : pixels.data());
        checkGLError("glTexImage2D");
        unbind();
    } catch (...) {
        release();
        throw;
    }
}

Texture::~Texture()
{
    glDeleteTextures(1, &m_id);
}

unsigned char Texture::componentToByte(float component)
{
    // Converting a float outside 0-255 to a byte is undefined, so clamp first
    // (the negated test also sends NaN to 0). Inside the range: truncation.
    if (!(component > 0.0f))
        return 0;
    if (component >= 1.0f)
        return 255;
    return static_cast<unsigned char>(component * 255.0f);
}

void Texture::bind() const
{
    glBindTexture(GL_TEXTURE_2D, m_id);
    checkGLError("glBindTexture");
}

void Texture::unbind()
{
    glBindTexture(GL_TEXTURE_2D, 0);
    checkGLError("glBindTexture (unbind)");
}

GLuint Texture::getId() const
{
    return m_id;
}

void Texture::generate()
{
    glGenTextures(1, &m_id);
    checkGLError("glGenTextures");
    std::cout << "GL Texture ID created: " << m_id << std::endl;
}

void Texture::setFilter()
{
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, 9729.0f);  // GL_LINEAR as a float
    checkGLError("glTexParameterf");
}

void Texture::release() noexcept
{
    // Deleting a bound texture also rebinds 0 on that unit.
    if (m_id != 0)
        glDeleteTextures(1, &m_id);
    m_id = 0;
}
