#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Converts UTF-16LE code units (2 * units bytes) to UTF-8, appending to out.
// An unpaired surrogate becomes U+FFFD.
void AppendUtf16LeAsUtf8(const unsigned char* bytes, size_t units, std::string& out);

// True when s is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view s);

// A byte that is not part of well-formed UTF-8, as NextCodePoint gives it: the byte's
// value with this bit set, so that it is never taken for a character.
constexpr char32_t kNotUtf8 = 0x80000000u;
// The code point at s[i], advancing i past it; a stray byte gives kNotUtf8 | byte.
char32_t NextCodePoint(std::string_view s, size_t& i);

// Appends code point cp as UTF-8.
void AppendUtf8(uint32_t cp, std::string& out);

// Bytes decoded as Windows-1252, as UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

// Text for showing bytes: valid UTF-8 as it is, anything else decoded as Windows-1252.
std::string DisplayUtf8(std::string_view bytes);

// The largest size of at most limit bytes at which text can be cut without cutting a
// character in two (text's size when it is no longer).
size_t Utf8CutPoint(std::string_view text, size_t limit);

// The first n characters (code points) of a UTF-8 text: never half of one.
std::string FirstCharacters(std::string_view text, size_t n);
