// VectorFont: stroke table of the 26 letters and the string drawing. Depends on LineRenderer and OpenGL 1.1.
#include "Effects/VectorFont.h"

#include <GL/glew.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

const unsigned MAX_VERTICES = 6;
const unsigned MAX_SEGMENTS = 5;

// One letter: its vertices as (x, z) in cell units, then its segments as pairs of
// vertex numbers. Capitals in shape; z grows downwards, the baseline is z = 1.
struct GlyphStrokes {
    char letter;
    unsigned vertexCount;
    float points[MAX_VERTICES][2];
    unsigned segmentCount;
    unsigned char segments[MAX_SEGMENTS][2];
};

constexpr GlyphStrokes STROKES[] = {
    {'a',
     5,
     {{-0.5f, 1}, {0.5f, 1}, {0, 0}, {-0.25f, 0.5f}, {0.25f, 0.5f}},
     3,
     {{0, 2}, {1, 2}, {3, 4}}},
    {'b',
     6,
     {{-0.5f, 0}, {-0.5f, 1}, {0.5f, 0}, {0.5f, 1}, {-0.5f, 0.5f}, {0.5f, 0.5f}},
     5,
     {{0, 1}, {2, 3}, {0, 2}, {1, 3}, {4, 5}}},
    {'c', 4, {{-0.5f, 0}, {-0.5f, 1}, {0.5f, 0}, {0.5f, 1}}, 3, {{0, 1}, {0, 2}, {1, 3}}},
    {'d', 4, {{-0.5f, 0}, {-0.5f, 1}, {0.3f, 0}, {0.3f, 1}}, 4, {{0, 1}, {0, 2}, {1, 3}, {2, 3}}},
    {'e',
     6,
     {{-0.5f, 0}, {-0.5f, 1}, {-0.5f, 0.5f}, {0.5f, 0}, {0.5f, 1}, {0.5f, 0.5f}},
     4,
     {{0, 1}, {0, 3}, {1, 4}, {2, 5}}},
    {'f',
     5,
     {{-0.5f, 1}, {-0.5f, 0}, {-0.5f, 0.5f}, {0.5f, 0}, {0.5f, 0.5f}},
     3,
     {{0, 1}, {1, 3}, {2, 4}}},
    {'g',
     6,
     {{0.5f, 0}, {-0.5f, 0}, {-0.5f, 1}, {0.1f, 1}, {0.1f, 0.5f}, {-0.1f, 0.5f}},
     5,
     {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}}},
    {'h',
     6,
     {{-0.5f, 0}, {-0.5f, 1}, {0.5f, 0}, {0.5f, 1}, {-0.5f, 0.5f}, {0.5f, 0.5f}},
     3,
     {{0, 1}, {2, 3}, {4, 5}}},
    {'i', 2, {{0, 0}, {0, 1}}, 1, {{0, 1}}},
    {'j', 4, {{0.3f, 0}, {0.3f, 1}, {-0.3f, 1}, {-0.3f, 0.5f}}, 3, {{0, 1}, {1, 2}, {2, 3}}},
    {'k',
     5,
     {{-0.5f, 0}, {-0.5f, 1}, {-0.5f, 0.5f}, {0.5f, 0}, {0.5f, 1}},
     3,
     {{0, 1}, {2, 3}, {2, 4}}},
    {'l', 3, {{-0.5f, 0}, {-0.5f, 1}, {0.5f, 1}}, 2, {{0, 1}, {1, 2}}},
    {'m',
     5,
     {{-0.5f, 1}, {-0.5f, 0}, {0, 0.5f}, {0.5f, 0}, {0.5f, 1}},
     4,
     {{0, 1}, {1, 2}, {2, 3}, {3, 4}}},
    {'n', 4, {{-0.5f, 1}, {-0.5f, 0}, {0.5f, 1}, {0.5f, 0}}, 3, {{0, 1}, {1, 2}, {2, 3}}},
    {'o', 4, {{-0.5f, 0}, {-0.5f, 1}, {0.5f, 1}, {0.5f, 0}}, 4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}}},
    {'p',
     5,
     {{-0.5f, 1}, {-0.5f, 0}, {0.5f, 0}, {0.5f, 0.5f}, {-0.5f, 0.5f}},
     4,
     {{0, 1}, {1, 2}, {2, 3}, {3, 4}}},
    {'q',
     5,
     {{-0.5f, 1}, {-0.5f, 0}, {0.5f, 0}, {0.5f, 1}, {0, 0.5f}},
     5,
     {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {3, 4}}},
    {'r',
     6,
     {{-0.5f, 1}, {-0.5f, 0}, {0.5f, 0}, {0.5f, 0.5f}, {-0.5f, 0.5f}, {0.5f, 1}},
     5,
     {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}}},
    {'s',
     6,
     {{-0.5f, 1}, {0.5f, 1}, {0.5f, 0.5f}, {-0.5f, 0.5f}, {-0.5f, 0}, {0.5f, 0}},
     5,
     {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}}},
    {'t', 4, {{-0.5f, 0}, {0.5f, 0}, {0, 0}, {0, 1}}, 2, {{0, 1}, {2, 3}}},
    {'u', 4, {{-0.5f, 0}, {-0.5f, 1}, {0.5f, 1}, {0.5f, 0}}, 3, {{0, 1}, {1, 2}, {2, 3}}},
    {'v', 3, {{-0.5f, 0}, {0, 1}, {0.5f, 0}}, 2, {{0, 1}, {1, 2}}},
    {'w',
     5,
     {{-0.5f, 0}, {-0.5f, 1}, {0, 0.5f}, {0.5f, 1}, {0.5f, 0}},
     4,
     {{0, 1}, {1, 2}, {2, 3}, {3, 4}}},
    {'x', 4, {{-0.5f, 0}, {-0.5f, 1}, {0.5f, 1}, {0.5f, 0}}, 2, {{0, 2}, {1, 3}}},
    {'y', 4, {{-0.5f, 0}, {0.5f, 0}, {0, 1}, {0, 0.5f}}, 3, {{0, 3}, {1, 3}, {2, 3}}},
    {'z', 4, {{-0.5f, 1}, {0.5f, 1}, {-0.5f, 0}, {0.5f, 0}}, 3, {{0, 1}, {1, 2}, {2, 3}}},
};

