// StereoBuffer: mixing bus; depends on <cmath>.
#include "tools/composer/StereoBuffer.h"

#include <algorithm>
#include <cassert>
#include <cmath>

StereoBuffer::StereoBuffer(size_t frames) : m_left(frames, 0.0f), m_right(frames, 0.0f)
{
}

void StereoBuffer::add(long frame, float left, float right)
{
    if (frame < 0 || static_cast<size_t>(frame) >= m_left.size())
        return;
    m_left[frame] += left;
    m_right[frame] += right;
}

void StereoBuffer::addPanned(long frame, float value, float pan)
{
    // Equal power: at the centre each side gets 1/sqrt(2) of the value.
    float angle = (std::min(std::max(pan, -1.0f), 1.0f) + 1.0f) * 0.25f * 3.14159265f;
    add(frame, value * std::cos(angle), value * std::sin(angle));
}

void StereoBuffer::mix(const StereoBuffer& other, float gain)
{
    assert(other.frames() == frames());
    for (size_t i = 0; i < m_left.size(); ++i) {
        m_left[i] += other.m_left[i] * gain;
        m_right[i] += other.m_right[i] * gain;
    }
}

void StereoBuffer::scale(size_t frame, float gain)
{
    assert(frame < m_left.size());
    m_left[frame] *= gain;
    m_right[frame] *= gain;
}

void StereoBuffer::saturate(float drive)
{
    assert(drive > 0.0f);
    for (size_t i = 0; i < m_left.size(); ++i) {
        m_left[i] = std::tanh(drive * m_left[i]) / drive;
        m_right[i] = std::tanh(drive * m_right[i]) / drive;
    }
}
