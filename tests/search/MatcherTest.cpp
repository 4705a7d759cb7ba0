#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "search/RecordSearch.h"
#include "search/TextMatcher.h"

#if defined(__unix__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

bool Exact(std::string_view text, std::string_view pattern) { return CExactMatcher(false).Match(text, pattern); }
bool Typo(std::string_view text, std::string_view pattern, int s = 2) { return CTypoMatcher(false, s).Match(text, pattern); }

// Plain readings of the matching rules, position by position, without any shortcut,
// to check the fast matchers against.
char Up(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
bool Ws(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
char At(const std::string& s, size_t i) { return i < s.size() ? s[i] : '\0'; }

bool ReferenceExact(const std::string& t, const std::string& p)
{
    if (t.empty() || p.empty()) return false;
    for (size_t start = 0; start < t.size(); ++start) {
        size_t i = start, j = 0;
        bool ok = true;
        while (j < p.size()) {
            if (i >= t.size()) { ok = false; break; }
            if (p[j] == ' ') {
                while (i < t.size() && Ws(t[i])) ++i;
            } else if (Up(t[i]) == Up(p[j])) {
                ++i;
            } else { ok = false; break; }
            ++j;
        }
        if (ok) return true;
    }
    return false;
}

bool ReferenceTypo(const std::string& t, const std::string& p, int S)
{
    if (t.empty() || p.empty()) return false;
    auto agree = [](char x, char y) { return x == y || y == 0 || ((Ws(x) || !x) && (Ws(y) || !y)); };
    for (size_t start = 0; start < t.size(); ++start) {
        size_t T = start, P = 0;
        int run = 9;
        bool failed = false;
        while (At(t, T) && At(p, P)) {
            char tc = At(t, T), pc = At(p, P);
            if (pc == ' ') {
                if (run >= S && !Ws(tc) && Ws(At(t, T + 1))) ++T;
                while (Ws(At(t, T))) ++T;
                run = 9;
                ++P;
            } else if (Up(tc) == Up(pc)) {
                ++run, ++T, ++P;
            } else {
                if (p.size() < 2 || run < S) { failed = true; break; }
                char t0 = Up(tc), t1 = Up(At(t, T + 1)), t2 = Up(At(t, T + 2));
                char p0 = Up(pc), p1 = Up(At(p, P + 1)), p2 = Up(At(p, P + 2));
                bool A = t0 == p1, B = t1 == p0;
                if (A && B && agree(t2, p2)) T += 2, P += 2, run = 0;
                else if (B && agree(t2, p1)) T += 2, P += 1, run = 1;
                else if (A && agree(t1, p2)) T += 1, P += 2, run = 1;
                else if (agree(t1, p1)) T += 1, P += 1, run = 0;
                else { failed = true; break; }
            }
        }
        if (failed) continue;
        if (!At(p, P)) return true;
        if (!At(p, P + 1) && p.size() >= 2 && run >= S && (Ws(At(t, T)) || !At(t, T))) return true;
    }
    return false;
}

}  // namespace

TEST(ExactMatcher, CaseBlanksAndEnds)
{
    EXPECT_TRUE(Exact("Web Link", "web link"));
    EXPECT_TRUE(Exact("Web   Link", "web link"));
    EXPECT_TRUE(Exact("weblink", "web link"));
    EXPECT_TRUE(Exact("web\tlink", "web link"));
    EXPECT_TRUE(Exact("web\r\nlink", "web link"));
    EXPECT_FALSE(Exact("web-link", "web link"));
    EXPECT_TRUE(Exact("xx abcd", "ABC"));
    // A trailing pattern blank needs a character after the matched part.
    EXPECT_TRUE(Exact("abcd", "abc "));
    EXPECT_TRUE(Exact("abc x", "abc "));
    EXPECT_FALSE(Exact("abc", "abc "));
    // Only a to z change case; other bytes compare as they are.
    EXPECT_FALSE(Exact("\xC3\xA9", "\xC3\x89"));
    EXPECT_TRUE(Exact("caf\xC3\xA9 menu", "CAF\xC3\xA9"));
    EXPECT_FALSE(Exact("[", "{"));
    // Empty strings: never a match in the search; the empty-match value otherwise.
    EXPECT_FALSE(Exact("", ""));
    EXPECT_TRUE(CExactMatcher(true).Match("", ""));
    EXPECT_FALSE(CExactMatcher(true).Match("", "a"));
    EXPECT_FALSE(Exact("abc", ""));
    EXPECT_FALSE(Exact("ab", "abc"));
    EXPECT_TRUE(Exact("   ", " "));
    EXPECT_FALSE(Exact("", " "));
}

TEST(TypoMatcher, ForgivesTheFourKindsOfTypo)
{
    EXPECT_TRUE(Typo("receive", "recieve"));   // swapped pair
    EXPECT_TRUE(Typo("receive", "receve"));    // left out
    EXPECT_TRUE(Typo("receive", "receeive"));  // extra
    EXPECT_TRUE(Typo("receive", "rexeive"));   // wrong
    EXPECT_TRUE(Typo("abcd", "xbcd"));         // the first character may be wrong
    EXPECT_FALSE(Typo("abcd", "axcx", 2));
    EXPECT_TRUE(Typo("abcd", "axcx", 1));
    EXPECT_TRUE(Typo("Web Link", "web linx"));
    EXPECT_TRUE(Typo("webx link", "web link"));
    EXPECT_TRUE(Typo("weblink", "web link"));
    EXPECT_TRUE(Typo("the cat", "teh cta", 9));
    EXPECT_TRUE(Typo("link", "links"));
    EXPECT_TRUE(Typo("link page", "links"));
    EXPECT_FALSE(Typo("linking", "linkz s"));
    // One character: no typos.
    EXPECT_TRUE(Typo("abc", "B"));
    EXPECT_FALSE(Typo("abc", "x"));
    EXPECT_FALSE(Typo("", ""));
    EXPECT_TRUE(CTypoMatcher(true, 2).Match("", ""));
    EXPECT_FALSE(Typo("abc", ""));
    EXPECT_FALSE(Typo("", "abc"));
    // A separation outside 1..9 is 2.
    EXPECT_EQ(CTypoMatcher(false, 0).Separation(), 2);
    EXPECT_EQ(CTypoMatcher(false, 10).Separation(), 2);
    EXPECT_EQ(CTypoMatcher(false, 9).Separation(), 9);
}

TEST(Matchers, HostilePatternsAndFields)
{
    const std::string huge(10000, 'a');
    const std::string field = "short field";
    EXPECT_FALSE(Exact(field, huge));
    EXPECT_FALSE(Typo(field, huge));
    EXPECT_FALSE(Exact(field, std::string(500, ' ') + "x"));
    EXPECT_TRUE(Exact(field, "   "));
    EXPECT_FALSE(Typo("", "   "));
    std::string bytes;
    for (int c = 1; c < 256; ++c) bytes += char(c);
    EXPECT_TRUE(Exact(bytes, bytes));
    EXPECT_TRUE(Typo(bytes, bytes));
    // A 1 MB field: the match at its very end is found, and none past it.
    std::string mb(1 << 20, 'x');
    mb.replace(mb.size() - 6, 6, "needle");
    EXPECT_TRUE(Exact(mb, "NEEDLE"));
    EXPECT_TRUE(Typo(mb, "neeldle"));
    EXPECT_FALSE(Exact(mb, "needles"));
    EXPECT_TRUE(Typo(mb, "needles"));  // its last character has no counterpart where the field ends
}

TEST(Matchers, AgreeWithAPlainReadingOfTheRules)
{
    // Small alphabets make near misses common, which is where shortcuts go wrong.
    std::mt19937 random(20261207);
    const std::string alphabet = "abcAB \t\r\nx";
    auto word = [&](size_t maxLength) {
        std::string s(random() % (maxLength + 1), ' ');
        for (char& c : s) c = alphabet[random() % alphabet.size()];
        return s;
    };
    // Sixteen bytes at a time, then thirty-two (where the processor has them): both agree.
    const bool wideBefore = UseWideVectors(false);
    for (int i = 0; i < 60000; ++i) {
        if (i == 30000) UseWideVectors(true);
        // Short fields, and long ones whose matches cross the matchers' 64-byte steps.
        const std::string text = word(i % 3 ? 12 : 150), pattern = word(i % 3 ? 5 : 7);
        const int s = 1 + int(random() % 9);
        ASSERT_EQ(Exact(text, pattern), ReferenceExact(text, pattern)) << '"' << text << "\" \"" << pattern << '"';
        const bool typo = Typo(text, pattern, s);
        ASSERT_EQ(typo, ReferenceTypo(text, pattern, s)) << '"' << text << "\" \"" << pattern << "\" S=" << s;
        ASSERT_EQ(typo, TypoMatchEverywhere(text, pattern, s));
        // A search's prepared pattern is answered alike, whatever else was asked in between.
        CTypoMatcher prepared(false, s);
        prepared.Prepare(pattern);
        ASSERT_EQ(prepared.Match(text, "ab"), ReferenceTypo(text, "ab", s));
        ASSERT_EQ(prepared.MatchPrepared(text), typo);
        // Typing on only narrows: a match of the longer pattern is one of the shorter.
        if (pattern.size() >= 3 && typo) {
            ASSERT_TRUE(Typo(text, pattern.substr(0, pattern.size() - 1), s));
        }
        if (pattern.size() >= 2 && Exact(text, pattern)) {
            ASSERT_TRUE(Exact(text, pattern.substr(0, pattern.size() - 1)));
        }
    }
    UseWideVectors(wideBefore);
}

#if defined(__unix__)
TEST(Matchers, NothingPastTheTextIsReadAcrossAPageOrTakenForText)
{
    // Texts that end at or near the end of a page whose next page may not be read (a read
    // there crashes), and elsewhere with the pattern's own letters right after them: the
    // matchers must neither read into the next page nor find "nebula" in "...neb" + "ula".
    const long pageSize = sysconf(_SC_PAGESIZE);
    const size_t page = size_t(pageSize);
    void* mapped = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mapped, MAP_FAILED);
    char* pages = static_cast<char*>(mapped);
    ASSERT_EQ(mprotect(pages + page, page, PROT_NONE), 0);
    const std::string follow = "ulanebula";
    const std::string cases[][2] = {{"a quiet neb", "nebula"}, {"a quiet neb", "nebual"}, {"xnebul", "nebula"},
                                    {"enbul", "nebula"},       {"nebulx", "nebulas"},     {"n e b", "nebu"}, {"quiet n", "ne"},
                                    {std::string(70, 'z') + "nebu", "nebula"}, {std::string(130, 'k') + "ne", "nebula"}};
    for (const auto& [text, pattern] : cases) {
        for (size_t after = 0; after <= 80; ++after) {
            std::memset(pages, 'u', page);
            char* at = pages + page - after - text.size();
            std::memcpy(at, text.data(), text.size());
            std::memcpy(at + text.size(), follow.data(), std::min(follow.size(), after));
            const std::string_view view(at, text.size());
            for (const bool wide : {false, true}) {
                const bool wideBefore = UseWideVectors(wide);
                for (int s : {1, 2, 3}) {
                    ASSERT_EQ(Typo(view, pattern, s), TypoMatchEverywhere(text, pattern, s))
                        << '"' << text << "\" \"" << pattern << "\" S=" << s << ", " << after << " bytes after it";
                    ASSERT_EQ(Exact(view, pattern), ReferenceExact(text, pattern));
                }
                UseWideVectors(wideBefore);
            }
        }
    }
    munmap(mapped, 2 * page);
}
#endif

