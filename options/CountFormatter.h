#pragma once
#include <cstdint>
#include <string>

struct CSettings;

// Turns counts into text with the user's thousands separator.
class CCountFormatter {
public:
    explicit CCountFormatter(const CSettings& settings);
    CCountFormatter(bool useSeparators, std::string separator)
        : m_useSeparators(useSeparators), m_separator(std::move(separator))
    {
    }

    std::string Format(int32_t count) const;
    // With separators on and a separator other than ',', every '.' becomes ','.
    void LocalizeDecimal(std::string& text) const;
    // fmt has two %s: the formatted count and "" for exactly 1, "s" otherwise.
    std::string Plural(const char* fmt, int32_t count) const;

private:
    bool m_useSeparators = true;
    std::string m_separator = ",";  // one character, UTF-8
};
