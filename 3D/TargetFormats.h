// TargetFormats: the internal formats of the render targets (colour texture, depth
// render buffer) on this platform. Plain constants; WebGL 1 takes only unsized
// colour formats (equal to the pixel format) and 16-bit depth.
#pragma once

#include <GL/glew.h>

#ifdef __EMSCRIPTEN__
constexpr GLint COLOUR_TARGET_FORMAT = GL_RGBA;  // 8 bits per channel there too
constexpr GLenum DEPTH_TARGET_FORMAT = GL_DEPTH_COMPONENT16;
#else
constexpr GLint COLOUR_TARGET_FORMAT = GL_RGBA8;
constexpr GLenum DEPTH_TARGET_FORMAT = GL_DEPTH_COMPONENT24;
#endif
