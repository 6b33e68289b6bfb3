// DrawContext: what a draw needs to know about the picture it draws into, handed
// from the post-processing chain through the scene manager and the scenes to every
// line and point draw. A plain value: it owns nothing (its scratch belongs to the
// chain) and sets no GL state.
#pragma once

class WideLines;

struct DrawContext {
    // Factor on every line width and point size (> 0): a picture rendered at a
    // fraction of the window's size draws its strokes that much thinner, so that
    // they cover the same share of it. 1 for a picture of the window's size.
    float strokeScale = 1.0f;
    // Where the GL draws no line as wide as a draw asks (WebGL: 1 pixel), the lines
    // are drawn as triangles through this scratch, which the chain owns; null: the
    // GL's own lines always.
    WideLines* wideLines = nullptr;
    // Pixels: the widest line the GL draws itself; wider ones go to wideLines.
    float widestLine = 0.0f;

    // True when a line of `pixels` width goes to wideLines.
    bool widensLines(float pixels) const { return wideLines != nullptr && pixels > widestLine; }
};
