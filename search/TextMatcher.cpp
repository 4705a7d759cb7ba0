#include "search/TextMatcher.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
        m_nearCount = 0;
        for (int c = 0; c < 256; ++c) {
            const unsigned char u = kUpper[c];
            m_near[c] = u == p0 || (pattern.size() >= 2 && (u == p1 || (IsSpaceOrNul(p1) && IsSpaceOrNul(u))));
            if (m_near[c]) m_nearBytes[m_nearCount++] = (unsigned char)c;
        }
    }
    return m_near;
}

namespace {

#if defined(__SSE2__)
// The near characters among 64 bytes, one bit each, sixteen bytes compared at a time.
uint64_t NearMask64(const unsigned char* chunk, const __m128i* set, int count)
{
    uint64_t mask = 0;
    for (int part = 0; part < 4; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunk + 16 * part));
        __m128i hit = _mm_setzero_si128();
        for (int k = 0; k < count; ++k) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(bytes, set[k]));
        mask |= uint64_t(uint32_t(_mm_movemask_epi8(hit))) << (16 * part);
    }
    return mask;
}
#endif

// Where a window of 66 bytes holds one character without regard to ASCII case: bit i of
// lo for byte i, bits 0 and 1 of hi for bytes 64 and 65.
struct CharMask {
    uint64_t lo = 0;
    unsigned hi = 0;
};

class CharFinder {
public:
    explicit CharFinder(unsigned char upper) : m_upper(upper), m_lower(IsLetter(upper) ? upper | 0x20 : upper)
    {
#if defined(__SSE2__)
        m_u = _mm_set1_epi8(char(m_upper));
        m_l = _mm_set1_epi8(char(m_lower));
#endif
    }
    bool Is(unsigned char c) const { return c == m_upper || c == m_lower; }
    // window: 66 readable bytes.
    CharMask At(const unsigned char* window) const
    {
        CharMask mask;
#if defined(__SSE2__)
        for (int part = 0; part < 4; ++part) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window + 16 * part));
            const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(bytes, m_u), _mm_cmpeq_epi8(bytes, m_l));
            mask.lo |= uint64_t(uint32_t(_mm_movemask_epi8(hit))) << (16 * part);
        }
#else
        for (size_t j = 0; j < 64; ++j) mask.lo |= uint64_t(Is(window[j])) << j;
#endif
        mask.hi = unsigned(Is(window[64])) | unsigned(Is(window[65])) << 1;
        return mask;
    }

private:
    unsigned char m_upper, m_lower;
#if defined(__SSE2__)
    __m128i m_u, m_l;
#endif
};

// The mask of position i + 1 and i + 2 at bit i.
inline uint64_t Next1(const CharMask& m) { return (m.lo >> 1) | (uint64_t(m.hi & 1) << 63); }
inline uint64_t Next2(const CharMask& m) { return (m.lo >> 2) | (uint64_t(m.hi & 3) << 62); }

}  // namespace

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
    const unsigned char p2 = kUpper[p[2]];
    if (m_separation >= 2 && p1 != 0 && p2 != 0 && p1 != ' ' && p2 != ' ') {
        // A first word of three characters or more, typos S >= 2 apart: an attempt from
        // position i can succeed only when its first step does and the exact characters
        // that must follow a typo are there. So it starts with p0; or it is a swap
        // (p1 p0 p2), a character left out of the search text (x p0 p1), an extra one in it
        // (p1 p2) or a wrong one (x p1 p2). Those are found for 64 positions at a time.
        const CharFinder f0(p0), f1(p1), f2(p2);
        unsigned char tail[80];
        for (size_t base = 0; base < t.size; base += 64) {
            // The last window is copied with NULs after the text, as the walk reads it.
            const unsigned char* window = t.data + base;
            if (base + 66 > t.size) {
                std::memset(tail, 0, sizeof tail);
                std::memcpy(tail, t.data + base, t.size - base);
                window = tail;
            }
            const CharMask e0 = f0.At(window), e1 = f1.At(window), e2 = f2.At(window);
            const uint64_t n0 = Next1(e0), n1 = Next1(e1), n2 = Next1(e2);
            const uint64_t m1 = Next2(e1), m2 = Next2(e2);
            uint64_t candidates = e0.lo | (e1.lo & n0 & m2) | (n0 & m1) | (e1.lo & n2) | (n1 & m2);
            if (t.size - base < 64) candidates &= (uint64_t(1) << (t.size - base)) - 1;
            while (candidates) {
                const size_t start = base + size_t(std::countr_zero(candidates));
                candidates &= candidates - 1;
                if (TypoFrom(t, start, p, m_separation)) return true;
            }
        }
        return false;
    }
    const bool* near = NearTable(pattern);
    const uint64_t nearEnd = p.size >= 2 && IsSpaceOrNul(p1);  // the NUL after the text is near
#if defined(__SSE2__)
    // A few near characters are compared sixteen bytes at a time; many, by the table.
    __m128i set[8];
    const int setCount = m_nearCount <= 8 ? m_nearCount : 0;
    for (int k = 0; k < setCount; ++k) set[k] = _mm_set1_epi8(char(m_nearBytes[k]));
#endif
    // Sixty-four positions at a time: a mask of the near characters, without branches,
    // then only the positions at or just before a near character are looked at.
    for (size_t base = 0; base < t.size; base += 64) {
        const size_t length = t.size - base < 64 ? t.size - base : 64;
        const unsigned char* chunk = t.data + base;
        uint64_t mask = 0;
#if defined(__SSE2__)
        if (length == 64 && setCount > 0)
            mask = NearMask64(chunk, set, setCount);
        else
#endif
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

bool TypoMatchEverywhere(std::string_view text, std::string_view pattern, int separation)
{
    if (text.empty() || pattern.empty()) return false;
    const int S = separation >= 1 && separation <= 9 ? separation : 2;
    for (size_t start = 0; start < text.size(); ++start)
        if (TypoFrom(Of(text), start, Of(pattern), S)) return true;
    return false;
}
