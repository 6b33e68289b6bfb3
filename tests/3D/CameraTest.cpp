// Camera motion without a GL context: linear moves against the clock, the orbit
// step, and the text forms of vectors and cameras.
#include <gtest/gtest.h>

#include <sstream>

#include "3D/GLUCamera.h"
#include "3D/LinearCamera.h"
#include "3D/RotatingCamera.h"
#include "3D/Texture.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

void expectVector(const Vector3& expected, const Vector3& actual)
{
    EXPECT_FLOAT_EQ(expected.x, actual.x);
    EXPECT_FLOAT_EQ(expected.y, actual.y);
    EXPECT_FLOAT_EQ(expected.z, actual.z);
}

// From (0, 10, 0) to (100, 20, -40) looking from (0, 0, 0) to (10, 0, 50), over 1000 ms.
LinearCamera makeMove()
{
    return LinearCamera({0, 10, 0}, {100, 20, -40}, {0, 0, 0}, {10, 0, 50}, {0, 1, 0}, 1000);
}

}  // namespace

TEST(LinearCamera, StartsAtTheStartAndFirstUpdateOnlyRecordsTheTime)
{
    LinearCamera camera = makeMove();
    expectVector({0, 10, 0}, camera.getPosition());
    expectVector({0, 0, 0}, camera.getDirection());
    expectVector({0, 1, 0}, camera.getUp());

    EXPECT_TRUE(camera.update(5000));
    EXPECT_EQ(5000u, camera.startTime());
    expectVector({0, 10, 0}, camera.getPosition());
    expectVector({0, 0, 0}, camera.getDirection());
}

TEST(LinearCamera, InterpolatesAndEndsExactlyAtTheEnd)
{
    LinearCamera camera = makeMove();
    camera.update(5000);

    EXPECT_TRUE(camera.update(5500));
    expectVector({50, 15, -20}, camera.getPosition());
    expectVector({5, 0, 25}, camera.getDirection());

    EXPECT_TRUE(camera.update(6000));
    expectVector({100, 20, -40}, camera.getPosition());
    expectVector({10, 0, 50}, camera.getDirection());

    // One millisecond later the move is over and nothing moves.
    EXPECT_FALSE(camera.update(6001));
    expectVector({100, 20, -40}, camera.getPosition());
    expectVector({10, 0, 50}, camera.getDirection());
}

TEST(LinearCamera, AFinishedMoveKeepsItsLastPosition)
{
    LinearCamera camera = makeMove();
    camera.update(100);
    EXPECT_TRUE(camera.update(350));  // a quarter of the way
    EXPECT_FALSE(camera.update(2000));
    expectVector({25, 12.5f, -10}, camera.getPosition());
    // Later calls stay finished and keep the start time.
    EXPECT_FALSE(camera.update(3000));
    EXPECT_EQ(100u, camera.startTime());
    expectVector({25, 12.5f, -10}, camera.getPosition());
}

TEST(LinearCamera, TimeZeroDoesNotStartTheMove)
{
    LinearCamera camera = makeMove();
    EXPECT_TRUE(camera.update(0));
    EXPECT_EQ(0u, camera.startTime());
    // The next call counts as the first again: no movement at 700.
    EXPECT_TRUE(camera.update(700));
    expectVector({0, 10, 0}, camera.getPosition());
    EXPECT_TRUE(camera.update(1200));
    expectVector({50, 15, -20}, camera.getPosition());
}

TEST(LinearCamera, ClockArithmeticWraps)
{
    // A time before the start wraps to a huge elapsed time: the move ends.
    LinearCamera early = makeMove();
    early.update(5000);
    EXPECT_FALSE(early.update(4999));
    expectVector({0, 10, 0}, early.getPosition());

    // A move that starts just before the 32-bit tick counter wraps keeps running.
    LinearCamera wrapping = makeMove();
    wrapping.update(0xFFFFFF00u);        // 256 ms before the wrap
    EXPECT_TRUE(wrapping.update(244u));  // 500 ms later
    expectVector({50, 15, -20}, wrapping.getPosition());
}

TEST(RotatingCamera, OrbitsAtRadiusHeightAndStepsAfterPlacing)
{
    RotatingCamera camera({0, 0, 0}, {6, 0, 6}, {0, 1, 0}, 6.0f, 0.3f);
    camera.update();
    // The first update uses the initial angle 0.
    expectVector({6, 6, 0}, camera.getPosition());
    EXPECT_FLOAT_EQ(0.3f, camera.angle());
    expectVector({6, 0, 6}, camera.getDirection());  // the centre never moves

    // A quarter turn later the eye is on the -x side of the centre.
    camera.setAngle(90.0f);
    camera.update();
    EXPECT_NEAR(0.0f, camera.getPosition().x, 1e-5f);
    EXPECT_FLOAT_EQ(6.0f, camera.getPosition().y);
    EXPECT_NEAR(6.0f, camera.getPosition().z, 1e-5f);
    EXPECT_FLOAT_EQ(90.3f, camera.angle());
}

TEST(CameraText, VectorAndPrintFormats)
{
    std::ostringstream out;
    out << Vector3{1.5f, -2.0f, 0.25f};
    EXPECT_EQ("X: 1.5 Y: -2 Z: 0.25", out.str());

    GLUCamera camera({1, 2, 3}, {0, 0, -1}, {0, 1, 0});
    CaptureStdout();
    camera.print();
    EXPECT_EQ("Position: X: 1 Y: 2 Z: 3\nDirection: X: 0 Y: 0 Z: -1\nUp: X: 0 Y: 1 Z: 0\n",
              GetCapturedStdout());
}

TEST(TextureDeathTest, ConstructingWithoutASizeIsAProgrammingError)
{
    EXPECT_DEATH(Texture(), "false");
}
