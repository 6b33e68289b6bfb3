// AdditiveBlend: scoped additive blending without depth test. Depends on OpenGL 1.1.
#include "Effects/AdditiveBlend.h"

#include <GL/glew.h>

AdditiveBlend::AdditiveBlend()
{
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

AdditiveBlend::~AdditiveBlend()
{
    // Not the state found on entry: the frame's convention is blending off, depth on.
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
