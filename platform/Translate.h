#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

// Every text a person reads in the window passes through Tr, under a context (the part of
// the program it belongs to), so that a translation can take its place. The window
// installs Qt's translations behind it; without them (the command-line tool, the logic's
// tests) a text is its English self. `tools/update-translations` finds every Tr call.
using TranslateFunction = std::string (*)(const char* context, const char* text);
void InstallTranslation(TranslateFunction translate);
std::string Tr(const char* context, const char* text);

// A text with %1, %2, ... replaced by the arguments in order, as Qt's arg() does: a
// translation may put them in another order.
std::string Fill(std::string_view text, std::initializer_list<std::string_view> args);

// Marks a text in a table as one to translate where it is shown (with Tr and the same context).
#define TrNoop(context, text) text
