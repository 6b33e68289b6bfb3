// ChainPrograms: shader files of the chain, loaded and released in a fixed order.
#include "Demo/ChainPrograms.h"

#include "3D/Shader.h"

ChainPrograms::ChainPrograms() = default;

ChainPrograms::~ChainPrograms()
{
    release();
}

void ChainPrograms::load()
{
    pulse = std::make_unique<Shader>("data/shaders/pulse.vs", "data/shaders/pulse.ps");
    horizontalBlur = std::make_unique<Shader>("data/shaders/hblur.vs", "data/shaders/hblur.ps");
    verticalBlur = std::make_unique<Shader>("data/shaders/vblur.vs", "data/shaders/vblur.ps");
}

void ChainPrograms::release()
{
    verticalBlur.reset();
    horizontalBlur.reset();
    pulse.reset();
}
