// SceneSpectrumImpulsePart: six trails and random colour waves ahead of one camera move.
// Depends on Effects, Music and Random.
#include "Scenes/SceneSpectrumImpulsePart.h"

#include "Effects/AdditiveBlend.h"
#include "Effects/SpectrumGrid.h"
#include "Effects/TrailGroup.h"
#include "Zembra/Random.h"

namespace {

const double SPACING = 1.5;  // world units between grid points, as the manager builds it

// Waves: first step and step limit give a diamond of radius 4.
const unsigned WAVE_FIRST_STEP = 1;
const unsigned WAVE_STEP_LIMIT = 6;

float unit(int draw)
{
    return static_cast<float>(draw) / Random::MAX;
}

}  // namespace

SceneSpectrumImpulsePart::SceneSpectrumImpulsePart()
{
    addShot({25, 5.5f, 20}, {65, 2, 20}, {35, 1, 30}, {75, 1, 30}, 15000);
    TrailGroup{{55, 3, 40}}.addTo(m_trails);
}

void SceneSpectrumImpulsePart::draw(const DrawContext& context)
{
    const AdditiveBlend additive;
    for (const auto& trail : m_trails)
        trail->draw(context);
}

void SceneSpectrumImpulsePart::startRandomWave(SpectrumGrid& grid)
{
    // The order of the draws is fixed (one seed, one picture): the colour's three
    // components, the offset ahead of the camera, then the depth of the cell.
    const int red = Random::next();
    const int green = Random::next();
    const int blue = Random::next();
    const int ahead = Random::next();
    const Vector3 camera = currentCamera().getPosition();
    // Column q: up to 20 cells (30 units) beyond the camera's x. Truncated towards zero;
    // a column off the grid is ignored by startWave.
    const int q = static_cast<int>(20.0 * ahead / Random::MAX + camera.x / SPACING);
    // Row p: 20 to 30, the strip z = 30 to 45 that the camera looks along.
    const int p = static_cast<int>(20.0 + 10.0 * Random::next() / Random::MAX);
    const Colour colour = {unit(red), unit(green), unit(blue), 0.7f};
    grid.startWave(static_cast<unsigned>(p), static_cast<unsigned>(q), colour, WAVE_FIRST_STEP,
                   WAVE_STEP_LIMIT);
}

bool SceneSpectrumImpulsePart::update(SpectrumGrid& grid, Music& music, unsigned time)
{
    grid.m_bandScale = BAND_SCALE;
    for (auto& trail : m_trails)
        trail->update();
    // Unlike the other scenes, the first update goes on to the camera and the grid.
    if (m_startTime == 0)
        m_startTime = time;

    m_fade = 1.0f;  // between the edges of the shot
    if (!advanceOnSchedule(time))
        return false;

    readSpectrum(music);
    grid.raiseBands(m_spectrum);
    for (unsigned i = 0; i < WAVE_BANDS; ++i)
        if (m_spectrum[i] > WAVE_THRESHOLD)
            startRandomWave(grid);
    grid.stepWave();
    pulse(PULSE_DECAY);
    return true;
}
