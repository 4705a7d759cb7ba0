#include "store/Utf.h"

#include <cstring>

void AppendUtf8(uint32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

void AppendUtf16LeAsUtf8(const unsigned char* bytes, size_t units, std::string& out)
{
    out.reserve(out.size() + units);
    for (size_t i = 0; i < units; ++i) {
        uint32_t u = uint32_t(bytes[2 * i]) | (uint32_t(bytes[2 * i + 1]) << 8);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            uint32_t v = uint32_t(bytes[2 * i + 2]) | (uint32_t(bytes[2 * i + 3]) << 8);
            if (v >= 0xDC00 && v <= 0xDFFF) {
                AppendUtf8(0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00), out);
                ++i;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF) u = 0xFFFD;
        AppendUtf8(u, out);
    }
}

namespace {
// The length of the well-formed UTF-8 sequence at s[i] with its code point, or 0.
size_t SequenceAt(std::string_view s, size_t i, uint32_t& cp)
{
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    size_t len;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (cc & 0x3F);
    }
    if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
        return 0;
    return len;
}
}  // namespace

bool IsValidUtf8(std::string_view s)
{
    uint32_t cp;
    for (size_t i = 0, len; i < s.size(); i += len) {
        // ASCII, eight bytes at a time.
        while (i + 8 <= s.size()) {
            uint64_t word;
            std::memcpy(&word, s.data() + i, 8);
            if (word & 0x8080808080808080ull) break;
            i += 8;
        }
        if (i >= s.size()) break;
        if ((len = SequenceAt(s, i, cp)) == 0) return false;
    }
    return true;
}

char32_t NextCodePoint(std::string_view s, size_t& i)
{
    uint32_t cp;
    const size_t len = SequenceAt(s, i, cp);
    if (len == 0) return kNotUtf8 | static_cast<unsigned char>(s[i++]);
    i += len;
    return cp;
}

std::string DisplayUtf8(std::string_view bytes)
{
    return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

std::string Windows1252ToUtf8(std::string_view bytes)
{
    // Windows-1252's 0x80..0x9F; the five unassigned bytes map to themselves as C1 controls.
    static const uint16_t k1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (unsigned char c : bytes) {
        if (c < 0x80)
            out += char(c);
        else if (c < 0xA0)
            AppendUtf8(k1252[c - 0x80], out);
        else
            AppendUtf8(c, out);
    }
    return out;
}

size_t Utf8CutPoint(std::string_view text, size_t limit)
{
    if (text.size() <= limit) return text.size();
    size_t end = limit;
    // A character has at most three bytes after its first; bytes that are not UTF-8 are
    // cut where they stand.
    for (int back = 0; back < 3 && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80; ++back) --end;
    return end;
}

std::string FirstCharacters(std::string_view text, size_t n)
{
    size_t i = 0;
    for (size_t count = 0; i < text.size() && count < n; ++count) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return std::string(text.substr(0, i));
}
