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
    // The text for exactly one (one) or for any other count (many), with %1 the count.
    std::string Plural(int32_t count, const std::string& one, const std::string& many) const;

private:
    bool m_useSeparators = true;
    std::string m_separator = ",";  // one character, UTF-8
};
