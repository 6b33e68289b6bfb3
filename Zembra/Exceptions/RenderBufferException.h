// RenderBufferException: the driver returned no render buffer name.
#pragma once

#include "Zembra/Exceptions/Exception.h"

using RenderBufferException = Exception<struct RenderBufferFailure>;