// The table's own consistency, checked by the compiler: the letters a to z in order,
// 119 vertices and 88 segments in all, and no segment naming a missing vertex.
constexpr bool tableIsConsistent()
{
    unsigned vertices = 0;
    unsigned segments = 0;
    unsigned n = 0;
    for (const GlyphStrokes& g : STROKES) {
        if (g.letter != 'a' + static_cast<char>(n++))
            return false;
        if (g.vertexCount > MAX_VERTICES || g.segmentCount > MAX_SEGMENTS)
            return false;
        for (unsigned s = 0; s < g.segmentCount; ++s)
            if (g.segments[s][0] >= g.vertexCount || g.segments[s][1] >= g.vertexCount)
                return false;
        vertices += g.vertexCount;
        segments += g.segmentCount;
    }
    return n == 26 && vertices == 119 && segments == 88;
}
static_assert(tableIsConsistent(), "the stroke table must hold a to z, 119 vertices, 88 segments");

}  // namespace

VectorFont::VectorFont(const Colour& colour)
{
    std::vector<LineVertex> vertices;
    std::vector<uint32_t> indices;
    for (const GlyphStrokes& strokes : STROKES) {
        vertices.clear();
        indices.clear();
        for (unsigned v = 0; v < strokes.vertexCount; ++v)
            vertices.push_back({strokes.points[v][0], 0.0f, strokes.points[v][1], colour.r,
                                colour.g, colour.b, colour.a});
        for (unsigned s = 0; s < strokes.segmentCount; ++s) {
            indices.push_back(strokes.segments[s][0]);
            indices.push_back(strokes.segments[s][1]);
        }
        auto renderer = std::make_unique<LineRenderer>();
        renderer->add(vertices, indices);
        m_glyphs[strokes.letter] = std::move(renderer);
        for (LineVertex& vertex : vertices)
            vertex.r = vertex.g = vertex.b = 0.0f;
        auto outline = std::make_unique<LineRenderer>();
        outline->add(vertices, indices);
        m_outlines[strokes.letter] = std::move(outline);
    }
}

