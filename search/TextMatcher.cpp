#include "search/TextMatcher.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

// Upper case as the C locale has it: only a to z change.
constexpr std::array<unsigned char, 256> MakeUpper()
{
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c) table[size_t(c)] = (unsigned char)(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return table;
}
constexpr std::array<unsigned char, 256> kUpper = MakeUpper();

inline bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
inline bool IsSpaceOrNul(unsigned char c) { return c == 0 || IsSpace(c); }
inline bool IsLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

// Both strings read as NUL-terminated: a byte at or past the end is NUL.
struct Bytes {
    const unsigned char* data;
    size_t size;
    unsigned char operator[](size_t i) const { return i < size ? data[i] : 0; }
};

inline Bytes Of(std::string_view s) { return {reinterpret_cast<const unsigned char*>(s.data()), s.size()}; }

// The walk of the exact matcher from one start position.
inline bool ExactFrom(Bytes t, size_t i, Bytes p)
{
    size_t j = 0;
    while (j < p.size) {
        if (i >= t.size) return false;
        const unsigned char pc = p.data[j];
        if (pc == ' ') {
            while (i < t.size && IsSpace(t.data[i])) ++i;
        } else {
            if (kUpper[t.data[i]] != kUpper[pc]) return false;
            ++i;
        }
        ++j;
    }
    return true;
}

// The next position at or after from that holds c in either ASCII case, or size.
class CaseFinder {
public:
    CaseFinder(Bytes t, unsigned char c, size_t from) : m_t(t)
    {
        m_a = kUpper[c];
        m_b = IsLetter(m_a) ? (unsigned char)(m_a | 0x20) : m_a;
        m_nextA = Find(m_a, from);
        m_nextB = m_a == m_b ? m_nextA : Find(m_b, from);
    }
    size_t Next(size_t from)
    {
        if (m_nextA < from) m_nextA = Find(m_a, from);
        if (m_nextB < from) m_nextB = m_a == m_b ? m_nextA : Find(m_b, from);
        return m_nextA < m_nextB ? m_nextA : m_nextB;
    }

private:
    size_t Find(unsigned char c, size_t from) const
    {
        if (from >= m_t.size) return m_t.size;
        const void* hit = std::memchr(m_t.data + from, c, m_t.size - from);
        return hit ? size_t(static_cast<const unsigned char*>(hit) - m_t.data) : m_t.size;
    }
    Bytes m_t;
    unsigned char m_a, m_b;
    size_t m_nextA, m_nextB;
};

// How common a character is in text, to look for the rarest one: letters by their
// frequency in English, everything else rare.
constexpr std::array<unsigned char, 256> MakeCommonness()
{
    std::array<unsigned char, 256> table{};
    const char byFrequency[] = "ETAOINSHRDLCUMWFGYPBVKJXQZ";
    for (int i = 0; byFrequency[i]; ++i) {
        table[size_t(byFrequency[i])] = (unsigned char)(26 - i);
        table[size_t(byFrequency[i] | 0x20)] = (unsigned char)(26 - i);
    }
    table[' '] = 100;
    return table;
}
constexpr std::array<unsigned char, 256> kCommonness = MakeCommonness();

inline bool Agree(unsigned char x, unsigned char y) { return x == y || y == 0 || (IsSpaceOrNul(x) && IsSpaceOrNul(y)); }

}  // namespace

bool CExactMatcher::Match(std::string_view text, std::string_view pattern) const
{
    if (text.empty()) return pattern.empty() ? m_emptyMatch : false;
    if (pattern.empty()) return false;
    const Bytes t = Of(text), p = Of(pattern);
    if (p.data[0] == ' ') {
        for (size_t start = 0; start < t.size; ++start)
            if (ExactFrom(t, start, p)) return true;
        return false;
    }
    // Within the pattern's first word every character has a fixed distance from the
    // start, so the rarest of them is looked for and the start found from it.
    size_t anchor = 0;
    for (size_t k = 1; k < p.size && p.data[k] != ' '; ++k)
        if (kCommonness[p.data[k]] < kCommonness[p.data[anchor]]) anchor = k;
    CaseFinder candidates(t, p.data[anchor], anchor);
    for (size_t hit = candidates.Next(anchor); hit < t.size; hit = candidates.Next(hit + 1))
        if (ExactFrom(t, hit - anchor, p)) return true;
    return false;
}

