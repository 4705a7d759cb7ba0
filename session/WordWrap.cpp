#include "session/WordWrap.h"

#include <vector>

#include "store/NaturalCompare.h"

namespace {
bool IsBreak(char c) { return c == '\r' || c == '\n'; }

// A single line break between two characters becomes a blank; paragraph breaks stay.
std::string JoinLines(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (!IsBreak(text[i])) {
            out += text[i++];
            continue;
        }
        size_t end = i;
        while (end < text.size() && IsBreak(text[end])) ++end;
        const std::string_view run = text.substr(i, end - i);
        if (run.size() == 1 || run == "\r\n")
            out += ' ';
        else
            out.append(run);
        i = end;
    }
    return out;
}
}  // namespace

std::string WrapDescription(std::string_view text, int width, const MeasureText& measure)
{
    const std::string s = JoinLines(TrimView(text));
    if (s.empty()) return s;

    std::vector<size_t> breaks;  // blanks that become CR LF, ascending
    size_t lineStart = 0;
    size_t guess = 0;  // where the previous line overflowed: lines tend to hold alike
    std::vector<size_t> stops;  // the blanks of the line, then its end (a line break or the end)
    bool ended = false;
    // Makes stops[j] known if the line has it.
    auto have = [&](size_t j) {
        while (stops.size() <= j && !ended) {
            size_t from = stops.empty() ? lineStart : stops.back() + 1;
            size_t p = s.find_first_of(" \r\n", from);
            // A blank at the very start of a line is no place for a break.
            while (p == lineStart && s[p] == ' ') p = s.find_first_of(" \r\n", p + 1);
            if (p == std::string::npos || IsBreak(s[p])) {
                ended = true;
                p = p == std::string::npos ? s.size() : p;
            }
            stops.push_back(p);
        }
        return j < stops.size();
    };
    auto overflows = [&](size_t j) { return measure(std::string_view(s).substr(lineStart, stops[j] - lineStart)) >= width; };

    for (;;) {
        stops.clear();
        ended = false;
        // The first stop whose text from the line start reaches the width, found from
        // the guess outwards; widths grow with the text, so the stops before it fit.
        size_t j = guess;
        if (!have(j)) j = stops.size() - 1;
        if (overflows(j)) {
            while (j > 0 && overflows(j - 1)) --j;
        } else {
            do ++j;
            while (have(j) && !overflows(j));
        }
        const bool overflow = j < stops.size();
        const bool atEnd = overflow && ended && j == stops.size() - 1;
        if (overflow && (j > 0 || !atEnd)) {
            // The line ends at the blank before the overflowing word, or after the word
            // when it is the first one and wider than the line.
            const size_t at = j > 0 ? stops[j - 1] : stops[0];
            breaks.push_back(at);
            lineStart = at + 1;
            guess = j;
            continue;
        }
        // The line ends at its line break, or the text ends.
        while (!ended) have(stops.size());
        size_t next = stops.back();
        if (next >= s.size()) break;
        while (next < s.size() && IsBreak(s[next])) ++next;
        lineStart = next;
    }

    std::string out;
    out.reserve(s.size() + 2 * breaks.size());
    size_t from = 0;
    for (size_t at : breaks) {
        out.append(s, from, at - from);
        out += "\r\n";
        from = at + 1;
    }
    out.append(s, from, std::string::npos);
    return out;
}