TEST(RecordSearch, TypingOnNarrowsOnlyUnderTheSameOptions)
{
    // Narrowing from earlier results is right only when every option is the same: with
    // Category or Link turned on, rows that match only there were never in the results.
    const SearchOptions plain;
    struct Case {
        const char* name;
        void (*change)(SearchOptions&);
    };
    const Case changes[] = {
        {"title", [](SearchOptions& o) { o.title = false; }},
        {"description", [](SearchOptions& o) { o.description = false; }},
        {"category", [](SearchOptions& o) { o.category = true; }},
        {"link", [](SearchOptions& o) { o.link = true; }},
        {"typos", [](SearchOptions& o) { o.allowTypos = true; }},
    };
    EXPECT_TRUE(CRecordSearch(plain, "abc").Narrows(CRecordSearch(plain, "ab")));
    EXPECT_FALSE(CRecordSearch(plain, "ab").Narrows(CRecordSearch(plain, "abc")));
    EXPECT_FALSE(CRecordSearch(plain, "xbc").Narrows(CRecordSearch(plain, "ab")));
    for (const Case& c : changes) {
        SearchOptions other = plain;
        c.change(other);
        EXPECT_FALSE(CRecordSearch(other, "abc").Narrows(CRecordSearch(plain, "ab"))) << c.name;
    }
}
