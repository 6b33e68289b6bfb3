// Camera: eye, second vector and up vector shared by every camera; text output. Depends on Vector3 only.
#include "3D/Camera.h"

#include <iostream>

Camera::Camera(const Vector3& position, const Vector3& direction, const Vector3& up)
    : m_position(position), m_direction(direction), m_up(up)
{
}

Camera::~Camera()
{
}

Vector3 Camera::getPosition() const
{
    return m_position;
}

Vector3 Camera::getDirection() const
{
    return m_direction;
}

Vector3 Camera::getUp() const
{
    return m_up;
}

void Camera::print() const
{
    std::cout << "Position: " << m_position << std::endl;
    std::cout << "Direction: " << m_direction << std::endl;
    std::cout << "Up: " << m_up << std::endl;
}
