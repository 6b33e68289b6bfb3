// DrawContext: what a draw needs to know about the picture it draws into, handed
// from the post-processing chain through the scene manager and the scenes to every
// line and point draw. A plain value: it owns nothing and sets no GL state.
#pragma once

struct DrawContext {
    // Factor on every line width and point size (> 0): a picture rendered at a
    // fraction of the window's size draws its strokes that much thinner, so that
    // they cover the same share of it. 1 for a picture of the window's size.
    float strokeScale = 1.0f;
};
