// ShaderLoadingException: a vertex and fragment shader compiled but did not link.
// Carries its message in the ShaderException base; what() is inherited.
#pragma once

#include "Zembra/Exceptions/ShaderException.h"

class ShaderLoadingException : public ShaderException {
public:
    explicit ShaderLoadingException(const std::string& message) : ShaderException(message) {}
    ~ShaderLoadingException() override = default;
};
