// Scene: one section of the demo, played by the SceneManager. Exports a pulse
// amount ("amplif", 0 = none, decays after a beat) and a fade (0 black to 1 full)
// that the post-processing chain reads every frame. Times are SDL ticks in ms.
#pragma once

#include "3D/DrawContext.h"

class Music;
class SpectrumGrid;

class Scene {
public:
    Scene() : m_amplification(0.0f), m_fade(0.0f) {}
    virtual ~Scene() {}

    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Loads the current shot's view into the modelview matrix (GL state: modelview only).
    virtual void applyCamera() = 0;
    // Draws the scene's own objects over the already drawn grid; changes no scene state.
    virtual void draw(const DrawContext& context) = 0;
    // Advances to time (ms); may change the grid. False on the call at which the scene ends.
    virtual bool update(SpectrumGrid& grid, Music& music, unsigned time) = 0;

    virtual float getAmplification() { return m_amplification; }
    virtual float getFade() { return m_fade; }

protected:
    float m_amplification;
    float m_fade;
};
