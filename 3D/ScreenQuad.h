// drawScreenQuad: draws one texture stretched over the whole window as a single
// quad, through whatever shader program is current. Texture coordinate (s, t)
// equals the quad position (x, y) in the unit square; texel row 0 lands at the bottom.
#pragma once

class Texture;
class Window;

// GL state: sets the viewport to the window's full size (and leaves it so);
// leaves GL_DEPTH_TEST enabled, GL_TEXTURE_2D disabled, no texture bound and
// GL_MODELVIEW current; the projection and modelview matrices are restored.
// The current colour and program apply. Throws GLErrorException from the
// texture bind checks (a throw leaves both matrices pushed).
void drawScreenQuad(const Texture& texture, const Window& window);
// The same over a viewport of width x height pixels at the origin (a render target
// smaller than the window); the viewport is left so.
void drawScreenQuad(const Texture& texture, int width, int height);
// The same over the viewport at (x, y), of width x height pixels (a frame placed
// on a larger window); the viewport is left so.
void drawScreenQuad(const Texture& texture, int x, int y, int width, int height);
