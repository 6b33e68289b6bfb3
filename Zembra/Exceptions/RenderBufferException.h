// RenderBufferException: the driver returned no render buffer name.
// Owns a copy of its message; copies keep the same what() text.
#pragma once

#include <exception>
#include <string>

class RenderBufferException : public std::exception {
public:
    explicit RenderBufferException(const std::string& message) : m_message(message) {}
    ~RenderBufferException() override = default;
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};
