// ShaderException: a shader program could not be read; base of the other shader failures.
// Owns a copy of its message; copies keep the same what() text.
#pragma once

#include <exception>
#include <string>

class ShaderException : public std::exception {
public:
    explicit ShaderException(const std::string& message) : m_message(message) {}
    ~ShaderException() override = default;
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};
