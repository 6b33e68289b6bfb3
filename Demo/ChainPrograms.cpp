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
    // Both blurs are one source; only the axis differs.
    horizontalBlur =
        std::make_unique<Shader>(BLUR_VERTEX_FILE, BLUR_FRAGMENT_FILE, HORIZONTAL_BLUR);
    verticalBlur = std::make_unique<Shader>(BLUR_VERTEX_FILE, BLUR_FRAGMENT_FILE, VERTICAL_BLUR);
}

void ChainPrograms::release()
{
    verticalBlur.reset();
    horizontalBlur.reset();
    pulse.reset();
}
