// SceneSad: the opening titles. Four 2820 ms shots glide over one line of dark red
// text each, lying just above the floor; no music reaction, the grid untouched. Owns
// its cameras and font. Fade on a 2820 ms cycle from the first update (ms, SDL ticks).
#pragma once

#include <string>

#include "Effects/VectorFont.h"
#include "Scenes/ShotScene.h"

class SceneSad : public ShotScene {
public:
    static constexpr unsigned SHOT_MS = 2820;

    // One title line: its text, the position of its first letter (world units), its scale.
    struct Title {
        std::string text;
        Vector3 position;
        float scale;
    };

    SceneSad();

    // Draws the current step's title. GL state: as VectorFont::drawText180.
    void draw(const DrawContext& context) override;
    // Neither the grid nor the music is used.
    bool update(SpectrumGrid& grid, Music& music, unsigned time) override;

    // The title of the current step; nullptr once the four shots are over.
    const Title* currentTitle() const;

    unsigned step() const { return m_step; }

private:
    VectorFont m_font;
    unsigned m_step;  // text step; follows m_currentCamera
};
