// VectorFont: text drawn as single-coloured line strokes over black outlines. Owns
// two LineRenderers per letter a-z (strokes, outline), built once from a fixed table. A glyph lies in the plane y = 0 of
// its cell: x from -0.5 (left) to 0.5 (right), z from 0 (top line) to 1 (baseline).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "3D/LineRenderer.h"
#include "3D/Vector3.h"
#include "Effects/Colour.h"

class VectorFont {
public:
    static constexpr float ADVANCE = 1.5f;     // pen step per character, in cell units
    static constexpr unsigned LINE_WIDTH = 8;  // pixels, the most a stroke is wide
    // A stroke is at most this share of the letter's height on screen: small text
    // keeps the inside of its letters open instead of filling it with 8-pixel lines.
    static constexpr float STROKE_SHARE = 0.2f;
    // Pixels of black drawn each side of a stroke (at most its width), beneath it:
    // the floor's lines stop short of the letters instead of running into them.
    static constexpr float OUTLINE_MARGIN = 2.0f;

    // Builds the 26 glyphs, every vertex in `colour`.
    explicit VectorFont(const Colour& colour);

    VectorFont(const VectorFont&) = delete;
    VectorFont& operator=(const VectorFont&) = delete;

    // The glyph of a letter (upper case shares the lower-case glyph); nullptr for
    // any other character.
    const LineRenderer* glyph(char c) const;

    // Draw `text` with the middle of its first cell's top line at `position` (world
    // units), `scale` world units per cell unit, the string turned about +Y by 180
    // degrees (cells run towards world -x, baseline towards -z) or by 270 degrees
    // (cells run towards +z, baseline towards -x). Letters are drawn in either case;
    // spaces and every other character are skipped but still move the pen.
    // Strokes are LINE_WIDTH times the context's stroke scale wide, or STROKE_SHARE
    // of a letter's size in pixels of the current viewport where that is less (at
    // least 1 pixel), each over a black outline OUTLINE_MARGIN wider either side.
    // GL state: the modelview matrix and the depth write mask are restored; the line
    // width is left at the strokes' width when a glyph was drawn; the vertex and
    // colour arrays end disabled.
    void drawText180(const Vector3& position, const std::string& text, float scale,
                     const DrawContext& context) const;
    void drawText270(const Vector3& position, const std::string& text, float scale,
                     const DrawContext& context) const;

private:
    void drawText(const Vector3& position, const std::string& text, float scale, float angle,
                  const DrawContext& context) const;
    // The strokes' width in pixels for letters under the current matrices and viewport.
    static float strokeWidth(const DrawContext& context);
    // Keyed by lower-case letter.
    using Glyphs = std::map<char, std::unique_ptr<LineRenderer>>;

    // The glyph of c (either case) in glyphs; nullptr for any other character.
    static const LineRenderer* find(const Glyphs& glyphs, char c);
    // Draws the glyphs of `text` along the pen, `width` pixels wide.
    static void drawGlyphs(const Glyphs& glyphs, const std::string& text, float width,
                           const DrawContext& context);

    Glyphs m_glyphs;    // the strokes in the font's colour
    Glyphs m_outlines;  // the same strokes in black, for the outlines
};