namespace {

// One attempt of the typo matcher from one start position.
inline bool TypoFrom(Bytes t, size_t start, Bytes p, int S)
{
    const bool typosAllowed = p.size >= 2;
    size_t T = start, P = 0;
    int run = 9;
    unsigned char tc = t[T], pc = p[P];
    while (tc != 0 && pc != 0) {
        if (pc == ' ') {
            // A character of the field just before its white space, left out of the search text.
            if (run >= S && !IsSpace(tc) && IsSpace(t[T + 1])) ++T;
            while (T < t.size && IsSpace(t.data[T])) ++T;
            run = 9;
            ++P;
        } else if (kUpper[tc] == kUpper[pc]) {
            ++run;
            ++T;
            ++P;
        } else {
            if (!typosAllowed || run < S) return false;
            const unsigned char t0 = kUpper[tc], t1 = kUpper[t[T + 1]], t2 = kUpper[t[T + 2]];
            const unsigned char p0 = kUpper[pc], p1 = kUpper[p[P + 1]], p2 = kUpper[p[P + 2]];
            const bool A = t0 == p1, B = t1 == p0;
            if (A && B && Agree(t2, p2)) {  // swapped pair
                T += 2;
                P += 2;
                run = 0;
            } else if (B && Agree(t2, p1)) {  // a character left out of the search text
                T += 2;
                P += 1;
                run = 1;
            } else if (A && Agree(t1, p2)) {  // an extra character in the search text
                T += 1;
                P += 2;
                run = 1;
            } else if (Agree(t1, p1)) {  // a wrong character
                T += 1;
                P += 1;
                run = 0;
            } else {
                return false;
            }
        }
        tc = t[T];
        pc = p[P];
    }
    if (pc == 0) return true;
    // The text ran out with one pattern character left: it has no counterpart where the
    // field ends.
    return p[P + 1] == 0 && typosAllowed && run >= S && IsSpaceOrNul(tc);
}

}  // namespace

CTypoMatcher::CTypoMatcher(bool emptyMatch, int separation)
    : CTextMatcher(emptyMatch), m_separation(separation >= 1 && separation <= 9 ? separation : 2)
{
}

const bool* CTypoMatcher::NearTable(std::string_view pattern) const
{
    // Made once per pattern: a search calls Match with one pattern for every field.
    if (pattern != m_nearPattern) {
        m_nearPattern.assign(pattern);
        const unsigned char p0 = kUpper[(unsigned char)pattern[0]];
        const unsigned char p1 = pattern.size() >= 2 ? kUpper[(unsigned char)pattern[1]] : 0;
        for (int c = 0; c < 256; ++c) {
            const unsigned char u = kUpper[c];
            m_near[c] = u == p0 || (pattern.size() >= 2 && (u == p1 || (IsSpaceOrNul(p1) && IsSpaceOrNul(u))));
        }
    }
    return m_near;
}

bool CTypoMatcher::Match(std::string_view text, std::string_view pattern) const
{
    if (text.empty()) return pattern.empty() ? m_emptyMatch : false;
    if (pattern.empty()) return false;
    const Bytes t = Of(text), p = Of(pattern);
    const unsigned char p0 = kUpper[p.data[0]], p1 = kUpper[p[1]];
    if (p0 == ' ') {
        for (size_t start = 0; start < t.size; ++start)
            if (TypoFrom(t, start, p, m_separation)) return true;
        return false;
    }
    // An attempt gets past its first pattern character only when the text's character
    // there or the one after it is the pattern's first or second character (or both
    // are white space), so only positions next to such characters are tried.
    const bool* near = NearTable(pattern);
    const uint64_t nearEnd = p.size >= 2 && IsSpaceOrNul(p1);  // the NUL after the text is near
    const unsigned char p2 = kUpper[p[2]];
    // Sixty-four positions at a time: a mask of the near characters, without branches,
    // then only the positions at or just before a near character are looked at.
    for (size_t base = 0; base < t.size; base += 64) {
        const size_t length = t.size - base < 64 ? t.size - base : 64;
        const unsigned char* chunk = t.data + base;
        uint64_t mask = 0;
        for (size_t j = 0; j < length; ++j) mask |= uint64_t(near[chunk[j]]) << j;
        const uint64_t after = base + length < t.size ? uint64_t(near[t.data[base + length]]) : nearEnd;
        uint64_t candidates = mask | (mask >> 1) | (after << (length - 1));
        while (candidates) {
            const size_t start = base + size_t(std::countr_zero(candidates));
            candidates &= candidates - 1;
            // The first step of an attempt, as its rules allow it, before the attempt itself.
            const unsigned char t0 = kUpper[t.data[start]], t1 = kUpper[t[start + 1]];
            const bool firstStep =
                t0 == p0 || (p.size >= 2 && (Agree(t1, p1) || (t1 == p0 && Agree(kUpper[t[start + 2]], p1)) ||
                                             (t0 == p1 && (t1 == p0 || Agree(t1, p2)))));
            if (firstStep && TypoFrom(t, start, p, m_separation)) return true;
        }
    }
    return false;
}
