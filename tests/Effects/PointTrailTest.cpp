// Point trails without GL: emission, ageing and removal, colour and fade, the four
// curves with their steps, and the six-trail groups the scenes set up.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "Effects/PointTrail.h"
#include "Effects/TrailGroup.h"

namespace {

const Vector3 ORIGIN = {0.0f, 0.0f, 0.0f};
const Colour ORANGE = {1.0f, 0.5f, 0.0f, 1.0f};

void expectAt(const Vector3& expected, const TrailPoint& p)
{
    EXPECT_NEAR(expected.x, p.x, 1e-4f);
    EXPECT_NEAR(expected.y, p.y, 1e-4f);
    EXPECT_NEAR(expected.z, p.z, 1e-4f);
}

}  // namespace

TEST(PointTrail, FirstPointItsColourAndItsFade)
{
    SpectrumTrail trail(ORIGIN, ORANGE, 500, 0.0f);
    EXPECT_EQ(0u, trail.count());
    trail.update();
    ASSERT_EQ(1u, trail.count());
    const TrailPoint& first = trail.points()[0];
    expectAt({0.0f, 2.0f, 1.0f}, first);  // (sin 0 + sin 0, 1 + cos 0, cos 0)
    EXPECT_EQ(0u, first.age);
    EXPECT_FLOAT_EQ(0.01f, trail.t());
    // Red, green and blue at 0.3 of the given colour, alpha as given.
    EXPECT_FLOAT_EQ(0.3f, first.r);
    EXPECT_FLOAT_EQ(0.15f, first.g);
    EXPECT_EQ(0.0f, first.b);
    EXPECT_EQ(1.0f, first.a);

    // 200 updates later it has sunk by 0.4 and faded out; only alpha fades.
    for (int i = 0; i < 200; ++i)
        trail.update();
    EXPECT_EQ(200u, first.age);
    EXPECT_NEAR(0.0f, first.a, 1e-5f);
    EXPECT_NEAR(1.6f, first.y, 5e-5f);
    EXPECT_FLOAT_EQ(0.3f, first.r);
}

TEST(PointTrail, SteadyCountAndReplacementOfTheOldest)
{
    SpectrumTrail trail(ORIGIN, ORANGE, 500, 0.0f);
    for (int i = 0; i < 202; ++i)
        trail.update();
    ASSERT_EQ(202u, trail.count());
    EXPECT_EQ(201u, trail.points()[0].age);
    const TrailPoint newest = trail.points()[201];

    // The 203rd update drops the oldest: the newest is copied into its slot (and not
    // aged in that update), the new point takes the freed end slot.
    trail.update();
    ASSERT_EQ(202u, trail.count());
    EXPECT_EQ(newest.age, trail.points()[0].age);
    EXPECT_EQ(newest.y, trail.points()[0].y);
    expectAt(SpectrumTrail::curvePoint(ORIGIN, 202 * 0.01f, 0.0f), trail.points()[201]);
    EXPECT_EQ(0u, trail.points()[201].age);

    // Steady from then on. A point that skipped its ageing lives one update longer,
    // so now and then 203 points are live; none is ever older than 201.
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
    ImpulseTrail trail(centre, ORANGE, 1, 0.5f);
    trail.update();
    const TrailPoint born = trail.points()[0];
    // The slot is taken: the next 201 updates only age the point.
    for (int i = 0; i < 201; ++i) {
        trail.update();
        ASSERT_EQ(1u, trail.count());
        ASSERT_EQ(born.x, trail.points()[0].x);
    }
    EXPECT_NEAR(born.y - 201 * 0.002f, trail.points()[0].y, 1e-4f);
    // In the 202nd it is removed and the free slot takes a point at the current T.
    trail.update();
    ASSERT_EQ(1u, trail.count());
    EXPECT_EQ(0u, trail.points()[0].age);
    EXPECT_EQ(1.0f, trail.points()[0].a);
    expectAt(ImpulseTrail::curvePoint(centre, 202 * 0.03f, 0.5f), trail.points()[0]);
}

