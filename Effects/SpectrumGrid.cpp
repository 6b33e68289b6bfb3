// SpectrumGrid: floor lattice, spectrum bars and colour waves. Depends on LineRenderer and Random.
#include "Effects/SpectrumGrid.h"

#include <cassert>
#include <cstddef>

#include "Zembra/Random.h"

static LineVertex vertexAt(float x, float y, float z, const Colour& c)
{
    return LineVertex{x, y, z, c.r, c.g, c.b, c.a};
}

static void setColour(LineVertex& v, const Colour& c)
{
    v.r = c.r;
    v.g = c.g;
    v.b = c.b;
    v.a = c.a;
}

SpectrumGrid::SpectrumGrid(unsigned width, unsigned depth, float spacing)
    : m_width(width), m_depth(depth), m_currentStep(0), m_bands(), m_bandScale(15.0f)
{
    // An empty grid has no points for the band lists to pick from.
    assert(width > 0 && depth > 0);
    const unsigned count = width * depth;
    m_waveStep.assign(count, 0u);
    m_targetColour.assign(count, restColour);

    // The band lists come first in the run's fixed order of random draws.
    for (auto& band : m_bands)
        for (unsigned& point : band)
            point = static_cast<unsigned>(Random::next()) % count;

    m_lines.m_vertices.reserve(count);
    for (unsigned i = 0; i < width; ++i)
        for (unsigned j = 0; j < depth; ++j)
            m_lines.m_vertices.push_back(vertexAt(i * spacing, 0.0f, j * spacing, restColour));

    const unsigned alongZ = depth > 0 ? width * (depth - 1) : 0;
    const unsigned alongX = width > 0 ? (width - 1) * depth : 0;
    m_lines.m_indices.reserve(2 * (alongZ + alongX));
    for (unsigned i = 0; i < width; ++i)
        for (unsigned j = 0; j + 1 < depth; ++j) {
            const unsigned n = i * depth + j;
            m_lines.m_indices.push_back(n);
            m_lines.m_indices.push_back(n + 1);
        }
    for (unsigned j = 0; j < depth; ++j)
        for (unsigned i = 0; i + 1 < width; ++i) {
            m_lines.m_indices.push_back(i * depth + j);
            m_lines.m_indices.push_back((i + 1) * depth + j);
        }
}

void SpectrumGrid::raiseBands(const float* spectrum)
{
    for (unsigned b = 0; b < BAND_COUNT; ++b) {
        // The target colour of vertex b doubles as band b's colour.
        const Colour& bandColour = m_targetColour[b];
        for (unsigned n : m_bands[b]) {
            LineVertex& v = m_lines.m_vertices[n];
            float h = v.y;
            if (h > 0.4f) {
                h -= 0.1f;
            } else {
                h = 0.0f;
                setColour(v, bandColour);
            }
            // The threshold uses the fixed factor 15, whatever m_bandScale holds.
            if (15.0f * spectrum[b] > h) {
                h = spectrum[b] * m_bandScale;
                setColour(v, Colour{0.6f * bandColour.r, 0.6f * bandColour.g, 0.6f * bandColour.b,
                                    0.6f * bandColour.a});
            }
            v.y = h;
        }
    }
}

void SpectrumGrid::startWave(unsigned p, unsigned q, const Colour& colour, unsigned step,
                             unsigned limit)
{
    // Unsigned comparisons also reject a neighbour that went below zero.
    if (p >= m_width || q >= m_depth || step >= limit)
        return;
    const unsigned n = q * m_width + p;
    if (m_waveStep[n] != 0 && step >= m_waveStep[n])
        return;
    if (step == 0)
        step = 1;  // 0 means "no wave", so the first ring is 1
    m_waveStep[n] = step;
    m_targetColour[n] = colour;
    startWave(p - 1, q, colour, step + 1, limit);
    startWave(p + 1, q, colour, step + 1, limit);
    startWave(p, q + 1, colour, step + 1, limit);
    startWave(p, q - 1, colour, step + 1, limit);
    m_currentStep = 1;
}

void SpectrumGrid::stepWave()
{
    const unsigned s = m_currentStep;
    if (s == 0)
        return;
    bool anyHeld = false;
    const std::size_t count = m_waveStep.size();
    for (std::size_t n = 0; n < count; ++n) {
        const unsigned w = m_waveStep[n];
        LineVertex& v = m_lines.m_vertices[n];
        if (w == s) {
            setColour(v, Colour{1.0f, 1.0f, 1.0f, 0.7f});
        } else if (w < s) {
            const Colour& t = m_targetColour[n];
            v.r = 0.1f * t.r + 0.9f * v.r;
            v.g = 0.1f * t.g + 0.9f * v.g;
            v.b = 0.1f * t.b + 0.9f * v.b;
            v.a = 0.1f * t.a + 0.9f * v.a;
            // Signed differences: anything darker than rest + 0.05 settles, a
            // brighter stamp never does and keeps its step.
            if (v.r - restColour.r < 0.05f && v.g - restColour.g < 0.05f &&
                v.b - restColour.b < 0.05f) {
                setColour(v, t);
                m_waveStep[n] = 0;
            }
        }
        if (m_waveStep[n] != 0)
            anyHeld = true;
    }
    m_currentStep = anyHeld ? s + 1 : 0;
}

void SpectrumGrid::resetColours()
{
    for (LineVertex& v : m_lines.m_vertices)
        setColour(v, restColour);
    for (Colour& c : m_targetColour)
        c = restColour;
}

void SpectrumGrid::flatten()
{
    for (LineVertex& v : m_lines.m_vertices)
        v.y = 0.0f;
}
