// EngineInitialisationException: the engine could not start GLEW; ends the run with code -2.
#pragma once

#include "Zembra/Exceptions/Exception.h"

using EngineInitialisationException = Exception<struct EngineInitialisationFailure>;
