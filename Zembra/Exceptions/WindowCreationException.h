// WindowCreationException: SDL could not create or resize the video mode.
#pragma once

#include "Zembra/Exceptions/Exception.h"

using WindowCreationException = Exception<struct WindowCreationFailure>;
