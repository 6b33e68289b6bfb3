// Camera::look on a real GL context: the modelview matrix each camera leaves
// equals the one gluLookAt gives for the expected eye, centre and up vector.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include "3D/GLTestContext.h"
#include "3D/GLUCamera.h"
#include "3D/LinearCamera.h"
#include "3D/RotatingCamera.h"

namespace {

struct Matrix {
    GLfloat m[16];
};

Matrix currentModelview()
{
    Matrix result;
    glGetFloatv(GL_MODELVIEW_MATRIX, result.m);
    return result;
}

Matrix lookAt(const Vector3& eye, const Vector3& centre, const Vector3& up)
{
    glLoadIdentity();
    gluLookAt(eye.x, eye.y, eye.z, centre.x, centre.y, centre.z, up.x, up.y, up.z);
    return currentModelview();
}

// look() must replace whatever the matrix held, so start from something else.
Matrix lookFromScratch(const Camera& camera)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(5, -7, 11);
    glRotatef(33, 1, 1, 0);
    camera.look();
    return currentModelview();
}

void expectSame(const Matrix& expected, const Matrix& actual)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(expected.m[i], actual.m[i]) << "element " << i;
}

}  // namespace

TEST(CameraLook, GLUCameraLooksAlongItsDirection)
{
    testgl::engine();
    const GLUCamera camera({1, 2, 3}, {0, 0, -1}, {0, 1, 0});
    const Matrix actual = lookFromScratch(camera);
    expectSame(lookAt({1, 2, 3}, {1, 2, 2}, {0, 1, 0}), actual);

    // Sanity of the reference: a direction read as a target point would differ.
    const Matrix wrong = lookAt({1, 2, 3}, {0, 0, -1}, {0, 1, 0});
    bool differs = false;
    for (int i = 0; i < 16; ++i)
        differs = differs || wrong.m[i] != actual.m[i];
    EXPECT_TRUE(differs);
}

TEST(CameraLook, LinearCameraLooksAtItsCurrentTarget)
{
    testgl::engine();
    LinearCamera camera({0, 10, 0}, {100, 20, -40}, {0, 0, 0}, {10, 0, 50}, {0, 1, 0}, 1000);
    expectSame(lookAt({0, 10, 0}, {0, 0, 0}, {0, 1, 0}), lookFromScratch(camera));

    camera.update(1000);
    camera.update(1500);
    expectSame(lookAt({50, 15, -20}, {5, 0, 25}, {0, 1, 0}), lookFromScratch(camera));
}

TEST(CameraLook, RotatingCameraLooksAtTheCentre)
{
    testgl::engine();
    RotatingCamera camera({0, 0, 0}, {6, 0, 6}, {0, 1, 0}, 6.0f, 0.3f);
    camera.update();
    expectSame(lookAt({6, 6, 0}, {6, 0, 6}, {0, 1, 0}), lookFromScratch(camera));
}

// The browser's look-at matrix, built without GLU, equals GLU's own for eyes on and
// off the axes, a tilted up vector and an up vector not perpendicular to the view.
TEST(CameraLook, LookAtMatrixEqualsGluLookAt)
{
    testgl::engine();
    glMatrixMode(GL_MODELVIEW);
    const Vector3 cases[][3] = {{{0, 0, 0}, {0, 0, -1}, {0, 1, 0}},
                                {{50, 15, -20}, {5, 0, 25}, {0, 1, 0}},
                                {{-3, 40, 7}, {2, -1, 9}, {0.3f, 1, 0.2f}},
                                {{1, 2, 3}, {4, 2, 3}, {1, 1, 0}}};
    for (const auto& c : cases) {
        const Matrix expected = lookAt(c[0], c[1], c[2]);
        Matrix built;
        Camera::lookAtMatrix(c[0], c[1], c[2], built.m);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(expected.m[i], built.m[i], 1e-5f) << "element " << i;
    }
}
