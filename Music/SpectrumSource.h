// SpectrumSource: something other than a playing channel that can answer the
// player's spectrum query, for a caller that runs the show on a clock of its own
// without an audio device. Same contract as Music::getSpectrum: count magnitudes,
// lowest band first, 1.0 for a full-scale sine.
#pragma once

class SpectrumSource {
public:
    virtual ~SpectrumSource() {}
    virtual void getSpectrum(float* array, int count) = 0;
};
