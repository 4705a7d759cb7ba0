#include "app/WordWrap.h"

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
    const size_t none = std::string::npos;
    size_t lineStart = 0, lastSpace = none;
    size_t p = s.find_first_of(" \r\n");
    while (p != none) {
        const int used = measure(std::string_view(s).substr(lineStart, p - lineStart));
        if (used >= width && lastSpace != none) {
            // The word overflows: the line ends at the blank before it, and the word is
            // measured again at the start of the next line.
            breaks.push_back(lastSpace);
            lineStart = lastSpace + 1;
            lastSpace = none;
            continue;
        }
        if (IsBreak(s[p])) {
            while (p < s.size() && IsBreak(s[p])) ++p;
            lineStart = p;
            lastSpace = none;
        } else if (used >= width) {
            // The first word of the line is wider than the line: it stays whole.
            breaks.push_back(p);
            lineStart = ++p;
        } else {
            // A blank at the very start of a line is no place for a break.
            if (p > lineStart) lastSpace = p;
            ++p;
        }
        p = s.find_first_of(" \r\n", p);
    }
    if (lastSpace != none && measure(std::string_view(s).substr(lineStart)) >= width) breaks.push_back(lastSpace);

    std::string out;
    out.reserve(s.size() + breaks.size());
    size_t from = 0;
    for (size_t at : breaks) {
        out.append(s, from, at - from);
        out += "\r\n";
        from = at + 1;
    }
    out.append(s, from, none);
    return out;
}
