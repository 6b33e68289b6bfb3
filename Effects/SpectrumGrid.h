// SpectrumGrid: the floor, m_width x m_depth points in the plane y = 0 joined by
// lines (world units), with 16 spectrum bands of 64 points each and diamond colour
// waves that advance one ring per stepWave. Owns all of its storage, sized once at
// construction: no operation allocates afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "3D/LineRenderer.h"
#include "Effects/Colour.h"

class SpectrumGrid {
public:
    static constexpr unsigned BAND_COUNT = 16;
    static constexpr unsigned POINTS_PER_BAND = 64;

    // Vertex n = i * depth + j sits at (i * spacing, 0, j * spacing). Draws the
    // 16 x 64 band points from Random, the grid's only draws.
    SpectrumGrid(unsigned width, unsigned depth, float spacing);

    // Reads spectrum[0..15]: a loud band snaps its points up to value * m_bandScale,
    // a quiet one lets them sink by 0.1 per call and drop to 0 from 0.4 or below.
    void raiseBands(const float* spectrum);
    // Stamps cell (p, q) = vertex q * m_width + p and its neighbours at Manhattan
    // distance d with step + d (for step + d < limit) and colour. Cells outside the
    // grid are ignored. Recursion depth is bounded by limit - step.
    void startWave(unsigned p, unsigned q, const Colour& colour, unsigned step, unsigned limit);
    // Moves the wave front out by one ring: the front flashes white and the points
    // behind it fade by 10 % per call towards their stamped colour.
    void stepWave();
    // Every vertex colour and target becomes restColour; heights and wave steps stay.
    void resetColours();
    // Every vertex height becomes 0; colours stay.
    void flatten();

    unsigned m_width;                    // columns (x)
    unsigned m_depth;                    // rows (z)
    LineRenderer m_lines;                // width * depth points; y is the bar height
    std::vector<unsigned> m_waveStep;    // per vertex; 0 = no wave holds it
    unsigned m_currentStep;              // front shown by the next stepWave; 0 = idle
    std::vector<Colour> m_targetColour;  // per vertex, the colour faded to behind a wave
    std::array<std::array<unsigned, POINTS_PER_BAND>, BAND_COUNT> m_bands;  // vertex numbers
    float m_bandScale;  // height per unit of spectrum value
};
