// GLErrorException: an OpenGL error code found by checkGLError, with the name of
// the call it followed. Message: "<text for the code> in '<name>'".
#pragma once

#include <exception>
#include <string>

class GLErrorException : public std::exception {
public:
    explicit GLErrorException(const std::string& message) : m_message(message) {}
    // code: as glGetError returns it; name: the call or step the check followed.
    GLErrorException(unsigned int code, const std::string& name);
    ~GLErrorException() override = default;
    const char* what() const noexcept override { return m_message.c_str(); }

    // The table text for one OpenGL error code ("Unknown error" for codes it lacks).
    static const char* textForCode(unsigned int code);

private:
    std::string m_message;
};
