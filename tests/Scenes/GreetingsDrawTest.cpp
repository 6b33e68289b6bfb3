// SceneSadSpectrumGreet drawn on a real GL context with the demo's projection, once
// all seven names are shown: every lit pixel, traced back to the floor plane the
// names lie on, falls inside the box that its name's position, scale, turn and length
// give, and every name lights its own box.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include <iterator>
#include <string>
#include <vector>

#include "3D/DrawContext.h"
#include "3D/GLTestContext.h"
#include "Effects/SpectrumGrid.h"
#include "Effects/VectorFont.h"
#include "Music/Music.h"
#include "Scenes/SceneSadSpectrumGreet.h"

namespace {

const int SIDE = 320;

// A name as the greetings lay it out: first letter's top-line middle, scale, turn.
struct Name {
    std::string text;
    float x, y, z;
    float scale;
    int turn;  // 180 or 270 degrees about +Y
};

const Name NAMES[] = {
    {"Dravo team", 45, 1, 50, 1.0f, 180},   {"Gorvex", 43, 1, 47, 1.0f, 180},
    {"Skylomancers", 72, 1, 52, 1.5f, 270}, {"Pellucor", 66, 1, 59, 1.7f, 270},
    {"ZaaaZ", 64, 1, 33, 1.7f, 270},        {"Q tor", 58, 1, 33, 1.7f, 270},
    {"Vendal TWO", 54, 1, 76, 1.8f, 180},
};

// True when the floor point (x, z) lies within `margin` world units of the cells of
// `name`. Along the text a cell spans -0.5 to 0.5 around its pen position (1.5 per
// character), across it 0 (top line) to 1 (baseline), in scale units. At 180 degrees
// the text runs to -x with its baseline to -z; at 270 to +z with its baseline to -x.
bool inside(const Name& name, double x, double z, double margin)
{
    const double along = name.turn == 180 ? (name.x - x) / name.scale : (z - name.z) / name.scale;
    const double across = name.turn == 180 ? (name.z - z) / name.scale : (name.x - x) / name.scale;
    const double m = margin / name.scale;
    const double last = VectorFont::ADVANCE * (name.text.size() - 1) + 0.5;
    return along >= -0.5 - m && along <= last + m && across >= -m && across <= 1.0 + m;
}

}  // namespace

TEST(GreetingsDraw, EachNameLiesWhereItsPositionScaleAndTurnPutIt)
{
    testgl::engine();
    testgl::OffscreenTarget target(SIDE, SIDE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 0.1, 120.0);
    glMatrixMode(GL_MODELVIEW);

    Music music;  // the greetings do not listen
    SpectrumGrid grid(100, 100, 1.5f);
    SceneSadSpectrumGreet scene;
    unsigned elapsed = 0;
    for (; elapsed <= 18000; elapsed += 16)
        ASSERT_TRUE(scene.update(grid, music, 1000 + elapsed));
    ASSERT_EQ(7u, scene.step());

    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);
    scene.applyCamera();
    scene.draw(DrawContext());
    glFinish();
    ASSERT_EQ(GLenum(GL_NO_ERROR), glGetError());
    const std::vector<testgl::Pixel> pixels = target.read();

    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);

    // Half of the widest (8-pixel) stroke is about one world unit at this height.
    const double strokeMargin = 1.2;
    int outside = 0;
    std::vector<int> lit(std::size(NAMES), 0);
    for (int row = 0; row < SIDE; ++row) {
        for (int column = 0; column < SIDE; ++column) {
            const testgl::Pixel& p = pixels[static_cast<size_t>(row) * SIDE + column];
            if (p.r == 0 && p.g == 0 && p.b == 0)
                continue;
            // The pixel's ray, cut with the plane y = 1 the names lie on.
            GLdouble nx, ny, nz, fx, fy, fz;
            gluUnProject(column + 0.5, row + 0.5, 0.0, modelview, projection, viewport, &nx, &ny,
                         &nz);
            gluUnProject(column + 0.5, row + 0.5, 1.0, modelview, projection, viewport, &fx, &fy,
                         &fz);
            const double t = (1.0 - ny) / (fy - ny);
            const double x = nx + t * (fx - nx), z = nz + t * (fz - nz);
            bool placed = false;
            for (size_t k = 0; k < std::size(NAMES); ++k) {
                placed = placed || inside(NAMES[k], x, z, strokeMargin);
                lit[k] += inside(NAMES[k], x, z, 0.0);
            }
            outside += !placed;
        }
    }
    EXPECT_EQ(0, outside) << "lit pixels that belong to no name's place";
    for (size_t k = 0; k < std::size(NAMES); ++k) {
        // Strokes a fifth of a letter wide: a name lights a fair share of its box.
        const Name& name = NAMES[k];
        EXPECT_GT(lit[k], static_cast<int>(name.text.size()) * 6) << name.text;
    }
}
