// checkGLError: turns a pending OpenGL error into a GLErrorException.
// Reads exactly one code per call; further queued codes stay queued.
// Needs a current GL context with GLEW initialised.
#pragma once

#include <GL/glew.h>

#include "Zembra/Exceptions/GLErrorException.h"

// name: the OpenGL call (or step) that this check follows, quoted in the message.
// Takes a C string so that the checks inside the frame loop allocate nothing.
inline void checkGLError(const char* name)
{
    const GLenum code = glGetError();
    if (code != GL_NO_ERROR)
        throw GLErrorException(code, name);
}
