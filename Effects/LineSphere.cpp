// LineSphere: latitude circles of the sphere. Depends on LineRenderer.
#include "Effects/LineSphere.h"

#include <cmath>
#include <vector>

namespace {

// Degrees to radians. The angle is rounded to single precision before its sine and
// cosine are taken in double precision, so the poles land a hair off (cos of -90
// degrees is about -4.37e-8, not 0) and every point is reproducible bit for bit.
const double RADIANS_PER_DEGREE = 0.017453292500000002;

struct Angle {
    double cosine;
    double sine;
};

Angle angle(double degrees)
{
    const double radians = static_cast<float>(degrees * RADIANS_PER_DEGREE);
    return {std::cos(radians), std::sin(radians)};
}

LineVertex pointAt(const LineVertex& paint, float radius, const Angle& latitude,
                   const Angle& longitude)
{
    LineVertex v = paint;
    v.x = static_cast<float>(radius * latitude.cosine * longitude.cosine);
    v.y = static_cast<float>(radius * latitude.cosine * longitude.sine);
    v.z = static_cast<float>(radius * latitude.sine);
    return v;
}

}  // namespace

void SphereShape::build(LineRenderer& lines, const LineVertex& paint, float radius,
                        unsigned divisions)
{
    const unsigned n = divisions;
    if (n == 0)
        return;
    const double latitudeStep = 180.0 / n;
    const double longitudeStep = 360.0 / n;

    std::vector<LineVertex> points;
    points.reserve(4u * n * n);
    Angle previousLatitude = angle(-90.0);
    for (unsigned i = 1; i <= n; ++i) {
        const Angle latitude = angle(-90.0 + i * latitudeStep);
        for (unsigned j = 1; j <= n; ++j) {
            const Angle previousLongitude = angle((j - 1) * longitudeStep);
            const Angle longitude = angle(j * longitudeStep);
            // Two pairs: an arc of this latitude's circle, then one of the previous.
            points.push_back(pointAt(paint, radius, latitude, previousLongitude));
            points.push_back(pointAt(paint, radius, latitude, longitude));
            points.push_back(pointAt(paint, radius, previousLatitude, longitude));
            points.push_back(pointAt(paint, radius, previousLatitude, previousLongitude));
        }
        previousLatitude = latitude;
    }
    lines.addLines(points);
}
