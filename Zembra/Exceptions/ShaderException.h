// ShaderException: a shader program could not be read; base of the other shader
// failures (ShaderCreationException, ShaderLoadingException), which a handler of
// this type also catches.
#pragma once

#include "Zembra/Exceptions/Exception.h"

using ShaderException = Exception<struct ShaderFailure>;
