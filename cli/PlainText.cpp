#include "cli/PlainText.h"

#include <algorithm>
#include <cstdio>

#include "store/Utf.h"

namespace {

// The characters that reorder what follows them on a terminal, and the line separators.
bool TurnsOrBreaksText(char32_t cp)
{
    return cp == 0x061C || cp == 0x200E || cp == 0x200F || (cp >= 0x202A && cp <= 0x202E) ||
           (cp >= 0x2066 && cp <= 0x2069) || cp == 0x2028 || cp == 0x2029;
}

}  // namespace

std::string PlainText(std::string_view bytes)
{
    // Printable ASCII, by far the most common, stands as it is.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) return std::string(bytes);
    const std::string text = DisplayUtf8(bytes);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t start = i;
        const char32_t cp = NextCodePoint(text, i);
        char escape[16];
        switch (cp) {
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case '\t': out += "\\t"; continue;
        case '\0': out += "\\0"; continue;
        default: break;
        }
        if (cp < 0x20 || cp == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02x", unsigned(cp));
            out += escape;
        } else if ((cp >= 0x80 && cp <= 0x9F) || TurnsOrBreaksText(cp)) {
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(cp));
            out += escape;
        } else {
            out.append(text, start, i - start);
        }
    }
    return out;
}

std::string PlainLines(std::string_view text)
{
    std::string out;
    for (size_t start = 0;;) {
        const size_t end = text.find('\n', start);
        out += PlainText(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return out;
        out += '\n';
        start = end + 1;
    }
}
