// SceneSpectrumPart: twelve trails over the spectrum floor, two shots. Depends on Effects and Music.
#include "Scenes/SceneSpectrumPart.h"

#include "Effects/AdditiveBlend.h"
#include "Effects/SpectrumGrid.h"
#include "Effects/TrailGroup.h"

SceneSpectrumPart::SceneSpectrumPart()
{
    addShot({49, 5.5f, 59}, {79, 4, 89}, {98, 1, 89}, {37, 1, 43}, 5000);
    addShot({79, 5.5f, 89}, {40, 4, 40}, {40, 1, 50}, {20, 1, 20}, 5000);
    // The second spot's phases run one radian ahead of the first's.
    TrailGroup{{20, 1, 20}}.addTo(m_trails);
    TrailGroup{{10, 2, 10}, 1.0f}.addTo(m_trails);
}

void SceneSpectrumPart::draw(const DrawContext& context)
{
    const AdditiveBlend additive;
    for (const auto& trail : m_trails)
        trail->draw(context);
}

bool SceneSpectrumPart::update(SpectrumGrid& grid, Music& music, unsigned time)
{
    grid.m_bandScale = BAND_SCALE;
    // The trails move on every update, the first and the last included.
    for (auto& trail : m_trails)
        trail->update();
    if (m_startTime == 0) {
        m_startTime = time;
        return true;
    }

    // Between the edges the fade holds its last fade-in value.
    if (!advanceOnSchedule(time))
        return false;

    readSpectrum(music);
    grid.raiseBands(m_spectrum);
    pulse(PULSE_DECAY);
    return true;
}
