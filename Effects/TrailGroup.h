// TrailGroup: the trail set-up the scenes share: six point trails of one kind around
// one spot, trail k in trailColours[k] with phase PHASES[k] plus the group's offset
// (radians), each LAYER world units below the one before so that no two share a height.
#pragma once

#include <memory>
#include <vector>

#include "Effects/PointTrail.h"

struct TrailGroup {
    static const unsigned SIZE = 6;
    static constexpr int CAPACITY = 500;   // points; more than a trail ever holds (about 202)
    static constexpr float LAYER = 0.01f;  // world units between two trails' heights
    static constexpr float PHASES[SIZE] = {0.2f, 0.4f, 0.6f, 0.7f, 0.9f, 1.1f};

    Vector3 centre;            // the first trail's centre; the others step down from it
    float phaseOffset = 0.0f;  // added to every phase

    // Appends the six trails to `trails`, in colour order.
    template <class Trail>
    void addTo(std::vector<std::unique_ptr<Trail>>& trails) const
    {
        for (unsigned k = 0; k < SIZE; ++k) {
            const Vector3 at = {centre.x, centre.y - LAYER * k, centre.z};
            trails.push_back(
                std::make_unique<Trail>(at, trailColours[k], CAPACITY, PHASES[k] + phaseOffset));
        }
    }
};
