// Camera: an eye position, a second vector (direction or target, per subclass)
// and an up vector, all in world units; look() loads them into the current
// (modelview) matrix with gluLookAt. The projection is not a camera's business.
#pragma once

#include "3D/Vector3.h"

class Camera {
public:
    Camera(const Vector3& position, const Vector3& direction, const Vector3& up);
    virtual ~Camera();

    virtual Vector3 getPosition() const;
    virtual Vector3 getDirection() const;
    virtual Vector3 getUp() const;
    // GL state: replaces the current matrix (callers have GL_MODELVIEW current).
    virtual void look() const = 0;

    // Writes the three vectors, one line each, to standard output.
    void print() const;

    // The matrix gluLookAt multiplies the current one by (column-major): the view from
    // eye towards target with up upwards. Built here for the browser, whose GL
    // emulation leaves the matrix unchanged on gluLookAt.
    static void lookAtMatrix(const Vector3& eye, const Vector3& target, const Vector3& up,
                             float matrix[16]);

protected:
    // GL state: replaces the current matrix with the view from m_position towards
    // the point target (world units), m_up upwards.
    void lookAt(const Vector3& target) const;

    Vector3 m_position;
    Vector3 m_direction;
    Vector3 m_up;
};
