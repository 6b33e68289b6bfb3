// ScenePartWorld drawn on a real GL context with the demo's projection: the meshes
// light grey pixels, the trails coloured ones added on top of them, and the draw
// leaves the matrices and the blend and depth state as the frame expects.
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

const int SIDE = 256;
const int MESH_GREY = 117;  // restColour's red, green and blue in 8 bits

struct Counts {
    int grey = 0;      // the meshes' own grey, unblended
    int coloured = 0;  // lit by anything else: the trails
};

bool isBlack(const Pixel& p)
{
    return p.r == 0 && p.g == 0 && p.b == 0;
}

bool isMeshGrey(const Pixel& p)
{
    return p.r == MESH_GREY && p.g == MESH_GREY && p.b == MESH_GREY;
}

// Draws the scene alone over black from its current camera, as the frame does.
Counts drawAndCount(ScenePartWorld& world, std::vector<GLfloat>& modelviewAfter,
                    std::vector<Pixel>& picture)
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
    picture = testgl::readPixels(SIDE, SIDE);
    Counts counts;
    for (const Pixel& p : picture) {
        if (isBlack(p))
            continue;
        if (isMeshGrey(p))
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
    testgl::OffscreenTarget target(SIDE, SIDE);
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
    std::vector<Pixel> whole, trails;
    const Counts field = drawAndCount(world, after, whole);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    EXPECT_EQ(modelview, after) << "a mesh left its placement on the matrix stack";
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_GT(field.grey, SIDE * SIDE / 200) << "the resting meshes are not in the picture";
    EXPECT_GT(field.coloured, 50) << "the trails are not in the picture";
    // A picture at half the window's size reaches the meshes and the trails alike.
    world.draw(DrawContext{0.5f});
    GLfloat lineWidth = 0, pointSize = 0;
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    EXPECT_EQ(2.0f, lineWidth);
    EXPECT_EQ(2.0f, pointSize) << "1.5-pixel trail points end with their 2-pixel pass";

    // Every mesh lifted far out of view: the grey is gone, the trails stay.
    for (auto& m : world.spheres())
        m->m_position.y = 1000.0f;
    for (auto& m : world.cubes())
        m->m_position.y = 1000.0f;
    for (auto& m : world.pyramids())
        m->m_position.y = 1000.0f;
    const Counts trailsOnly = drawAndCount(world, after, trails);
    EXPECT_EQ(0, trailsOnly.grey);
    EXPECT_GT(trailsOnly.coloured, 50);

    // The trails glow on top of the meshes: drawn after them and added to what they
    // left. Where a mesh and a trail share a pixel, the picture is the mesh's grey
    // plus the trail's light, never the plain grey of a mesh drawn over the trail.
    int shared = 0, hidden = 0;
    for (size_t i = 0; i < whole.size(); ++i) {
        const Pixel& t = trails[i];
        const Pixel& w = whole[i];
        if (isBlack(t) || (w.r == t.r && w.g == t.g && w.b == t.b))
            continue;  // no trail, or no mesh under it
        ++shared;
        hidden += isMeshGrey(w);
    }
    EXPECT_GT(shared, 20) << "no mesh shares a pixel with a trail: the order is not shown";
    EXPECT_EQ(0, hidden) << "trail pixels covered by meshes drawn after them";
}
