#include "store/CaseFold.h"

#include <cstring>

#include <unicode/uchar.h>

#include "store/Utf.h"

std::string LowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

bool HasNonAscii(std::string_view text)
{
    // Eight bytes at a time: the high bit of any of them.
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (word & 0x8080808080808080ull) return true;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) & 0x80) return true;
    return false;
}

void AppendFolded(std::string_view text, std::string& out)
{
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += char(c >= 'A' && c <= 'Z' ? c + 0x20 : c);
            ++i;
            continue;
        }
        const size_t start = i;
        const char32_t cp = NextCodePoint(text, i);
        if (cp & kNotUtf8) {
            out += char(c);
            continue;
        }
        const char32_t folded = char32_t(u_foldCase(UChar32(cp), U_FOLD_CASE_DEFAULT));
        if (folded == cp)
            out.append(text.substr(start, i - start));
        else
            AppendUtf8(folded, out);
    }
}

std::string Folded(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendFolded(text, out);
    return out;
}
