// FrameBufferException: the driver returned no frame buffer name.
// Owns a copy of its message; copies keep the same what() text.
#pragma once

#include <exception>
#include <string>

class FrameBufferException : public std::exception {
public:
    explicit FrameBufferException(const std::string& message) : m_message(message) {}
    ~FrameBufferException() override = default;
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};
