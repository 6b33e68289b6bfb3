// SceneSadSpectrum: spectrum-driven floor under four camera sweeps. Depends on Music, Effects and 3D.
#include "Scenes/SceneSadSpectrum.h"

#include "Effects/SpectrumGrid.h"

SceneSadSpectrum::SceneSadSpectrum()
{
    addShot({92, 4, 56}, {40, 5.5f, 48}, {86, 1, 52}, {34, 1, 48}, 5500);
    addShot({52, 5.5f, 48}, {104, 6.5f, 96}, {52, 1, 67}, {12, 0, 67}, 5500);
    addShot({48, 8, 48}, {96, 8, 48}, {38, 0, 38}, {28, 0, 38}, 5500);
    addShot({56, 4, 104}, {12, 5.5f, 47}, {23, 1, 56}, {46, 1, 29}, 5532);
}

void SceneSadSpectrum::draw(const DrawContext&)
{
}

bool SceneSadSpectrum::update(SpectrumGrid& grid, Music& music, unsigned time)
{
    if (m_startTime == 0) {
        // The first update only starts the clock: camera and grid wait for the next frame.
        m_startTime = time;
        return true;
    }
    if (advanceShot(time) == Shot::Finished)
        return false;

    // Between the edges of the cycle the fade holds the last fade-in value.
    fadeAtEdges((time - m_startTime) % FADE_CYCLE_MS, FADE_CYCLE_MS);

    readSpectrum(music);
    grid.raiseBands(m_spectrum);
    return true;
}
