// WindowCreationException: SDL could not create or resize the video mode.
// Owns a copy of its message; copies keep the same what() text.
#pragma once

#include <exception>
#include <string>

class WindowCreationException : public std::exception {
public:
    explicit WindowCreationException(const std::string& message) : m_message(message) {}
    ~WindowCreationException() override = default;
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};
