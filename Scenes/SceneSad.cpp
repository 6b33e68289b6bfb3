// SceneSad: title shots, their text and their fade. Depends on the font and the cameras.
#include "Scenes/SceneSad.h"

namespace {

const Colour TITLE_COLOUR = {0.7f, 0.0f, 0.0f, 0.7f};

// Fade-in over the first 500 ms of each cycle, a short hold, then a linear fade-out
// from FADE_OUT_AFTER_MS to the end of the cycle.
const unsigned FADE_OUT_AFTER_MS = 570;
const float FADE_OUT_MS = 2250.0f;

// One per shot, in shot order.
const SceneSad::Title TITLES[] = {
    {"Orvalek", {36, 1, 36}, 0.3f},
    {"Presents", {42, 1, 36}, 0.3f},
    {"A new demo", {42, 1, 42}, 0.3f},
    {"Tovane", {36, 1, 42}, 0.4f},
};
const unsigned TITLE_COUNT = sizeof(TITLES) / sizeof(TITLES[0]);

}  // namespace

SceneSad::SceneSad() : m_font(TITLE_COLOUR), m_step(0)
{
    addShot({38, 4, 34}, {34, 4, 34}, {36, 0, 37}, {34, 0, 36}, SHOT_MS);
    addShot({44, 4, 34}, {41, 4, 34}, {38, 0, 37}, {41, 0, 36}, SHOT_MS);
    addShot({44, 5, 40}, {41, 5, 41}, {38, 0, 39}, {41, 0, 43}, SHOT_MS);
    addShot({34, 5, 40}, {38, 5, 43}, {36, 0, 42}, {34, 0, 42}, SHOT_MS);
}

const SceneSad::Title* SceneSad::currentTitle() const
{
    return m_step < TITLE_COUNT ? &TITLES[m_step] : nullptr;
}

void SceneSad::draw(const DrawContext& context)
{
    if (const Title* title = currentTitle())
        m_font.drawText180(title->position, title->text, title->scale, context);
}

bool SceneSad::update(SpectrumGrid&, Music&, unsigned time)
{
    // Unlike the other scenes, the first update also starts the first shot.
    if (m_startTime == 0)
        m_startTime = time;

    const Shot shot = advanceShot(time);
    if (shot != Shot::Running)
        ++m_step;
    if (shot == Shot::Finished)
        return false;

    // The cycle counts from the scene's first update, not from each cut: as every
    // shot starts a frame late, the fade drifts slightly against the cuts.
    const unsigned phase = (time - m_startTime) % SHOT_MS;
    if (!fadeIn(phase) && phase > FADE_OUT_AFTER_MS)
        m_fade = (SHOT_MS - phase) / FADE_OUT_MS;
    return true;
}
