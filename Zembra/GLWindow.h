// GLWindow: a Window whose video mode carries an OpenGL context.
// Clears colour and depth with GL; presents by swapping buffers.
#pragma once

#include "Zembra/Window.h"

class GLWindow : public Window {
public:
    // The caption becomes the title immediately followed by "- (OpenGL)".
    GLWindow(int width, int height, const std::string& title, bool fullScreen);

    void clear() override;
    void flip() override;
};
