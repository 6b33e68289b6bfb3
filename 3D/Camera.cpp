// Camera: eye, second vector and up vector shared by every camera; the one gluLookAt; text output.
#include "3D/Camera.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>
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
#ifdef __EMSCRIPTEN__
    // emscripten's gluLookAt (3.1.6) hands its arguments to its matrix library in the
    // wrong order and leaves the matrix as it was.
    float view[16];
    lookAtMatrix(m_position, target, m_up, view);
    glMultMatrixf(view);
#else
    gluLookAt(m_position.x, m_position.y, m_position.z, target.x, target.y, target.z, m_up.x,
              m_up.y, m_up.z);
#endif
}

void Camera::lookAtMatrix(const Vector3& eye, const Vector3& target, const Vector3& up,
                          float matrix[16])
{
    // GLU's construction: forward f, side s = f x up, then u = s x f, both of s and f
    // normalised (a zero vector stays zero), and the eye moved to the origin.
    double f[3] = {target.x - eye.x, target.y - eye.y, target.z - eye.z};
    const auto normalise = [](double v[3]) {
        const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (length > 0.0)
            for (int i = 0; i < 3; ++i)
                v[i] /= length;
    };
    normalise(f);
    double s[3] = {f[1] * up.z - f[2] * up.y, f[2] * up.x - f[0] * up.z, f[0] * up.y - f[1] * up.x};
    normalise(s);
    const double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2],
                         s[0] * f[1] - s[1] * f[0]};
    const double rows[3][3] = {{s[0], s[1], s[2]}, {u[0], u[1], u[2]}, {-f[0], -f[1], -f[2]}};
    const double at[3] = {eye.x, eye.y, eye.z};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            matrix[4 * c + r] = static_cast<float>(rows[r][c]);
        matrix[12 + r] =
            static_cast<float>(-(rows[r][0] * at[0] + rows[r][1] * at[1] + rows[r][2] * at[2]));
        matrix[4 * r + 3] = 0.0f;
    }
    matrix[15] = 1.0f;
}

void Camera::print() const
{
    std::cout << "Position: " << m_position << std::endl;
    std::cout << "Direction: " << m_direction << std::endl;
    std::cout << "Up: " << m_up << std::endl;
}
