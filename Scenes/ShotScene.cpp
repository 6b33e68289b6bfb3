// ShotScene: shot advance, edge fades, beat pulse and spectrum reading shared by the scenes.
#include "Scenes/ShotScene.h"

#include "Music/Music.h"

ShotScene::ShotScene() : m_currentCamera(0), m_startTime(0), m_spectrum()
{
}

void ShotScene::applyCamera()
{
    m_cameras[m_currentCamera]->look();
}

void ShotScene::addShot(const Vector3& startPosition, const Vector3& endPosition,
                        const Vector3& startTarget, const Vector3& endTarget, unsigned duration)
{
    const Vector3 up = {0.0f, 1.0f, 0.0f};
    m_cameras.push_back(std::make_unique<LinearCamera>(startPosition, endPosition, startTarget,
                                                       endTarget, up, duration));
}

ShotScene::Shot ShotScene::advanceShot(unsigned time)
{
    if (currentCamera().update(time))
        return Shot::Running;
    ++m_currentCamera;
    if (m_currentCamera < m_cameras.size())
        return Shot::Changed;
    m_fade = 0.0f;
    return Shot::Finished;
}

bool ShotScene::fadeIn(unsigned ms)
{
    if (ms > 499)
        return false;
    m_fade = ms / 500.0f;
    return true;
}

bool ShotScene::advanceOnSchedule(unsigned time)
{
    const Shot shot = advanceShot(time);
    if (shot != Shot::Running) {
        m_startTime += m_cameras[m_currentCamera - 1]->m_duration;
        if (shot == Shot::Finished)
            return false;
    }
    const unsigned duration = currentCamera().m_duration;
    fadeAtEdges((time - m_startTime) % duration, duration);
    return true;
}

void ShotScene::fadeAtEdges(unsigned phase, unsigned cycle)
{
    if (fadeIn(phase))
        return;
    if (phase > cycle - 500)
        m_fade = (cycle - phase) / 500.0f;
}

void ShotScene::pulse(float decay)
{
    if (m_amplification > 0.0f)
        m_amplification -= decay;
    else
        m_amplification = 0.0f;
    if (m_spectrum[2] >= 0.25f)
        m_amplification = 1.0f;
}

void ShotScene::readSpectrum(Music& music)
{
    music.getSpectrum(m_spectrum, static_cast<int>(SPECTRUM_SIZE));
}
