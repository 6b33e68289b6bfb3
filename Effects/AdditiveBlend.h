// AdditiveBlend: the GL state in which the scenes draw their glowing points, held for
// the guard's lifetime: depth test off, blending on with (GL_SRC_ALPHA, GL_ONE), so
// overlapping points add up. On destruction blending is off and depth test on again,
// the state every scene leaves for the post-processing passes that follow.
#pragma once

class AdditiveBlend {
public:
    AdditiveBlend();
    ~AdditiveBlend();

    AdditiveBlend(const AdditiveBlend&) = delete;
    AdditiveBlend& operator=(const AdditiveBlend&) = delete;
};
