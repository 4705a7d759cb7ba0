#pragma once
#include <string>
#include <string_view>

// Decodes &#NNN; &#xHH; and the names of HTML's Latin-1 and typographic characters
// (&amp; &eacute; &ndash; ...); a reference it does not know stays.
std::string DecodeCharacterReferences(std::string_view text);
