#pragma once
#include <string>
#include <string_view>

// The file-name matcher of the bookmark file finder: '*' matches any run of characters,
// '?' any one, other characters match either case (ASCII). The pattern is cut at its
// stars into segments found one after the other, each at the first place it fits.
// With typos, each segment forgives a wrong, swapped, extra or missing character.
bool MatchFileName(std::string_view pattern, std::string_view name, bool typos);

struct DotSplit {
    bool hasDot = false;
    std::string name, extension;
};
// Drops the dots at the end of text (the caller's text changes), then splits it at its
// last dot.
DotSplit SplitAtLastDot(std::string& text);

// Whether a file name matches a finder pattern: with a dot in the pattern, the name and
// extension parts are matched each on their own (split at the last dot).
class CFileNameFilter {
public:
    CFileNameFilter(std::string pattern, bool typos);
    bool Matches(std::string_view fileName) const;

private:
    std::string m_pattern;
    DotSplit m_parts;
    bool m_typos;
};
