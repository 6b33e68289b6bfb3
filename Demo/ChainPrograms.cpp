// ChainPrograms: shader files of the chain, loaded and released in a fixed order.
#include "Demo/ChainPrograms.h"

#include "3D/Shader.h"

ChainPrograms::ChainPrograms() = default;

ChainPrograms::~ChainPrograms()
{
    release();
}

void ChainPrograms::load(const std::string& folder)
{
    const auto program = [&folder](const char* vertex, const char* fragment,
                                   const char* definitions) {
        return std::make_unique<Shader>(folder + "/" + vertex, folder + "/" + fragment,
                                        definitions);
    };
    pulse = program("pulse.vs", "pulse.ps", "");
    // Both blurs are one source; only the axis differs.
    horizontalBlur = program(BLUR_VERTEX_SOURCE, BLUR_FRAGMENT_SOURCE, HORIZONTAL_BLUR);
    verticalBlur = program(BLUR_VERTEX_SOURCE, BLUR_FRAGMENT_SOURCE, VERTICAL_BLUR);
}

void ChainPrograms::release()
{
    verticalBlur.reset();
    horizontalBlur.reset();
    pulse.reset();
}
