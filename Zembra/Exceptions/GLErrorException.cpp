// GLErrorException: message table for OpenGL error codes.
#include "Zembra/Exceptions/GLErrorException.h"

GLErrorException::GLErrorException(unsigned int code, const std::string& name)
    : Exception(std::string(textForCode(code)) + " in '" + name + "'")
{
}

const char* GLErrorException::textForCode(unsigned int code)
{
    switch (code) {
    case 0:
        // The missing parenthesis is part of the message users may have seen.
        return "No error occured (so why this exception has been lunched";
    case 0x500: return "Invalid enumerator";
    case 0x501: return "Invalid value";
    case 0x502: return "Invalid operation";
    case 0x505: return "Out of memory";
    default: return "Unknown error";
    }
}
