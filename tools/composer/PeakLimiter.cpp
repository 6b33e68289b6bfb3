// PeakLimiter: look-ahead gain computed in two passes; depends on StereoBuffer.
#include "tools/composer/PeakLimiter.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <vector>

#include "tools/composer/StereoBuffer.h"

PeakLimiter::PeakLimiter(double sampleRate, double ceiling, double attack, double release)
    : m_rate(sampleRate), m_ceiling(ceiling), m_attack(attack), m_release(release)
{
    assert(ceiling > 0.0 && attack > 0.0 && release > 0.0);
}

float PeakLimiter::process(StereoBuffer& bus) const
{
    const size_t n = bus.frames();
    std::vector<double> gain(n, 1.0);
    for (size_t i = 0; i < n; ++i) {
        double peak = std::max(std::fabs(bus.left()[i]), std::fabs(bus.right()[i]));
        if (peak > m_ceiling)
            gain[i] = m_ceiling / peak;
    }
    // Backwards: the gain may fall towards a peak no faster than the attack
    // slope, so it starts ramping before the peak arrives (look-ahead).
    const double attackStep = 1.0 / (m_attack * m_rate);
    for (size_t i = n; i-- > 1;)
        gain[i - 1] = std::min(gain[i - 1], gain[i] + attackStep);
    // Forwards: after the peak it recovers no faster than the release slope.
    const double releaseStep = 1.0 / (m_release * m_rate);
    for (size_t i = 1; i < n; ++i)
        gain[i] = std::min(gain[i], gain[i - 1] + releaseStep);
    double smallest = 1.0;
    for (size_t i = 0; i < n; ++i) {
        // Both passes only lower the gain, so each frame ends at or below its
        // own required gain: the ceiling holds exactly (up to float rounding,
        // which the 1e-6 margin absorbs).
        bus.scale(i, static_cast<float>(gain[i] * (1.0 - 1e-6)));
        smallest = std::min(smallest, gain[i]);
    }
    return static_cast<float>(smallest);
}
