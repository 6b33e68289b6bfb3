// SceneSadSpectrum: four long camera sweeps over the floor, whose 16 band areas
// jump with the music spectrum. Owns its four cameras. The fade runs on a 5000 ms
// cycle from the first update (ms, SDL ticks), deliberately not aligned with the cuts.
#pragma once

#include "Scenes/ShotScene.h"

class SceneSadSpectrum : public ShotScene {
public:
    static constexpr unsigned FADE_CYCLE_MS = 5000;

    SceneSadSpectrum();

    // The picture is the grid alone: draws nothing and changes no GL state.
    void draw(const DrawContext& context) override;
    bool update(SpectrumGrid& grid, Music& music, unsigned time) override;
};
