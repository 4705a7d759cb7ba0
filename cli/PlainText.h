#pragma once
#include <string>
#include <string_view>

// A text of the data file as a line of output shows it: bytes that are not UTF-8 decoded
// as Windows-1252, and every control character written as an escape ("\n", "\t", "\0",
// "\x1b", "\u202e" for the characters that turn text around), so that no title can add
// a line of its own to what a command prints or hide what stands beside it.
std::string PlainText(std::string_view bytes);

// A message for standard error, which may quote a file (a store's own error text, a file
// name): each of its lines as PlainText shows it, the line breaks kept.
std::string PlainLines(std::string_view text);
