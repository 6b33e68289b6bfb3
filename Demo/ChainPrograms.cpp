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
    const auto program = [&folder](const char* name) {
        const std::string base = folder + "/" + name;
        return std::make_unique<Shader>(base + ".vs", base + ".ps");
    };
    pulse = program("pulse");
    horizontalBlur = program("hblur");
    verticalBlur = program("vblur");
}

void ChainPrograms::release()
{
    verticalBlur.reset();
    horizontalBlur.reset();
    pulse.reset();
}
