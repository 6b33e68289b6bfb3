// ChainPrograms: the three shader programs of the post-processing chain (pulse,
// horizontal blur, vertical blur), loaded from data/shaders/ relative to the
// working directory. Owns them; loads in that order and deletes in the reverse one.
#pragma once

#include <memory>

class Shader;

// The two blur programs share one vertex and one fragment file; the definition
// given to the fragment source picks the axis.
const char* const BLUR_VERTEX_FILE = "data/shaders/blur.vs";
const char* const BLUR_FRAGMENT_FILE = "data/shaders/blur.ps";
const char* const HORIZONTAL_BLUR = "#define BLUR_HORIZONTAL\n";
const char* const VERTICAL_BLUR = "#define BLUR_VERTICAL\n";

class ChainPrograms {
public:
    ChainPrograms();
    ~ChainPrograms();

    ChainPrograms(const ChainPrograms&) = delete;
    ChainPrograms& operator=(const ChainPrograms&) = delete;

    // Needs a current GL context. Throws the ShaderException family; programs loaded
    // before the failing one stay until release or destruction.
    void load();
    // Deletes the programs (vertical blur, horizontal blur, pulse); safe to repeat.
    void release();

    std::unique_ptr<Shader> pulse;
    std::unique_ptr<Shader> horizontalBlur;
    std::unique_ptr<Shader> verticalBlur;
};
