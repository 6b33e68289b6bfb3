// SceneSpectrumImpulsePart: one long camera move along the floor while six point trails
// swirl out from one spot, the bands rise with the music (band scale 8), and each loud
// one of the eight lowest spectrum values starts a colour wave of a random colour ahead
// of the camera. Owns its camera (one 15000 ms shot, ms of SDL ticks) and its six trails.
#pragma once

#include <memory>
#include <vector>

#include "Effects/PointTrail.h"
#include "Scenes/ShotScene.h"

class SceneSpectrumImpulsePart : public ShotScene {
public:
    static constexpr float BAND_SCALE = 8.0f;
    static constexpr float PULSE_DECAY = 0.04f;    // per update
    static constexpr float WAVE_THRESHOLD = 0.2f;  // a value above it starts a wave
    static constexpr unsigned WAVE_BANDS = 8;      // spectrum values that start waves

    SceneSpectrumImpulsePart();

    // GL state: draws the trails with AdditiveBlend, so blending ends disabled and the
    // depth test enabled; leaves the point size at 3 x stroke scale.
    void draw(const DrawContext& context) override;
    // Draws from Random: five values per wave started, in spectrum order.
    bool update(SpectrumGrid& grid, Music& music, unsigned time) override;

    const ImpulseTrail& trail(unsigned k) const { return *m_trails[k]; }
    unsigned trailCount() const { return static_cast<unsigned>(m_trails.size()); }

private:
    std::vector<std::unique_ptr<ImpulseTrail>> m_trails;  // six

    // One wave of a random colour on a random cell of the strip ahead of the camera.
    void startRandomWave(SpectrumGrid& grid);
};
