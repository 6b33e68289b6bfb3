// LinearCamera: one camera move, interpolating eye and target point (world units)
// linearly over m_duration milliseconds from its first update. Runs once: after
// the duration it reports false and stays where it was. Duration must be > 0.
#pragma once

#include <cstdint>

#include "3D/GLUCamera.h"

class LinearCamera : public GLUCamera {
public:
    LinearCamera(const Vector3& startPosition, const Vector3& endPosition,
                 const Vector3& startTarget, const Vector3& endTarget, const Vector3& up,
                 uint32_t duration);

    // Looks at m_direction taken as a target point.
    void look() const override;
    // now: SDL ticks in ms. The first call (with now != 0) records the start and
    // moves nothing; later calls return false once more than m_duration passed.
    bool update(uint32_t now);

    uint32_t startTime() const { return m_startTime; }  // ms; 0 = not started

    uint32_t m_duration;  // ms; read by scenes that keep their own shot clocks

private:
    Vector3 m_startPosition;
    Vector3 m_endPosition;
    Vector3 m_startTarget;
    Vector3 m_endTarget;
    uint32_t m_startTime;  // ms; 0 = not started
};
