// GLUCamera: a camera whose second vector is a view direction (world units);
// it looks from the position towards position + direction.
#pragma once

#include "3D/Camera.h"

class GLUCamera : public Camera {
public:
    GLUCamera(const Vector3& position, const Vector3& direction, const Vector3& up);

    void look() const override;
};
