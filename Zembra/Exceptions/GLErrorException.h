// GLErrorException: an OpenGL error code found by checkGLError, with the name of
// the call it followed. Message: "<text for the code> in '<name>'".
#pragma once

#include <string>

#include "Zembra/Exceptions/Exception.h"

class GLErrorException : public Exception<GLErrorException> {
public:
    using Exception::Exception;
    // code: as glGetError returns it; name: the call or step the check followed.
    GLErrorException(unsigned int code, const std::string& name);

    // The table text for one OpenGL error code ("Unknown error" for codes it lacks).
    static const char* textForCode(unsigned int code);
};
