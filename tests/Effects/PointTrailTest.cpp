// Point trails without GL: emission, ageing and removal, colour and fade, and the
// four curves with their steps.
#include <gtest/gtest.h>

#include <vector>

#include "Effects/PointTrail.h"

namespace {

const Vector3 kOrigin = {0.0f, 0.0f, 0.0f};
const Colour kOrange = {1.0f, 0.5f, 0.0f, 1.0f};

}  // namespace

TEST(PointTrail, FirstPointColourAndFadeToNothing)
{
    SpectrumTrail trail(kOrigin, kOrange, 500, 0.0f);
    EXPECT_EQ(0u, trail.count());
    EXPECT_EQ(0.0f, trail.t());

    trail.update();
    ASSERT_EQ(1u, trail.count());
    const TrailPoint& first = trail.points()[0];
    // (sin 0 + sin 0, 1 + cos 0, cos 0)
    EXPECT_EQ(0.0f, first.x);
    EXPECT_EQ(2.0f, first.y);
    EXPECT_EQ(1.0f, first.z);
    EXPECT_EQ(0u, first.age);
    EXPECT_FLOAT_EQ(0.01f, trail.t());
    // Red, green and blue at 0.3 of the given colour, alpha as given.
    EXPECT_FLOAT_EQ(0.3f, first.r);
    EXPECT_FLOAT_EQ(0.15f, first.g);
    EXPECT_EQ(0.0f, first.b);
    EXPECT_EQ(1.0f, first.a);

    // 200 updates later the point has sunk by 0.4 and faded out; it is still the first.
    for (int i = 0; i < 200; ++i)
        trail.update();
    ASSERT_EQ(201u, trail.count());
    const TrailPoint& old = trail.points()[0];
    EXPECT_EQ(200u, old.age);
    EXPECT_NEAR(0.0f, old.a, 1e-5f);
    EXPECT_NEAR(1.6f, old.y, 1e-5f);
    EXPECT_EQ(0.0f, old.x);
    EXPECT_FLOAT_EQ(0.3f, old.r);  // only alpha fades
}

TEST(PointTrail, SteadyCountAndReplacementOfTheOldest)
{
    SpectrumTrail trail(kOrigin, kOrange, 500, 0.0f);
    for (int i = 0; i < 202; ++i)
        trail.update();
    ASSERT_EQ(202u, trail.count());
    EXPECT_EQ(201u, trail.points()[0].age);
    const TrailPoint newest = trail.points()[201];
    EXPECT_EQ(0u, newest.age);

    // The 203rd update drops the oldest point: the newest is copied into its slot and
    // not aged in that update, and the new point takes the freed end slot.
    trail.update();
    ASSERT_EQ(202u, trail.count());
    const TrailPoint& moved = trail.points()[0];
    EXPECT_EQ(newest.age, moved.age);
    EXPECT_EQ(newest.y, moved.y);
    EXPECT_EQ(newest.a, moved.a);
    const TrailPoint& added = trail.points()[201];
    const Vector3 expected = SpectrumTrail::curvePoint(kOrigin, 202 * 0.01f, 0.0f);
    EXPECT_NEAR(expected.x, added.x, 1e-4f);
    EXPECT_NEAR(expected.y, added.y, 1e-4f);
    EXPECT_NEAR(expected.z, added.z, 1e-4f);
    EXPECT_EQ(0u, added.age);

    // Steady from then on; a point that skipped its ageing lives one update longer,
    // so now and then 203 points are live. Never is a point older than 201 kept.
    unsigned fewest = 1000, most = 0;
    for (int i = 0; i < 2000; ++i) {
        trail.update();
        fewest = std::min(fewest, trail.count());
        most = std::max(most, trail.count());
        for (unsigned j = 0; j < trail.count(); ++j)
            ASSERT_LE(trail.points()[j].age, 201u);
    }
    EXPECT_EQ(202u, fewest);
    EXPECT_EQ(203u, most);
}

