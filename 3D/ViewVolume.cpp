// ViewVolume: planes of the clip matrix. Depends on OpenGL 1.1 only for current().
#include "3D/ViewVolume.h"

#include <GL/glew.h>

#include <cmath>

ViewVolume::ViewVolume(const float clip[16], float marginX, float marginY)
{
    // Row r of the column-major matrix: clip[r], clip[4 + r], clip[8 + r], clip[12 + r].
    // A point is inside when -w (1 + margin) <= x <= w (1 + margin), and the same for
    // y; -w <= z <= w for the near and far planes, which clip geometry exactly.
    const float widen[6] = {marginX, marginX, marginY, marginY, 0.0f, 0.0f};
    for (int p = 0; p < 6; ++p) {
        const int row = p / 2;
        const float sign = (p % 2 == 0) ? 1.0f : -1.0f;
        for (int c = 0; c < 4; ++c)
            m_planes[p][c] = clip[4 * c + 3] * (1.0f + widen[p]) + sign * clip[4 * c + row];
        const float length =
            std::sqrt(m_planes[p][0] * m_planes[p][0] + m_planes[p][1] * m_planes[p][1] +
                      m_planes[p][2] * m_planes[p][2]);
        if (length > 0.0f) {
            for (float& v : m_planes[p])
                v /= length;
        }
    }
}

ViewVolume ViewVolume::current(float pixels)
{
    float projection[16], modelview[16];
    GLint viewport[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetIntegerv(GL_VIEWPORT, viewport);
    float clip[16];
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += projection[4 * k + row] * modelview[4 * column + k];
            clip[4 * column + row] = sum;
        }
    }
    // Normalised device units span 2 across the viewport.
    const float marginX = viewport[2] > 0 ? 2.0f * pixels / viewport[2] : 0.0f;
    const float marginY = viewport[3] > 0 ? 2.0f * pixels / viewport[3] : 0.0f;
    return ViewVolume(clip, marginX, marginY);
}

bool ViewVolume::meetsSphere(const Vector3& centre, float radius) const
{
    for (const auto& plane : m_planes) {
        const float distance =
            plane[0] * centre.x + plane[1] * centre.y + plane[2] * centre.z + plane[3];
        if (distance < -radius)
            return false;
    }
    return true;
}
