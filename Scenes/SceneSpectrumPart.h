// SceneSpectrumPart: two groups of six point trails swirl above two spots of the floor
// while its bands rise with the music (band scale 10) and a loud third band kicks the
// pulse. Owns its two cameras (5000 ms shots) and its twelve trails. Each shot fades in
// and out over 500 ms on the scene's own schedule (ms, SDL ticks, from the first update).
#pragma once

#include <memory>
#include <vector>

#include "Effects/PointTrail.h"
#include "Scenes/ShotScene.h"

class SceneSpectrumPart : public ShotScene {
public:
    static constexpr float BAND_SCALE = 10.0f;
    static constexpr float PULSE_DECAY = 0.04f;  // per update

    SceneSpectrumPart();

    // GL state: draws the trails with AdditiveBlend, so blending ends disabled and the
    // depth test enabled; leaves the point size at 3 x stroke scale.
    void draw(const DrawContext& context) override;
    bool update(SpectrumGrid& grid, Music& music, unsigned time) override;

    const SpectrumTrail& trail(unsigned k) const { return *m_trails[k]; }
    unsigned trailCount() const { return static_cast<unsigned>(m_trails.size()); }

private:
    std::vector<std::unique_ptr<SpectrumTrail>> m_trails;  // twelve
};
