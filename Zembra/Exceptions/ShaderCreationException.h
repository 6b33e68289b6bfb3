// ShaderCreationException: a shader source did not compile. A ShaderException.
#pragma once

#include "Zembra/Exceptions/ShaderException.h"

class ShaderCreationException : public ShaderException {
public:
    using ShaderException::ShaderException;
};
