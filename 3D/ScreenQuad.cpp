// drawScreenQuad: full-window textured quad for the post-processing passes. Depends on GL, GLU, Texture and Window.
#include "3D/ScreenQuad.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include "3D/Texture.h"
#include "Zembra/Window.h"

void drawScreenQuad(const Texture& texture, const Window& window)
{
    // Read every call: the window may have been resized since the last quad.
    drawScreenQuad(texture, window.getWidth(), window.getHeight());
}

void drawScreenQuad(const Texture& texture, int width, int height)
{
    drawScreenQuad(texture, 0, 0, width, height);
}

void drawScreenQuad(const Texture& texture, int x, int y, int width, int height)
{
    glViewport(x, y, width, height);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    texture.bind();

    glBegin(GL_QUADS);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(0, 1);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(1, 0);
    glEnd();

    Texture::unbind();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
