// CaptureError: a failure that ends a capture, carrying the one line the user sees
// (without the program's name, which the entry routine adds).
#pragma once

#include <stdexcept>
#include <string>

class CaptureError : public std::runtime_error {
public:
    explicit CaptureError(const std::string& line) : std::runtime_error(line) {}
};
