// Texture: owns one GL_TEXTURE_2D object (level 0 only, RGBA bytes, linear
// minification) used as a render target or as a solid-colour image. Sizes are
// texels, colours 0-1. A constructed Texture always holds a valid name.
#pragma once

#include <GL/glew.h>

class Texture {
public:
    // Programming error: a texture needs a size. Fails the assertion "false".
    Texture();
    // Uninitialised GL_RGBA8 render target of width x height texels.
    // Throws GLErrorException (a driver rejection surfaces at the unbind check).
    Texture(int width, int height);
    // width x height texels, every one set to colour (red, green, blue, alpha).
    // Each byte is component x 255 truncated; components outside 0-1 are clamped.
    Texture(unsigned int width, unsigned int height, const float (&colour)[4]);
    // Deletes the name; no error check, no log.
    ~Texture();

    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // GL state: binds this texture to GL_TEXTURE_2D on the active unit until unbind().
    void bind() const;
    // GL state: binds texture 0 to GL_TEXTURE_2D on the active unit.
    static void unbind();
    GLuint getId() const;

    // The byte that a colour component becomes in the solid-colour texture.
    static unsigned char componentToByte(float component);

private:
    void generate();
    void setFilter();
    // Deletes the name after a failed construction, which leaves no texture bound.
    void release() noexcept;

    GLuint m_id;  // 0 only before generate()
};
