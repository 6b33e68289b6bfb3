// RotatingCamera: fixed-step orbit around a point. Depends on <cmath>.
#include "3D/RotatingCamera.h"

#include <cmath>

RotatingCamera::RotatingCamera(const Vector3& position, const Vector3& centre, const Vector3& up,
                               float radius, float speed)
    : GLUCamera(position, centre, up), m_radius(radius), m_speed(speed), m_angle(0.0f)
{
}

void RotatingCamera::look() const
{
    lookAt(m_direction);
}

void RotatingCamera::update()
{
    const float a = static_cast<float>(m_angle * 0.017453292500000002);
    m_position.x = static_cast<float>(m_direction.x - std::sin(static_cast<double>(a)) * m_radius);
    m_position.y = m_radius;
    m_position.z = static_cast<float>(m_direction.z - std::cos(static_cast<double>(a)) * m_radius);
    m_angle += m_speed;
}
