// EngineInitialisationException: the engine could not start GLEW; ends the run with code -2.
// Owns a copy of its message; copies keep the same what() text.
#pragma once

#include <exception>
#include <string>

class EngineInitialisationException : public std::exception {
public:
    explicit EngineInitialisationException(const std::string& message) : m_message(message) {}
    ~EngineInitialisationException() override = default;
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};
