// SceneSadSpectrumGreet: greeting names written one by one on the flat floor. Depends on the font and the grid.
#include "Scenes/SceneSadSpectrumGreet.h"

#include "Effects/SpectrumGrid.h"

bool SceneSadSpectrumGreet::s_stepFlags[NAME_COUNT] = {};

namespace {

const Colour GREETING_COLOUR = {0.9f, 0.9f, 0.9f, 0.7f};

// Shown in this order, name k once m_step > k.
const SceneSadSpectrumGreet::Greeting GREETINGS[] = {
    {"Dravo team", {45, 1, 50}, 1.0f, &VectorFont::drawText180},
    {"Gorvex", {43, 1, 47}, 1.0f, &VectorFont::drawText180},
    {"Skylomancers", {72, 1, 52}, 1.5f, &VectorFont::drawText270},
    {"Pellucor", {66, 1, 59}, 1.7f, &VectorFont::drawText270},
    {"ZaaaZ", {64, 1, 33}, 1.7f, &VectorFont::drawText270},
    {"Q tor", {58, 1, 33}, 1.7f, &VectorFont::drawText270},
    {"Vendal TWO", {54, 1, 76}, 1.8f, &VectorFont::drawText180},
};
static_assert(sizeof(GREETINGS) / sizeof(GREETINGS[0]) == SceneSadSpectrumGreet::NAME_COUNT,
              "one greeting per step");

}  // namespace

SceneSadSpectrumGreet::SceneSadSpectrumGreet() : m_font(GREETING_COLOUR), m_step(0)
{
    // Straight down, rising by 30 units. The target sits off the vertical by 0.01 on x
    // and z so that the view is defined with up (0, 1, 0); it also turns the names on
    // screen by 45 degrees.
    addShot({50, 50, 50}, {50, 80, 50}, {50.01f, 0, 50.01f}, {50.01f, 0, 50.01f},
            NAME_COUNT * STEP_MS);
}

void SceneSadSpectrumGreet::draw(const DrawContext& context)
{
    for (unsigned k = 0; k < m_step; ++k) {
        const Greeting& name = GREETINGS[k];
        (m_font.*name.drawText)(name.position, name.text, name.scale, context);
    }
}

bool SceneSadSpectrumGreet::update(SpectrumGrid& grid, Music&, unsigned time)
{
    if (m_startTime == 0) {
        // The first update only starts the clock.
        m_startTime = time;
        return true;
    }
    if (advanceShot(time) == Shot::Finished) {
        // The next scene starts from the resting colours.
        grid.resetColours();
        return false;
    }

    // No fade-out: past the first 500 ms the fade holds until the end.
    const unsigned elapsed = time - m_startTime;
    fadeIn(elapsed);

    // The bars left by the previous scene go; its colour waves run out.
    grid.flatten();
    advanceStep(elapsed);
    grid.stepWave();
    return true;
}

void SceneSadSpectrumGreet::advanceStep(unsigned elapsed)
{
    // Step k waits for elapsed > k * STEP_MS (step 0: any time after the start).
    while (m_step < NAME_COUNT && elapsed > m_step * STEP_MS) {
        if (!s_stepFlags[m_step]) {
            s_stepFlags[m_step] = true;
            return;
        }
        ++m_step;
    }
}
