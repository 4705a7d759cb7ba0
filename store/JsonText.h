#pragma once
#include <string>
#include <string_view>

// Appends s as a JSON string literal; s must be valid UTF-8.
void AppendJsonString(std::string& out, std::string_view s);
// Shortest text that reads back as exactly the same double.
std::string JsonNumber(double value);
std::string ToHex(std::string_view bytes);
// False when hex is not an even number of hex digits.
bool FromHex(std::string_view hex, std::string& bytes);
