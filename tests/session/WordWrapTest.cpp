#include <gtest/gtest.h>

#include "session/WordWrap.h"

namespace {
// One pixel per byte keeps the expected breaks easy to read.
int Bytes(std::string_view text) { return int(text.size()); }
}  // namespace

TEST(WordWrap, JoinsLinesThenFillsGreedily)
{
    const struct {
        const char* text;
        int width;
        const char* wrapped;
    } cases[] = {
        // Joining: a single break becomes a blank, a paragraph break stays.
        {"one\r\ntwo\r\n\r\nthree", 100, "one two\r\n\r\nthree"},
        {"  a\rb\nc  \r\n", 100, "a b c"},
        {"", 10, ""},
        {" \r\n ", 10, ""},
        // Filling: the line ends at the blank before the word that reaches the width.
        {"aaa bbb ccc ddd", 8, "aaa bbb\r\nccc ddd"},
        {"aaa bbb ccc ddd", 7, "aaa\r\nbbb\r\nccc\r\nddd"},
        {"aaa bbb ccc\r\n\r\nddd", 8, "aaa bbb\r\nccc\r\n\r\nddd"},
        // A word wider than the line stays whole; the break comes after it.
        {"abcdefghijkl mn op", 6, "abcdefghijkl\r\nmn op"},
        {"x abcdefghijkl", 5, "x\r\nabcdefghijkl"},
        {"abcdefghijkl", 5, "abcdefghijkl"},
        // The last word.
        {"aa bb cc", 7, "aa bb\r\ncc"},
        {"aa bb cc", 9, "aa bb cc"},
        // Bytes of any kind pass through.
        {"caf\xC3\xA9 \xFF\xFE end", 100, "caf\xC3\xA9 \xFF\xFE end"},
    };
    for (const auto& c : cases) EXPECT_EQ(WrapDescription(c.text, c.width, Bytes), c.wrapped) << c.text << " @" << c.width;
}

TEST(WordWrap, MeasuresEachLineFromItsOwnStart)
{
    std::string text;
    for (int i = 0; i < 4000; ++i) text += "word ";
    size_t measured = 0;
    const std::string wrapped = WrapDescription(text, 60, [&](std::string_view s) {
        measured += s.size();
        return int(s.size());
    });
    EXPECT_LT(measured, text.size() * 20);  // linear, not quadratic
    EXPECT_EQ(wrapped.substr(0, 61), "word word word word word word word word word word word word\r\n");
}
