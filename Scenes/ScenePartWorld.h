// ScenePartWorld: the closing scene. 150 cubes, 150 pyramids and 150 spheres spread over
// the floor at construction (900 draws from Random, in a fixed order), 18 point trails
// swirling from three spots, one 25000 ms camera move. Loud low bands start black waves and
// launch the next resting object of each kind; the fade holds until 10000 ms, then falls
// to 0 at 25000 ms. Owns its camera, trails and meshes. Times are SDL ticks in ms.
#pragma once

#include <memory>
#include <vector>

#include "Effects/LineCube.h"
#include "Effects/LinePyramid.h"
#include "Effects/LineSphere.h"
#include "Effects/MeshBatch.h"
#include "Effects/PointTrail.h"
#include "Scenes/ShotScene.h"

class ScenePartWorld : public ShotScene {
public:
    static constexpr unsigned SHOT_MS = 25000;  // the only camera move
    static constexpr unsigned HOLD_MS = 10000;  // full brightness until then
    static constexpr unsigned MESHES_PER_KIND = 150;
    static constexpr unsigned LOUD_BANDS = 10;   // spectrum values that can start waves
    static constexpr float LOUD = 0.2f;          // a band above this is loud
    static constexpr float PULSE_DECAY = 0.08f;  // per update

    // Draws the field's 900 positions from Random: all cubes, then all pyramids, then
    // all spheres, x before z for each.
    ScenePartWorld();

    // GL state: draws the meshes in view with the caller's depth test (line width 4 x
    // stroke scale), then the trails with depth test off and additive blending;
    // ends with blending disabled and depth test enabled (point size 3 x stroke scale).
    void draw(const DrawContext& context) override;
    // Selects in each kind's batch the meshes that meet view and brings their
    // lines up to the meshes' current placements (draw does it first); only moved
    // meshes in view cost more than a comparison.
    void placeMeshes(const ViewVolume& view);
    bool update(SpectrumGrid& grid, Music& music, unsigned time) override;

    using Cubes = std::vector<std::unique_ptr<LineCube>>;
    using Pyramids = std::vector<std::unique_ptr<LinePyramid>>;
    using Spheres = std::vector<std::unique_ptr<LineSphere>>;
    // The objects in placing order; tests may launch them by hand.
    const Cubes& cubes() const { return m_cubes; }
    const Pyramids& pyramids() const { return m_pyramids; }
    const Spheres& spheres() const { return m_spheres; }
    const std::vector<std::unique_ptr<WorldTrailCos>>& cosTrails() const { return m_cosTrails; }
    const std::vector<std::unique_ptr<WorldTrailSin>>& sinTrails() const { return m_sinTrails; }
    // The lines each kind is drawn with, as placeMeshes last left them.
    const MeshBatch& cubeBatch() const { return *m_cubeBatch; }
    const MeshBatch& pyramidBatch() const { return *m_pyramidBatch; }
    const MeshBatch& sphereBatch() const { return *m_sphereBatch; }

private:
    std::vector<std::unique_ptr<WorldTrailCos>> m_cosTrails;  // 6, around (45, 3, 45)
    std::vector<std::unique_ptr<WorldTrailSin>>
        m_sinTrails;  // 12: 6 around (55, 2, 45), 6 around (45, 2, 60)
    Cubes m_cubes;
    Pyramids m_pyramids;
    Spheres m_spheres;
    // One draw call per kind: the meshes keep their placements, the batches their lines.
    std::unique_ptr<MeshBatch> m_cubeBatch;
    std::unique_ptr<MeshBatch> m_pyramidBatch;
    std::unique_ptr<MeshBatch> m_sphereBatch;

    // Starts a black wave at a random cell for each loud band among the lowest ten, and
    // launches one object of each kind if any band was loud.
    void reactToBands(SpectrumGrid& grid);
    // Launches the first resting object of each kind; a kind all launched stays as it is.
    void launchNext();
};
