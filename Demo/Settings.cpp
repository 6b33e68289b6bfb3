// Settings: reads data/settings.ini ("key value" pairs) with stream extraction.
// Depends on RegularFile.
#include "Demo/Settings.h"

#include <cmath>
#include <iostream>
#include <locale>
#include <sstream>

#include "Zembra/RegularFile.h"

Settings::Settings(const std::string& path)
{
    // Read whole first: a FIFO or a device at the path is refused instead of
    // blocking the start-up, and reported like a missing file.
    std::string text;
    if (!RegularFile::read(path, text)) {
        std::cerr << "Fail to open the setting file" << std::endl;
        return;
    }
    std::istringstream file(text);
    file.imbue(std::locale::classic());

    std::string key;
    float value = 0.0f;
    // A failed extraction (end of file, a word where a number belongs, a number
    // too large for a float) sets the stream's fail state and ends the loop, so a
    // broken file can neither loop forever nor store a half-read pair.
    while (file >> key && file >> value)
        m_values[key] = value;
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
