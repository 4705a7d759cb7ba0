#include "store/HtmlText.h"

#include <iterator>
#include <utility>

#include "store/Utf.h"

std::string DecodeCharacterReferences(std::string_view text)
{
    if (text.find('&') == std::string_view::npos) return std::string(text);
    static const std::pair<std::string_view, char32_t> kNamed[] = {
        {"amp", U'&'}, {"lt", U'<'}, {"gt", U'>'}, {"quot", U'"'}, {"apos", U'\''},
        {"OElig", 0x152}, {"oelig", 0x153}, {"Scaron", 0x160}, {"scaron", 0x161}, {"Yuml", 0x178}, {"fnof", 0x192},
        {"circ", 0x2C6}, {"tilde", 0x2DC}, {"ensp", 0x2002}, {"emsp", 0x2003}, {"thinsp", 0x2009}, {"zwnj", 0x200C},
        {"zwj", 0x200D}, {"lrm", 0x200E}, {"rlm", 0x200F}, {"ndash", 0x2013}, {"mdash", 0x2014}, {"lsquo", 0x2018},
        {"rsquo", 0x2019}, {"sbquo", 0x201A}, {"ldquo", 0x201C}, {"rdquo", 0x201D}, {"bdquo", 0x201E},
        {"dagger", 0x2020}, {"Dagger", 0x2021}, {"bull", 0x2022}, {"hellip", 0x2026}, {"permil", 0x2030},
        {"lsaquo", 0x2039}, {"rsaquo", 0x203A}, {"euro", 0x20AC}, {"trade", 0x2122}};
    // The names of U+00A0 to U+00FF, in order.
    static const std::string_view kLatin1[96] = {
        "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
        "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
        "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
        "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
        "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
        "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
        "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
        "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
        "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        // A reference is short, so its end is looked for only a few bytes on: a text of
        // ampersands without semicolons is read once, not once per ampersand.
        const size_t semi = text[i] == '&' ? text.substr(i, 13).find(';') : std::string_view::npos;
        if (semi == std::string_view::npos) {
            out += text[i++];
            continue;
        }
        const std::string_view name = text.substr(i + 1, semi - 1);
        char32_t cp = 0;
        if (name.size() >= 2 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            bool ok = !digits.empty();
            for (char d : digits) {
                const int v = d >= '0' && d <= '9' ? d - '0'
                              : hex && (d | 0x20) >= 'a' && (d | 0x20) <= 'f' ? (d | 0x20) - 'a' + 10
                                                                              : -1;
                if (v < 0 || cp > 0x10FFFF) ok = false;
                else cp = cp * (hex ? 16 : 10) + char32_t(v);
            }
            if (!ok || cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0;
        } else {
            for (const auto& [known, value] : kNamed)
                if (name == known) cp = value;
            for (size_t k = 0; cp == 0 && k < std::size(kLatin1); ++k)
                if (name == kLatin1[k]) cp = char32_t(0xA0 + k);
        }
        if (cp == 0) {
            out += text[i++];
            continue;
        }
        AppendUtf8(cp, out);
        i += semi + 1;
    }
    return out;
}
