// ScenePartWorld drawn on a real GL context with the demo's projection: the meshes
// light grey pixels, the trails coloured ones, and the draw leaves the matrices and
// the blend and depth state as the frame expects.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include <vector>

#include "3D/GLTestContext.h"
#include "Effects/SpectrumGrid.h"
#include "Music/Music.h"
#include "Scenes/ScenePartWorld.h"
#include "Zembra/Random.h"

using testgl::Pixel;

namespace {

const int kSide = 256;
const int kMeshGrey = 117;  // restColour's red, green and blue in 8 bits

struct Counts {
    int grey = 0;      // the meshes' own grey, unblended
    int coloured = 0;  // lit by anything else: the trails
};

// Draws the scene alone over black from its current camera, as the frame does.
Counts drawAndCount(ScenePartWorld& world, std::vector<GLfloat>& modelviewAfter)
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    world.applyCamera();
    world.draw(DrawContext());
    glFinish();
    modelviewAfter.assign(16, 0.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelviewAfter.data());
    Counts counts;
    for (const Pixel& p : testgl::readPixels(kSide, kSide)) {
        if (p.r == 0 && p.g == 0 && p.b == 0)
            continue;
        if (p.r == kMeshGrey && p.g == kMeshGrey && p.b == kMeshGrey)
            ++counts.grey;
        else
            ++counts.coloured;
    }
    return counts;
}

}  // namespace

TEST(ScenePartWorldDraw, MeshesAndTrailsReachThePictureAndTheStateIsRestored)
{
    testgl::engine();
    testgl::OffscreenTarget target(kSide, kSide);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 0.1, 120.0);
    glMatrixMode(GL_MODELVIEW);

    Random::seed(42);
    Music music;  // never initialised: a silent spectrum, so nothing launches
    SpectrumGrid grid(100, 100, 1.5f);
    ScenePartWorld world;
    // Five seconds into the shot, with the trails grown to their full length.
    for (unsigned frame = 0; frame <= 250; ++frame)
        ASSERT_TRUE(world.update(grid, music, 1000 + 20 * frame));

    world.applyCamera();
    std::vector<GLfloat> modelview(16);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    std::vector<GLfloat> after;
    const Counts field = drawAndCount(world, after);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    EXPECT_EQ(modelview, after) << "a mesh left its placement on the matrix stack";
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_GT(field.grey, kSide * kSide / 200) << "the resting meshes are not in the picture";
    EXPECT_GT(field.coloured, 50) << "the trails are not in the picture";
    // A picture at half the window's size reaches the meshes and the trails alike.
    world.draw(DrawContext{0.5f});
    GLfloat lineWidth = 0, pointSize = 0;
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    EXPECT_EQ(2.0f, lineWidth);
    EXPECT_EQ(1.5f, pointSize);

    // Every mesh lifted far out of view: the grey is gone, the trails stay.
    for (auto& m : world.spheres())
        m->m_position.y = 1000.0f;
    for (auto& m : world.cubes())
        m->m_position.y = 1000.0f;
    for (auto& m : world.pyramids())
        m->m_position.y = 1000.0f;
    const Counts trailsOnly = drawAndCount(world, after);
    EXPECT_EQ(0, trailsOnly.grey);
    EXPECT_GT(trailsOnly.coloured, 50);
}
