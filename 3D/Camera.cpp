// Camera: eye, second vector and up vector shared by every camera; the one gluLookAt; text output.
#include "3D/Camera.h"

#include <GL/glew.h>
#include <GL/glu.h>

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

void Camera::lookAt(const Vector3& target) const
{
    glLoadIdentity();
    gluLookAt(m_position.x, m_position.y, m_position.z, target.x, target.y, target.z, m_up.x,
              m_up.y, m_up.z);
}

void Camera::print() const
{
    std::cout << "Position: " << m_position << std::endl;
    std::cout << "Direction: " << m_direction << std::endl;
    std::cout << "Up: " << m_up << std::endl;
}
