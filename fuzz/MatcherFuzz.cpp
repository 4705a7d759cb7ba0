// The search matchers on any text, pattern and separation: the exact matcher agrees with
// a plain reading of its rule (at some place of the text, the pattern matches letter by
// letter without regard to ASCII case, a blank taking any run of white space, also none),
// the typo matcher with its rule tried from every place of the text (also with the pattern
// prepared, as a search asks), and a pattern that only adds to another never matches where
// that one does not (what narrowing relies on); sixteen or thirty-two bytes at a time.
#include "fuzz/FuzzInput.h"
#include "search/TextMatcher.h"

namespace {
bool Space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
char Up(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

bool PlainMatch(std::string_view text, std::string_view pattern, bool emptyMatch)
{
    if (text.empty()) return pattern.empty() && emptyMatch;
    if (pattern.empty()) return false;
    for (size_t start = 0; start < text.size(); ++start) {
        size_t i = start, j = 0;
        bool ok = true;
        for (; j < pattern.size() && ok; ++j) {
            if (i >= text.size()) ok = false;
            else if (pattern[j] == ' ') while (i < text.size() && Space(text[i])) ++i;
            else if (Up(text[i]) != Up(pattern[j])) ok = false;
            else ++i;
        }
        if (ok) return true;
    }
    return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto parts = Parts(data, size, 3);
    const int separation = parts[2].empty() ? 2 : int(static_cast<unsigned char>(parts[2][0]) % 12);
    // Each input is matched sixteen and thirty-two bytes at a time (where the processor can).
    for (bool wide : {false, true}) {
        UseWideVectors(wide);
        for (bool emptyMatch : {false, true}) {
            CExactMatcher exact(emptyMatch);
            FUZZ_CHECK(exact.Match(parts[0], parts[1]) == PlainMatch(parts[0], parts[1], emptyMatch));
            CTypoMatcher typos(emptyMatch, separation);
            const bool typo = typos.Match(parts[0], parts[1]);
            if (!parts[0].empty() && !parts[1].empty())
                FUZZ_CHECK(typo == TypoMatchEverywhere(parts[0], parts[1], separation));
            // As a search asks it: the pattern prepared once, then every field.
            CTypoMatcher prepared(emptyMatch, separation);
            prepared.Prepare(parts[1]);
            FUZZ_CHECK(prepared.MatchPrepared(parts[0]) == typo);
            exact.Prepare(parts[1]);
            FUZZ_CHECK(exact.MatchPrepared(parts[0]) == exact.Match(parts[0], parts[1]));
            // The pattern one character shorter (two at least for typos, where one allows none).
            if (parts[1].size() >= 2) {
                const std::string_view shorter = parts[1].substr(0, parts[1].size() - 1);
                if (exact.Match(parts[0], parts[1])) FUZZ_CHECK(exact.Match(parts[0], shorter));
                if (typo && shorter.size() >= 2) FUZZ_CHECK(typos.Match(parts[0], shorter));
            }
        }
    }
    return 0;
}