namespace {

// A new trail's first point lies on its curve at T = 0, and T moves on by the step.
template <typename Trail>
void expectFirstStep(float step)
{
    Trail trail({10.0f, 20.0f, 30.0f}, ORANGE, 10, 0.7f);
    trail.update();
    EXPECT_EQ(Trail::curvePoint({10.0f, 20.0f, 30.0f}, 0.0f, 0.7f).z, trail.points()[0].z);
    EXPECT_EQ(step, trail.t());
}

}  // namespace

TEST(PointTrail, FourCurvesAndTheirSteps)
{
    // Centre (10, 20, 30), phase 0.7; values worked out in double precision. x and y
    // are shared: 10.64422, 21.76484 at T = 0; 12.83314, 20.09593 at 1; 13.04010, 21.83471 at 2.5.
    const Vector3 xy[] = {
        {10.64422f, 21.76484f, 0}, {12.83314f, 20.09593f, 0}, {13.04010f, 21.83471f, 0}};
    const float ts[] = {0.0f, 1.0f, 2.5f};
    struct Case {
        const char* kind;
        Vector3 (*curve)(const Vector3&, float, float);
        float z[3];
    };
    const Case cases[] = {
        {"SpectrumTrail", &SpectrumTrail::curvePoint, {31.00000f, 31.54030f, 31.69886f}},
        {"ImpulseTrail", &ImpulseTrail::curvePoint, {31.00000f, 30.54030f, 29.19886f}},
        {"WorldTrailCos", &WorldTrailCos::curvePoint, {31.46484f, 31.57116f, 32.20171f}},
        {"WorldTrailSin", &WorldTrailSin::curvePoint, {31.34422f, 32.69166f, 33.14163f}},
    };
    for (const Case& c : cases)
        for (int i = 0; i < 3; ++i) {
            const Vector3 got = c.curve({10.0f, 20.0f, 30.0f}, ts[i], 0.7f);
            EXPECT_NEAR(xy[i].x, got.x, 2e-5f) << c.kind << " T " << ts[i];
            EXPECT_NEAR(xy[i].y, got.y, 2e-5f) << c.kind << " T " << ts[i];
            EXPECT_NEAR(c.z[i], got.z, 2e-5f) << c.kind << " T " << ts[i];
        }

    expectFirstStep<SpectrumTrail>(0.01f);
    expectFirstStep<ImpulseTrail>(0.03f);
    expectFirstStep<WorldTrailCos>(0.03f);
    expectFirstStep<WorldTrailSin>(0.03f);
}

// A trail group: six trails in colour order, each 0.01 below the one before, with the
// shared phases plus the group's offset, and room for 500 points.
TEST(TrailGroup, SixTrailsInColourOrderSteppingDownWithTheirPhases)
{
    std::vector<std::unique_ptr<WorldTrailSin>> trails;
    TrailGroup{{10, 2, 30}, 1.0f}.addTo(trails);
    ASSERT_EQ(6u, trails.size());
    const float heights[6] = {2.0f, 1.99f, 1.98f, 1.97f, 1.96f, 1.95f};
    const float phases[6] = {1.2f, 1.4f, 1.6f, 1.7f, 1.9f, 2.1f};
    for (unsigned k = 0; k < 6; ++k) {
        WorldTrailSin& trail = *trails[k];
        EXPECT_EQ(500u, trail.capacity());
        EXPECT_FLOAT_EQ(0.3f * trailColours[k].g, trail.colour().g) << k;
        EXPECT_FLOAT_EQ(0.3f * trailColours[k].b, trail.colour().b) << k;
        // The phase shows in the first point's z, the height in its y.
        trail.update();
        expectAt(WorldTrailSin::curvePoint({10, heights[k], 30}, 0.0f, phases[k]),
                 trail.points()[0]);
    }
}