TEST(PointTrail, CapacityOneRenewsItsPointAfterItsLife)
{
    const Vector3 centre = {5.0f, 1.0f, -3.0f};
    ImpulseTrail trail(centre, kOrange, 1, 0.5f);
    trail.update();
    ASSERT_EQ(1u, trail.count());
    const float bornY = trail.points()[0].y;
    const float bornX = trail.points()[0].x;
    // The next 201 updates only age it: the slot is taken, so nothing is emitted.
    for (int i = 0; i < 201; ++i) {
        trail.update();
        ASSERT_EQ(1u, trail.count());
        ASSERT_EQ(bornX, trail.points()[0].x);
    }
    EXPECT_EQ(201u, trail.points()[0].age);
    EXPECT_NEAR(bornY - 201 * 0.002f, trail.points()[0].y, 1e-4f);
    EXPECT_LT(trail.points()[0].a, 0.0f);

    // In the 202nd it is removed and the free slot takes a point at the current T.
    trail.update();
    ASSERT_EQ(1u, trail.count());
    EXPECT_EQ(0u, trail.points()[0].age);
    const Vector3 expected = ImpulseTrail::curvePoint(centre, 202 * 0.03f, 0.5f);
    EXPECT_NEAR(expected.x, trail.points()[0].x, 1e-4f);
    EXPECT_NEAR(expected.y, trail.points()[0].y, 1e-4f);
    EXPECT_NEAR(expected.z, trail.points()[0].z, 1e-4f);
    EXPECT_EQ(1.0f, trail.points()[0].a);

    // A trail without room never emits.
    ImpulseTrail none(centre, kOrange, 0, 0.5f);
    none.update();
    EXPECT_EQ(0u, none.count());
}

namespace {

struct CurveCase {
    const char* kind;
    Vector3 (*curve)(const Vector3&, float, float);
    float t;
    Vector3 expected;
};

// A new trail of kind Trail, updated once: its first point lies on its curve at T = 0,
// and T has moved on by the kind's step.
template <typename Trail>
void expectFirstStep(const char* kind, float step)
{
    const Vector3 centre = {10.0f, 20.0f, 30.0f};
    Trail trail(centre, kOrange, 10, 0.7f);
    trail.update();
    const Vector3 atZero = Trail::curvePoint(centre, 0.0f, 0.7f);
    EXPECT_EQ(atZero.x, trail.points()[0].x) << kind;
    EXPECT_EQ(atZero.z, trail.points()[0].z) << kind;
    EXPECT_EQ(step, trail.t()) << kind;
}

}  // namespace

TEST(PointTrail, FourCurvesAndTheirSteps)
{
    // Centre (10, 20, 30), phase 0.7; values worked out in double precision.
    const CurveCase cases[] = {
        {"SpectrumTrail", &SpectrumTrail::curvePoint, 0.0f, {10.64422f, 21.76484f, 31.00000f}},
        {"SpectrumTrail", &SpectrumTrail::curvePoint, 1.0f, {12.83314f, 20.09593f, 31.54030f}},
        {"SpectrumTrail", &SpectrumTrail::curvePoint, 2.5f, {13.04010f, 21.83471f, 31.69886f}},
        {"ImpulseTrail", &ImpulseTrail::curvePoint, 0.0f, {10.64422f, 21.76484f, 31.00000f}},
        {"ImpulseTrail", &ImpulseTrail::curvePoint, 1.0f, {12.83314f, 20.09593f, 30.54030f}},
        {"ImpulseTrail", &ImpulseTrail::curvePoint, 2.5f, {13.04010f, 21.83471f, 29.19886f}},
        {"WorldTrailCos", &WorldTrailCos::curvePoint, 0.0f, {10.64422f, 21.76484f, 31.46484f}},
        {"WorldTrailCos", &WorldTrailCos::curvePoint, 1.0f, {12.83314f, 20.09593f, 31.57116f}},
        {"WorldTrailCos", &WorldTrailCos::curvePoint, 2.5f, {13.04010f, 21.83471f, 32.20171f}},
        {"WorldTrailSin", &WorldTrailSin::curvePoint, 0.0f, {10.64422f, 21.76484f, 31.34422f}},
        {"WorldTrailSin", &WorldTrailSin::curvePoint, 1.0f, {12.83314f, 20.09593f, 32.69166f}},
        {"WorldTrailSin", &WorldTrailSin::curvePoint, 2.5f, {13.04010f, 21.83471f, 33.14163f}},
    };
    const Vector3 centre = {10.0f, 20.0f, 30.0f};
    for (const CurveCase& c : cases) {
        const Vector3 got = c.curve(centre, c.t, 0.7f);
        EXPECT_NEAR(c.expected.x, got.x, 2e-5f) << c.kind << " T " << c.t;
        EXPECT_NEAR(c.expected.y, got.y, 2e-5f) << c.kind << " T " << c.t;
        EXPECT_NEAR(c.expected.z, got.z, 2e-5f) << c.kind << " T " << c.t;
    }

    expectFirstStep<SpectrumTrail>("SpectrumTrail", 0.01f);
    expectFirstStep<ImpulseTrail>("ImpulseTrail", 0.03f);
    expectFirstStep<WorldTrailCos>("WorldTrailCos", 0.03f);
    expectFirstStep<WorldTrailSin>("WorldTrailSin", 0.03f);
}
