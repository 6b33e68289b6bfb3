// GLWindow: OpenGL window on SDL 1.2.
#include "Zembra/GLWindow.h"

#include <GL/glew.h>

GLWindow::GLWindow(int width, int height, const std::string& title, bool fullScreen)
    : Window(width, height, title, fullScreen ? (SDL_OPENGL | SDL_FULLSCREEN) : SDL_OPENGL)
{
    SDL_WM_SetCaption((title + "- (OpenGL)").c_str(), nullptr);
}

void GLWindow::clear()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GLWindow::flip()
{
    SDL_GL_SwapBuffers();
}
