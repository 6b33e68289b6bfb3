// SceneSadSpectrum: four long camera sweeps over the floor, whose 16 band areas
// jump with the music spectrum. Owns its four cameras. The fade runs on a 5000 ms
// cycle from the first update (ms, SDL ticks), deliberately not aligned with the cuts.
#pragma once

#include <vector>

#include "3D/LinearCamera.h"
#include "Scenes/Scene.h"

class SceneSadSpectrum : public Scene {
public:
    static const unsigned SPECTRUM_SIZE = 512;
    static const unsigned FADE_CYCLE_MS = 5000;

    SceneSadSpectrum();
    ~SceneSadSpectrum() override;

    // GL state: modelview matrix only.
    void applyCamera() override;
    // The picture is the grid alone: draws nothing and changes no GL state.
    void draw() override;
    bool update(SpectrumGrid& grid, Music& music, unsigned time) override;

    std::vector<LinearCamera*> m_cameras;  // owned, shot order; never empty
    unsigned m_currentCamera;              // index of the current shot
    unsigned m_startTime;                  // ms of the first update; 0 = not started

    // One buffer for the class, refilled from the music on each update.
    static float s_spectrum[SPECTRUM_SIZE];
};
