// SceneSadSpectrum: spectrum-driven floor under four camera sweeps. Depends on Music, Effects and 3D.
#include "Scenes/SceneSadSpectrum.h"

#include "Effects/SpectrumGrid.h"
#include "Music/Music.h"

float SceneSadSpectrum::s_spectrum[SceneSadSpectrum::SPECTRUM_SIZE];

SceneSadSpectrum::SceneSadSpectrum() : m_currentCamera(0), m_startTime(0)
{
    const Vector3 up = {0.0f, 1.0f, 0.0f};
    m_cameras.push_back(new LinearCamera({92, 4, 56}, {40, 5.5f, 48}, {86, 1, 52}, {34, 1, 48}, up, 5500));
    m_cameras.push_back(new LinearCamera({52, 5.5f, 48}, {104, 6.5f, 96}, {52, 1, 67}, {12, 0, 67}, up, 5500));
    m_cameras.push_back(new LinearCamera({48, 8, 48}, {96, 8, 48}, {38, 0, 38}, {28, 0, 38}, up, 5500));
    m_cameras.push_back(new LinearCamera({56, 4, 104}, {12, 5.5f, 47}, {23, 1, 56}, {46, 1, 29}, up, 5532));
}

SceneSadSpectrum::~SceneSadSpectrum()
{
    for (LinearCamera* camera : m_cameras)
        delete camera;
}

void SceneSadSpectrum::applyCamera()
{
    m_cameras[m_currentCamera]->look();
}

void SceneSadSpectrum::draw()
{
}

bool SceneSadSpectrum::update(SpectrumGrid& grid, Music& music, unsigned time)
{
    if (m_startTime == 0) {
        // The first update only starts the clock: camera and grid wait for the next frame.
        m_startTime = time;
        return true;
    }
    if (!m_cameras[m_currentCamera]->update(time)) {
        ++m_currentCamera;
        if (m_currentCamera >= m_cameras.size()) {
            m_fade = 0.0f;
            return false;
        }
    }

    const unsigned phase = (time - m_startTime) % FADE_CYCLE_MS;
    if (phase <= 499)
        m_fade = phase / 500.0f;
    else if (phase > 4500)
        m_fade = (FADE_CYCLE_MS - phase) / 500.0f;
    // In between the fade holds the last fade-in value.

    music.getSpectrum(s_spectrum, static_cast<int>(SPECTRUM_SIZE));
    grid.raiseBands(s_spectrum);
    return true;
}
