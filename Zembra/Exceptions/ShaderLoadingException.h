// ShaderLoadingException: a vertex and fragment shader compiled but did not link.
// A ShaderException.
#pragma once

#include "Zembra/Exceptions/ShaderException.h"

class ShaderLoadingException : public ShaderException {
public:
    using ShaderException::ShaderException;
};
