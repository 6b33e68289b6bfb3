// GLUCamera: gluLookAt along a view direction. Depends on GLU.
#include "3D/GLUCamera.h"

#include <GL/glew.h>
#include <GL/glu.h>

GLUCamera::GLUCamera(const Vector3& position, const Vector3& direction, const Vector3& up)
    : Camera(position, direction, up)
{
}

void GLUCamera::look() const
{
    glLoadIdentity();
    gluLookAt(m_position.x, m_position.y, m_position.z,
              m_position.x + m_direction.x, m_position.y + m_direction.y, m_position.z + m_direction.z,
              m_up.x, m_up.y, m_up.z);
}
