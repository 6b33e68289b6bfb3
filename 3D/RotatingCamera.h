// RotatingCamera: orbits its centre (m_direction, world units) at m_radius,
// m_speed degrees per update, eye height = radius; looks at the centre.
#pragma once

#include "3D/GLUCamera.h"

class RotatingCamera : public GLUCamera {
public:
    RotatingCamera(const Vector3& position, const Vector3& centre, const Vector3& up, float radius,
                   float speed);

    void look() const override;
    // Places the eye for the current angle, then advances the angle.
    void update();

    float angle() const { return m_angle; }  // degrees
    void setAngle(float degrees) { m_angle = degrees; }

private:
    float m_radius;  // world units
    float m_speed;   // degrees per update
    float m_angle;   // degrees, grows without bound
};
