// Exception<Kind>: a failure that ends the run, carrying one message. Each Kind (a tag
// or the class deriving from it) makes its own type, so handlers tell the kinds apart.
// Owns a copy of its message; what() stays valid while the object lives, copies keep it.
#pragma once

#include <exception>
#include <string>
#include <utility>

template <class Kind>
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : m_message(std::move(message)) {}
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};
