// FrameBufferException: the driver returned no frame buffer name.
#pragma once

#include "Zembra/Exceptions/Exception.h"

using FrameBufferException = Exception<struct FrameBufferFailure>;