const LineRenderer* VectorFont::glyph(char c) const
{
    return find(m_glyphs, c);
}

const LineRenderer* VectorFont::find(const Glyphs& glyphs, char c)
{
    // Through unsigned char: tolower of a negative char (bytes above 127) is undefined.
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto found = glyphs.find(letter);
    return found == glyphs.end() ? nullptr : found->second.get();
}

void VectorFont::drawText180(const Vector3& position, const std::string& text, float scale,
                             const DrawContext& context) const
{
    drawText(position, text, scale, 180.0f, context);
}

void VectorFont::drawText270(const Vector3& position, const std::string& text, float scale,
                             const DrawContext& context) const
{
    drawText(position, text, scale, 270.0f, context);
}

float VectorFont::strokeWidth(const DrawContext& context)
{
    const float widest = static_cast<float>(LINE_WIDTH) * context.strokeScale;
    GLfloat projection[16], modelview[16];
    GLint viewport[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetIntegerv(GL_VIEWPORT, viewport);

    // Pixels of the viewport from its centre of a point of the cell (x, 0, z);
    // false when it lies behind the eye.
    auto onScreen = [&](float x, float z, float pixel[2]) {
        float eye[4], clip[4];
        for (int row = 0; row < 4; ++row)
            eye[row] = modelview[row] * x + modelview[8 + row] * z + modelview[12 + row];
        for (int row = 0; row < 4; ++row)
            clip[row] = projection[row] * eye[0] + projection[4 + row] * eye[1] +
                        projection[8 + row] * eye[2] + projection[12 + row] * eye[3];
        if (clip[3] <= 0.0f)
            return false;
        pixel[0] = 0.5f * clip[0] / clip[3] * static_cast<float>(viewport[2]);
        pixel[1] = 0.5f * clip[1] / clip[3] * static_cast<float>(viewport[3]);
        return true;
    };
    // The cell's height (top line to baseline) and width (left to right edge) on
    // screen; the smaller one sizes the strokes.
    float top[2], bottom[2], left[2], right[2];
    if (!onScreen(0.0f, 0.0f, top) || !onScreen(0.0f, 1.0f, bottom) ||
        !onScreen(-0.5f, 0.5f, left) || !onScreen(0.5f, 0.5f, right))
        return widest;
    const float letter = std::min(std::hypot(bottom[0] - top[0], bottom[1] - top[1]),
                                  std::hypot(right[0] - left[0], right[1] - left[1]));
    return std::min(widest, std::max(1.0f, STROKE_SHARE * letter));
}

void VectorFont::drawText(const Vector3& position, const std::string& text, float scale,
                          float angle, const DrawContext& context) const
{
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    glRotatef(angle, 0.0f, 1.0f, 0.0f);
    glScalef(scale, scale, scale);
    const float width = strokeWidth(context);
    // First the black outlines of the whole string, so that no letter's outline
    // covers its neighbour's strokes; they leave the depth buffer alone, so that
    // the strokes, as deep, still pass the depth test over them.
    GLboolean depthWrites = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    glDepthMask(GL_FALSE);
    const float margin = std::min(width, OUTLINE_MARGIN * context.strokeScale);
    drawGlyphs(m_outlines, text, width + 2.0f * margin, context);
    glDepthMask(depthWrites);
    drawGlyphs(m_glyphs, text, width, context);
    glPopMatrix();
}

void VectorFont::drawGlyphs(const Glyphs& glyphs, const std::string& text, float width,
                            const DrawContext& context)
{
    glPushMatrix();
    // The caller's context but for the width: the lines still go where it sends
    // them (triangles where the GL draws no wide lines).
    DrawContext strokes = context;
    strokes.strokeScale = width / static_cast<float>(LINE_WIDTH);
    for (char c : text) {
        if (const LineRenderer* letter = find(glyphs, c))
            letter->draw(LINE_WIDTH, strokes);
        // Every character moves the pen, drawn or not, so words keep their spacing.
        glTranslatef(ADVANCE, 0.0f, 0.0f);
    }
    glPopMatrix();
}
