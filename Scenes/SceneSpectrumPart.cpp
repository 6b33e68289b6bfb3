// SceneSpectrumPart: twelve trails over the spectrum floor, two shots. Depends on Effects and Music.
#include "Scenes/SceneSpectrumPart.h"

#include "Effects/AdditiveBlend.h"
#include "Effects/SpectrumGrid.h"

namespace {

// Two spots, each with the six trail colours in order; heights step down by 0.01 so
// that the trails of a group do not sit exactly on top of one another.
struct TrailPlace {
    Vector3 centre;
    unsigned colour;  // index into trailColours
    float phase;
};

const TrailPlace kTrails[] = {
    {{20, 1.0f, 20}, 0, 0.2f},  {{20, 0.99f, 20}, 1, 0.4f}, {{20, 0.98f, 20}, 2, 0.6f},
    {{20, 0.97f, 20}, 3, 0.7f}, {{20, 0.96f, 20}, 4, 0.9f}, {{20, 0.95f, 20}, 5, 1.1f},
    {{10, 2.0f, 10}, 0, 1.2f},  {{10, 1.99f, 10}, 1, 1.4f}, {{10, 1.98f, 10}, 2, 1.6f},
    {{10, 1.97f, 10}, 3, 1.7f}, {{10, 1.96f, 10}, 4, 1.9f}, {{10, 1.95f, 10}, 5, 2.1f},
};

const int kTrailCapacity = 500;  // more than a trail ever holds (about 202)

}  // namespace

SceneSpectrumPart::SceneSpectrumPart()
{
    addShot({49, 5.5f, 59}, {79, 4, 89}, {98, 1, 89}, {37, 1, 43}, 5000);
    addShot({79, 5.5f, 89}, {40, 4, 40}, {40, 1, 50}, {20, 1, 20}, 5000);
    for (const TrailPlace& t : kTrails)
        m_trails.push_back(std::make_unique<SpectrumTrail>(t.centre, trailColours[t.colour],
                                                           kTrailCapacity, t.phase));
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
