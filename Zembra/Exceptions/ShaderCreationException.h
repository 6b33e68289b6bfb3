// ShaderCreationException: a shader source did not compile.
// Carries its message in the ShaderException base; what() is inherited.
#pragma once

#include "Zembra/Exceptions/ShaderException.h"

class ShaderCreationException : public ShaderException {
public:
    explicit ShaderCreationException(const std::string& message) : ShaderException(message) {}
    ~ShaderCreationException() override = default;
};
