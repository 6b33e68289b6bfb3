// Settings: the numbers of the demo's configuration file, read once at start-up.
// Owns a map from key (case-sensitive bytes) to float, filled from white-space
// separated "key value" pairs (classic locale); every lookup has a default.
#pragma once

#include <map>
#include <string>

class Settings {
public:
    // Reads every pair of the file. Reading stops at the first value that is not
    // wholly a decimal number within float range (or a last key without one): the
    // pairs before it stay, the rest is dropped, and one warning line on standard
    // error names the key and the text. A missing file, or anything but a regular
    // file, logs "Fail to open the setting file"; never throws.
    explicit Settings(const std::string& path);

    // The value read for key, or defaultValue when the file did not set it.
    float getFloat(const std::string& key, float defaultValue) const;

    // The value for key truncated toward zero, when that integer lies within
    // [minValue, maxValue]. A value that is not finite (NaN, inf) or falls outside
    // the range (1e30, a negative window size) is never converted: the default is
    // returned instead and a warning line names the key, so a bad file still runs.
    int getInt(const std::string& key, int defaultValue, int minValue, int maxValue) const;

    // The conversion behind getInt: true and the truncated value in `out` when
    // value is finite and its truncation lies within [minValue, maxValue].
    static bool truncateInRange(float value, int minValue, int maxValue, int& out);

    // Number of distinct keys read from the file.
    std::size_t size() const { return m_values.size(); }

private:
    std::map<std::string, float> m_values;
};
