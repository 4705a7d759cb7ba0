#include "store/JsonText.h"

#include <charconv>
#include <cstdio>

void AppendJsonString(std::string& out, std::string_view s)
{
    out += '"';
    // Runs of characters that stand as themselves are copied whole; only a control
    // character (C0, DEL and C1, which a terminal would act on), a quote, a backslash and
    // the byte-order mark (which JSON readers drop when it stands as itself) are written
    // as escapes, which read back as the same text.
    size_t from = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        const bool bom = c == 0xEF && s.compare(i, 3, "\xEF\xBB\xBF") == 0;
        const bool c1 = c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(s[i + 1]) <= 0x9F;
        if (c1) {
            out.append(s, from, i - from);
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(s[i + 1]));
            out += buf;
            ++i;
            from = i + 1;
            continue;
        }
        if (c >= 0x20 && c != 0x7F && c != '"' && c != '\\' && !bom) continue;
        out.append(s, from, i - from);
        from = i + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (bom) {
                out += "\\ufeff";
                i += 2;
                from = i + 1;
            } else {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            }
        }
    }
    out.append(s, from, s.size() - from);
    out += '"';
}

std::string JsonNumber(double value)
{
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

std::string ToHex(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

bool FromHex(std::string_view hex, std::string& bytes)
{
    if (hex.size() % 2) return false;
    auto value = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    bytes.clear();
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        int hi = value(hex[i]), lo = value(hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes += char(hi * 16 + lo);
    }
    return true;
}
