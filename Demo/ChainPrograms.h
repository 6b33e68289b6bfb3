// ChainPrograms: the three shader programs of the post-processing chain (pulse,
// horizontal blur, vertical blur), loaded from one folder of shader sources.
// Owns them; loads in that order and deletes in the reverse one.
#pragma once

#include <memory>
#include <string>

class Shader;

// The two blur programs share one vertex and one fragment source (file names in the
// shader folder); the definition given to the fragment source picks the axis.
const char* const BLUR_VERTEX_SOURCE = "blur.vs";
const char* const BLUR_FRAGMENT_SOURCE = "blur.ps";
const char* const HORIZONTAL_BLUR = "#define BLUR_HORIZONTAL\n";
const char* const VERTICAL_BLUR = "#define BLUR_VERTICAL\n";

class ChainPrograms {
public:
    ChainPrograms();
    ~ChainPrograms();

    ChainPrograms(const ChainPrograms&) = delete;
    ChainPrograms& operator=(const ChainPrograms&) = delete;

    // Reads pulse.vs and pulse.ps, blur.vs and blur.ps from `folder`. Needs a current GL context. Throws
    // the ShaderException family; programs loaded before the failing one stay
    // until release or destruction.
    void load(const std::string& folder);
    // Deletes the programs (vertical blur, horizontal blur, pulse); safe to repeat.
    void release();

    std::unique_ptr<Shader> pulse;
    std::unique_ptr<Shader> horizontalBlur;
    std::unique_ptr<Shader> verticalBlur;
};
