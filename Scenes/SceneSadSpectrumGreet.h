// SceneSadSpectrumGreet: the greetings. One 19530 ms shot looks straight down on the
// flattened floor while rising; every 2790 ms one more light grey name is written on
// it, seven in all, and shown names stay. Owns its camera and font. Times: ms, SDL ticks.
#pragma once

#include <string>

#include "Effects/VectorFont.h"
#include "Scenes/ShotScene.h"

class SceneSadSpectrumGreet : public ShotScene {
public:
    static constexpr unsigned NAME_COUNT = 7;
    static constexpr unsigned STEP_MS = 2790;  // one more name per STEP_MS

    // One name: text, position of its first letter (world units), scale, and the
    // font call that turns it (180 or 270 degrees about +Y).
    struct Greeting {
        std::string text;
        Vector3 position;
        float scale;
        void (VectorFont::*drawText)(const Vector3&, const std::string&, float,
                                     const DrawContext&) const;
    };

    SceneSadSpectrumGreet();

    // Draws the first m_step names. GL state: as VectorFont::drawText180.
    void draw(const DrawContext& context) override;
    // Flattens the grid and steps its colour waves on every update; resets its colours
    // on the update at which the scene ends. The music is not used.
    bool update(SpectrumGrid& grid, Music& music, unsigned time) override;

    unsigned step() const { return m_step; }

private:
    VectorFont m_font;
    unsigned m_step;  // names shown, 0 to NAME_COUNT

    // Advances m_step as far as the elapsed time and the one-shot flags allow.
    void advanceStep(unsigned elapsed);

    // One-shot flags of steps 0 to 6, shared by every instance and never reset. The
    // first update past a step's threshold sets its flag and the next one takes the
    // step; a later instance finds the flags set and steps on the first update.
    static bool s_stepFlags[NAME_COUNT];
};
