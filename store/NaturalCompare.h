#pragma once
#include <string_view>
#include <vector>

// Orders names the way people read them: digit runs compare by value ("Item 9"
// before "Item 10"), letters without regard to case (see CaseFold.h), other bytes by
// their value.
int NaturalCompare(std::string_view a, std::string_view b);

// NaturalCompare, with names it finds equal ("01" and "1", "News" and "news") put in
// byte order, so that a sorted list has one order only and a file read and written
// back keeps it.
int CategoryCompare(std::string_view a, std::string_view b);

// Exact comparison without regard to case (see CaseFold.h); negative, zero or positive.
int CompareNoCase(std::string_view a, std::string_view b);

inline bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

// White space is blank, tab, CR, LF, vertical tab and form feed (the C locale's).
std::string_view TrimView(std::string_view s);

// The pieces of a text between separators: "a,,b" gives "a", "" and "b"; "" gives one
// empty piece.
std::vector<std::string_view> SplitView(std::string_view text, char separator);
