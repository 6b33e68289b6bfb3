// LinearCamera: timed straight-line camera move on the SDL millisecond clock.
#include "3D/LinearCamera.h"

LinearCamera::LinearCamera(const Vector3& startPosition, const Vector3& endPosition,
                           const Vector3& startTarget, const Vector3& endTarget, const Vector3& up,
                           uint32_t duration)
    : GLUCamera(startPosition, startTarget, up), m_duration(duration),
      m_startPosition(startPosition), m_endPosition(endPosition), m_startTarget(startTarget),
      m_endTarget(endTarget), m_startTime(0)
{
}

void LinearCamera::look() const
{
    lookAt(m_direction);
}

static float lerp(float a, float b, float t)
{
    return a * (1.0f - t) + b * t;
}

bool LinearCamera::update(uint32_t now)
{
    if (m_startTime == 0) {
        // A call at tick 0 cannot be told from "not started": the next call starts again.
        m_startTime = now;
        return true;
    }
    const uint32_t elapsed = now - m_startTime;  // a time before the start wraps and ends the move
    if (elapsed > m_duration)
        return false;
    const float t = static_cast<float>(elapsed) / static_cast<float>(m_duration);
    m_position = {lerp(m_startPosition.x, m_endPosition.x, t),
                  lerp(m_startPosition.y, m_endPosition.y, t),
                  lerp(m_startPosition.z, m_endPosition.z, t)};
    m_direction = {lerp(m_startTarget.x, m_endTarget.x, t), lerp(m_startTarget.y, m_endTarget.y, t),
                   lerp(m_startTarget.z, m_endTarget.z, t)};
    return true;
}
