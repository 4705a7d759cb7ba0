#include "import/FileNameMatch.h"

#include <optional>

namespace {

using Text = std::string_view;

// The character at k, '\0' past the end (names hold no NUL).
char At(Text s, long k) { return k >= 0 && size_t(k) < s.size() ? s[size_t(k)] : '\0'; }
char Up(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }
bool Same(char a, char b) { return Up(a) == Up(b); }

// A two-character look-ahead: do the pattern at sp and the name at tp agree?
bool PairAgrees(Text pat, long sp, Text name, long tp)
{
    const char t0 = At(name, tp), s0 = At(pat, sp);
    if (t0 == '\0') return s0 == '\0' || s0 == '*';
    if (s0 != '?' && !Same(s0, t0)) return s0 == '*';
    const char t1 = At(name, tp + 1), s1 = At(pat, sp + 1);
    if (t1 == '\0') return s1 == '\0' || s1 == '*';
    return s1 == '?' || s1 == '*' || Same(s1, t1);
}

std::optional<long> MatchSegment(Text pat, long p, Text name, long q, long len, bool floating)
{
    const long n = long(name.size()) - q;
    for (long off = 0;; ++off) {
        bool fits = true;
        for (long k = 0; k < len && fits; ++k) {
            const char nc = At(name, q + off + k), pc = At(pat, p + k);
            fits = nc != '\0' && (pc == '?' || Same(pc, nc));
        }
        if (fits) return off;
        if (!(floating && At(name, q + off + 1) != '\0' && n - (off + 1) >= len)) return std::nullopt;
    }
}

std::optional<long> MatchSegmentWithTypos(Text pat, long p, Text name, long q, long len, bool floating)
{
    for (long off = 0;; ++off) {
        auto s = [&](long k) { return At(pat, p + k); };
        auto t = [&](long k) { return At(name, q + off + k); };
        long i = 0, j = 0, adj = 0;
        bool failed = false;
        while (i < len && s(i) != '\0' && t(j) != '\0') {
            if (s(i) == '?' || Same(s(i), t(j))) {
                ++i, ++j;
            } else if (PairAgrees(pat, p + i + 1, name, q + off + j + 1)) {
                ++i, ++j;  // a wrong character
            } else if (Same(s(i), t(j + 1)) && Same(t(j), s(i + 1)) && PairAgrees(pat, p + i + 2, name, q + off + j + 2)) {
                i += 2, j += 2;  // two characters swapped
            } else if (Same(s(i), t(j + 1)) && PairAgrees(pat, p + i, name, q + off + j + 1)) {
                i += 1, j += 2, ++adj;  // an extra character in the name
            } else if (Same(t(j), s(i + 1)) && PairAgrees(pat, p + i + 1, name, q + off + j)) {
                i += 2, j += 1, --adj;  // a character missing from the name
            } else {
                failed = true;
                break;
            }
        }
        if (!failed) {
            if (i == len) {
                // A final extra character is forgiven.
                if (s(len) == '\0' && t(j) != '\0' && t(j + 1) == '\0') ++adj;
                return off + adj;
            }
            if (i == len - 1 && t(j) == '\0') return off + adj - 1;  // a missing final character
        }
        if (!(floating && At(name, q + off + 1) != '\0')) return std::nullopt;
    }
}

}  // namespace

bool MatchFileName(std::string_view pattern, std::string_view name, bool typos)
{
    long p = 0, q = 0;
    const long plen = long(pattern.size()), nlen = long(name.size());
    bool floating = At(pattern, 0) == '*';
    if (plen > 0) {
        while (q < nlen) {
            while (At(pattern, p) == '*') ++p;
            if (p >= plen) return true;
            long end = p;
            while (end < plen && pattern[size_t(end)] != '*') ++end;
            const long len = end - p;
            const auto off = typos ? MatchSegmentWithTypos(pattern, p, name, q, len, floating)
                                   : MatchSegment(pattern, p, name, q, len, floating);
            if (!off) return false;
            p += len;
            q += len + *off;
            floating = true;
            if (p >= plen) break;
        }
    }
    while (At(pattern, p) == '*') ++p;
    return p >= plen && q >= nlen;
}

namespace {
struct DotSplitView {
    bool hasDot;
    std::string_view whole, name, extension;
};
// Without its dots at the end, split at its last dot.
DotSplitView SplitView(std::string_view text)
{
    while (!text.empty() && text.back() == '.') text.remove_suffix(1);
    const size_t dot = text.rfind('.');
    if (dot == std::string_view::npos) return {false, text, text, {}};
    return {true, text, text.substr(0, dot), text.substr(dot + 1)};
}
}  // namespace

DotSplit SplitAtLastDot(std::string& text)
{
    const DotSplitView split = SplitView(text);
    DotSplit out{split.hasDot, std::string(split.name), std::string(split.extension)};
    text.resize(split.whole.size());
    return out;
}

CFileNameFilter::CFileNameFilter(std::string pattern, bool typos) : m_pattern(std::move(pattern)), m_typos(typos)
{
    m_parts = SplitAtLastDot(m_pattern);
}

bool CFileNameFilter::Matches(std::string_view fileName) const
{
    if (!m_parts.hasDot) return MatchFileName(m_pattern, fileName, m_typos);
    // Split without copying: most names are checked once and dropped.
    const DotSplitView file = SplitView(fileName);
    return MatchFileName(m_parts.extension, file.extension, m_typos) && MatchFileName(m_parts.name, file.name, m_typos);
}
