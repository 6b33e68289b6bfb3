// ScenePartWorld: the field of rising meshes under black waves. Depends on Effects, Music and 3D.
#include "Scenes/ScenePartWorld.h"

#include "3D/ViewVolume.h"
#include "Effects/AdditiveBlend.h"
#include "Effects/SpectrumGrid.h"
#include "Effects/TrailGroup.h"
#include "Zembra/Random.h"

namespace {

const float FIELD_SIDE = 150.0f;  // world units; covers the whole floor (0 to 148.5)
const float MESH_SIZE = 0.5f;     // half size, size and radius of the three kinds
const unsigned SPHERE_DIVISIONS = 10;
const float BAND_SCALE = 8.0f;
const int CELL_MARGIN = 10;  // random cells range from -10 to size - 10
const Colour WAVE_COLOUR = {0.0f, 0.0f, 0.0f, 1.0f};
const unsigned WAVE_FIRST_STEP = 1;
const unsigned WAVE_STEP_LIMIT = 6;
float unitDraw()
{
    return Random::next() / static_cast<float>(Random::MAX);
}

// Fills `meshes` with `count` objects at random floor positions, x drawn before z.
template <class Mesh, class... ShapeSize>
void spread(std::vector<std::unique_ptr<Mesh>>& meshes, unsigned count, ShapeSize... size)
{
    const Vector3 noRotation = {0.0f, 0.0f, 0.0f};
    const Rgb colour = {restColour.r, restColour.g, restColour.b};
    meshes.reserve(count);
    for (unsigned k = 0; k < count; ++k) {
        const float x = FIELD_SIDE * unitDraw();
        const float z = FIELD_SIDE * unitDraw();
        meshes.push_back(std::make_unique<Mesh>(Vector3{x, 0.0f, z}, noRotation, colour, size...));
    }
}

template <class Mesh>
void launchFirstResting(std::vector<std::unique_ptr<Mesh>>& meshes)
{
    for (auto& mesh : meshes) {
        if (!mesh->m_launched) {
            mesh->m_launched = true;
            return;
        }
    }
}

template <class Object>
void updateAll(std::vector<std::unique_ptr<Object>>& objects)
{
    for (auto& object : objects)
        object->update();
}

// Every object of one kind shares its shape: the batch takes the first one's lines.
template <class Mesh>
std::unique_ptr<MeshBatch> batchOf(const std::vector<std::unique_ptr<Mesh>>& meshes)
{
    return std::make_unique<MeshBatch>(meshes.front()->m_lines,
                                       static_cast<unsigned>(meshes.size()));
}

template <class Mesh>
void placeAll(MeshBatch& batch, const std::vector<std::unique_ptr<Mesh>>& meshes,
              const ViewVolume& view)
{
    for (unsigned k = 0; k < meshes.size(); ++k)
        batch.place(k, meshes[k]->m_position, meshes[k]->m_rotation);
    batch.selectVisible(view);
}

template <class Object>
void drawAll(const std::vector<std::unique_ptr<Object>>& objects, const DrawContext& context)
{
    for (const auto& object : objects)
        object->draw(context);
}

// A random cell coordinate from -CELL_MARGIN to size - CELL_MARGIN, truncated toward
// zero. Negative values wrap to huge unsigned ones, which the grid ignores; the
// conversion goes through int, as a negative float has no unsigned value.
unsigned randomCell(unsigned size)
{
    const int cell = static_cast<int>(unitDraw() * size - CELL_MARGIN);
    return static_cast<unsigned>(cell);
}

}  // namespace

ScenePartWorld::ScenePartWorld()
{
    addShot({20, 5.5f, 20}, {75, 0, 75}, {30, 1, 30}, {78, 1, 78}, SHOT_MS);
    TrailGroup{{45, 3, 45}}.addTo(m_cosTrails);
    TrailGroup{{55, 2, 45}}.addTo(m_sinTrails);
    TrailGroup{{45, 2, 60}}.addTo(m_sinTrails);
    spread(m_cubes, MESHES_PER_KIND, MESH_SIZE);
    spread(m_pyramids, MESHES_PER_KIND, MESH_SIZE);
    spread(m_spheres, MESHES_PER_KIND, MESH_SIZE, SPHERE_DIVISIONS);
    m_cubeBatch = batchOf(m_cubes);
    m_pyramidBatch = batchOf(m_pyramids);
    m_sphereBatch = batchOf(m_spheres);
}

void ScenePartWorld::placeMeshes(const ViewVolume& view)
{
    placeAll(*m_cubeBatch, m_cubes, view);
    placeAll(*m_pyramidBatch, m_pyramids, view);
    placeAll(*m_sphereBatch, m_spheres, view);
}

void ScenePartWorld::draw(const DrawContext& context)
{
    // Three draw calls instead of one per object, each of only the objects in view:
    // the same lines in the same order, without the off-view ones.
    placeMeshes(MeshBatch::currentView(context));
    m_cubeBatch->draw(context);
    m_pyramidBatch->draw(context);
    m_sphereBatch->draw(context);
    const AdditiveBlend glow;
    drawAll(m_sinTrails, context);
    drawAll(m_cosTrails, context);
}

bool ScenePartWorld::update(SpectrumGrid& grid, Music& music, unsigned time)
{
    // The scale the impulse scene uses too. This scene raises no bands, so the bars
    // stand frozen at the heights the previous scene left.
    grid.m_bandScale = BAND_SCALE;
    updateAll(m_cubes);
    updateAll(m_pyramids);
    updateAll(m_spheres);
    updateAll(m_sinTrails);
    updateAll(m_cosTrails);

    // Unlike the other scenes, the first update goes on to start the camera too.
    if (m_startTime == 0)
        m_startTime = time;
    m_fade = 1.0f;
    if (!advanceOnSchedule(time))
        return false;
    const unsigned elapsed = time - m_startTime;

    readSpectrum(music);
    reactToBands(grid);
    grid.stepWave();
    pulse(PULSE_DECAY);

    // The long fade-out replaces the edge fade: linear from 1 at HOLD_MS to 0 at SHOT_MS.
    if (elapsed > HOLD_MS)
        m_fade = (SHOT_MS - elapsed) / static_cast<float>(SHOT_MS - HOLD_MS);
    return true;
}

void ScenePartWorld::reactToBands(SpectrumGrid& grid)
{
    bool launched = false;
    for (unsigned band = 0; band < LOUD_BANDS; ++band) {
        if (m_spectrum[band] <= LOUD)
            continue;
        Random::next();  // drawn and unused: keeps the sequence of a seed
        const unsigned q = randomCell(grid.m_width);
        const unsigned p = randomCell(grid.m_depth);
        grid.startWave(p, q, WAVE_COLOUR, WAVE_FIRST_STEP, WAVE_STEP_LIMIT);
        if (!launched) {
            launchNext();
            launched = true;
        }
    }
}

void ScenePartWorld::launchNext()
{
    launchFirstResting(m_cubes);
    launchFirstResting(m_pyramids);
    launchFirstResting(m_spheres);
}
