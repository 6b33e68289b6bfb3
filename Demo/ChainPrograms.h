// ChainPrograms: the three shader programs of the post-processing chain (pulse,
// horizontal blur, vertical blur), loaded from one folder of shader sources.
// Owns them; loads in that order and deletes in the reverse one.
#pragma once

#include <memory>
#include <string>

class Shader;

class ChainPrograms {
public:
    ChainPrograms();
    ~ChainPrograms();

    ChainPrograms(const ChainPrograms&) = delete;
    ChainPrograms& operator=(const ChainPrograms&) = delete;

    // Reads NAME.vs and NAME.ps from `folder`. Needs a current GL context. Throws
    // the ShaderException family; programs loaded before the failing one stay
    // until release or destruction.
    void load(const std::string& folder);
    // Deletes the programs (vertical blur, horizontal blur, pulse); safe to repeat.
    void release();

    std::unique_ptr<Shader> pulse;
    std::unique_ptr<Shader> horizontalBlur;
    std::unique_ptr<Shader> verticalBlur;
};
