// Settings: reads data/settings.ini ("key value" pairs) with stream extraction.
// Depends on RegularFile.
#include "Demo/Settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <locale>
#include <sstream>

#include "Zembra/RegularFile.h"

namespace {

// Longest part of a key or value that a warning quotes, in bytes: a binary file can
// hold one token of megabytes.
const std::size_t QUOTED_MAX = 40;

// A token as a warning shows it: printable ASCII as it is, any other byte (a NUL,
// half of a UTF-16 character, the backslash itself) as \xNN, cut after QUOTED_MAX bytes.
std::string quoted(const std::string& token)
{
    std::string shown;
    const std::size_t count = std::min(token.size(), QUOTED_MAX);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char c = static_cast<unsigned char>(token[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            shown += static_cast<char>(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            shown += escaped;
        }
    }
    if (token.size() > QUOTED_MAX)
        shown += "...";
    return shown;
}

// True when the whole token is one decimal float of the classic locale within the
// range of a float (the stream's extraction refuses inf, nan, hexadecimal and
// values beyond the largest float).
bool parseNumber(std::istringstream& parser, const std::string& token, float& value)
{
    parser.clear();
    parser.str(token);
    return parser >> value && parser.peek() == std::char_traits<char>::eof();
}

}  // namespace

Settings::Settings(const std::string& path)
{
    // Read whole first: a FIFO or a device at the path is refused instead of
    // blocking the start-up, and reported like a missing file.
    std::string contents;
    if (!RegularFile::read(path, contents)) {
        std::cerr << "Fail to open the setting file" << std::endl;
        return;
    }
    std::istringstream file(contents);
    file.imbue(std::locale::classic());

    std::istringstream parser;
    parser.imbue(std::locale::classic());
    std::string key;
    std::string text;
    float value = 0.0f;
    // Tokens are read whole, so a value is a number only when all of it is: 0x280
    // or 6<NUL>40 never pass for 0 or 6. The first value that is not a number ends
    // the reading (a file with it is not one this program wrote), and says so.
    while (file >> key) {
        if (!(file >> text))
            text.clear();  // a last key without a value
        if (!parseNumber(parser, text, value)) {
            std::cerr << "Warning: setting '" << quoted(key) << "': '" << quoted(text)
                      << "' could not be read as a number; it and the rest of the file are ignored"
                      << std::endl;
            return;
        }
        m_values[key] = value;
    }
}

float Settings::getFloat(const std::string& key, float defaultValue) const
{
    const auto found = m_values.find(key);
    return found == m_values.end() ? defaultValue : found->second;
}

bool Settings::truncateInRange(float value, int minValue, int maxValue, int& out)
{
    if (!std::isfinite(value))
        return false;
    // Compared in double, which holds every int exactly, so the cast below can
    // never overflow.
    const double truncated = std::trunc(static_cast<double>(value));
    if (truncated < minValue || truncated > maxValue)
        return false;
    out = static_cast<int>(truncated);
    return true;
}

int Settings::getInt(const std::string& key, int defaultValue, int minValue, int maxValue) const
{
    const auto found = m_values.find(key);
    if (found == m_values.end())
        return defaultValue;
    int result = defaultValue;
    if (!truncateInRange(found->second, minValue, maxValue, result)) {
        std::cout << "Warning: setting '" << key << "' is out of range (" << minValue << " to "
                  << maxValue << "), " << defaultValue << " used" << std::endl;
        return defaultValue;
    }
    return result;
}
