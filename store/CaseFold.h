#pragma once
#include <string>
#include <string_view>

// Letter case, as every comparison without regard to case sees it: Unicode simple case
// folding, one character to one character (ICU's default), so that "ZÜRICH" and
// "zürich", "ΣΟΦΊΑ" and "σοφία", "МОСКВА" and "москва" are alike. A dotted capital İ
// stays itself, and a dotless ı too: only I and i are one letter. Bytes that are not
// UTF-8 are kept as they are.
void AppendFolded(std::string_view text, std::string& out);
std::string Folded(std::string_view text);

// True when text holds a byte outside ASCII: only then can folding do more than ASCII's
// A to Z.
bool HasNonAscii(std::string_view text);

// A to Z made a to z and nothing else: for the names of protocols and formats (schemes,
// character sets, file endings), which are ASCII by definition.
std::string LowerAscii(std::string_view text);
