// ScriptedSpectrum<S>: scene S reading the spectrum a test sets in `next` instead of
// the music's, through ShotScene's readSpectrum seam. Counts the reads.
#pragma once

#include <algorithm>

#include "Scenes/ShotScene.h"

template <typename S>
class ScriptedSpectrum : public S {
public:
    float next[ShotScene::SPECTRUM_SIZE] = {};
    int reads = 0;

protected:
    void readSpectrum(Music&) override
    {
        std::copy(next, next + ShotScene::SPECTRUM_SIZE, this->m_spectrum);
        ++reads;
    }
};
