#pragma once
#include <functional>
#include <string>
#include <string_view>

// The width in pixels of a piece of UTF-8 text, as a field would show it.
using MeasureText = std::function<int(std::string_view)>;

// Hard-wraps a description to a width: trims it, joins the lines of each paragraph (a
// single line break becomes a blank; two or more stay), then fills lines greedily,
// breaking at blanks with CR LF. A word wider than the line is never broken inside;
// the break comes after it. Each line is measured from its own start.
std::string WrapDescription(std::string_view text, int width, const MeasureText& measure);
