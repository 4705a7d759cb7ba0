#include "store/NaturalCompare.h"

#include <cstdint>

#include "store/CaseFold.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Bytes compare as signed 8-bit values, as the original comparison did.
int SignedByte(std::string_view s, size_t i) { return i < s.size() ? int(int8_t(s[i])) : 0; }

int NaturalCompareFolded(std::string_view a, std::string_view b)
{
    // A text ends at its first NUL, as it would as a C string: a NUL compared as a
    // character beside the end compared as 0 made "a\0b", "a" and "a\0c" equal in pairs
    // but not all three, which no sort can work with.
    a = a.substr(0, a.find('\0'));
    b = b.substr(0, b.find('\0'));
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            // Compare the runs by value without overflow: skip leading zeros,
            // then the longer run is larger, else the first differing digit decides.
            size_t ei = i, ej = j;
            while (ei < a.size() && IsDigit(a[ei])) ++ei;
            while (ej < b.size() && IsDigit(b[ej])) ++ej;
            size_t si = i, sj = j;
            while (si < ei && a[si] == '0') ++si;
            while (sj < ej && b[sj] == '0') ++sj;
            size_t li = ei - si, lj = ej - sj;
            if (li != lj) return li < lj ? -1 : 1;
            for (; si < ei; ++si, ++sj)
                if (a[si] != b[sj]) return a[si] - b[sj];
            i = ei;
            j = ej;
            continue;
        }
        int ca = int8_t(LowerAscii(a[i])), cb = int8_t(LowerAscii(b[j]));
        if (ca != cb) return ca - cb;
        ++i;
        ++j;
    }
    return SignedByte(a, i) - SignedByte(b, j);
}

}  // namespace

int NaturalCompare(std::string_view a, std::string_view b)
{
    // Letters of any script compare without regard to case: folded first where there is
    // more than ASCII to fold.
    if (HasNonAscii(a) || HasNonAscii(b)) {
        const std::string fa = Folded(a.substr(0, a.find('\0'))), fb = Folded(b.substr(0, b.find('\0')));
        return NaturalCompareFolded(fa, fb);
    }
    return NaturalCompareFolded(a, b);
}

int CompareNoCase(std::string_view a, std::string_view b)
{
    if (HasNonAscii(a) || HasNonAscii(b)) {
        const std::string fa = Folded(a), fb = Folded(b);
        return fa.compare(fb) < 0 ? -1 : fa == fb ? 0 : 1;
    }
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int ca = uint8_t(LowerAscii(a[i])), cb = uint8_t(LowerAscii(b[i]));
        if (ca != cb) return ca - cb;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string_view TrimView(std::string_view s)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    size_t b = 0, e = s.size();
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::vector<std::string_view> SplitView(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        pieces.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return pieces;
        start = end + 1;
    }
}

int CategoryCompare(std::string_view a, std::string_view b)
{
    const int natural = NaturalCompare(a, b);
    return natural != 0 ? natural : a.compare(b);
}
