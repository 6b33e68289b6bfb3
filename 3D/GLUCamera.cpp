// GLUCamera: gluLookAt along a view direction. Depends on GLU.
#include "3D/GLUCamera.h"

GLUCamera::GLUCamera(const Vector3& position, const Vector3& direction, const Vector3& up)
    : Camera(position, direction, up)
{
}

void GLUCamera::look() const
{
    lookAt(
        {m_position.x + m_direction.x, m_position.y + m_direction.y, m_position.z + m_direction.z});
}
