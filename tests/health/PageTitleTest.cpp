#include <gtest/gtest.h>

#include <chrono>

#include "health/PageTitle.h"
#include "platform/HttpFetcher.h"

TEST(PageTitle, TitleAndDescriptionInAnyCharacterSet)
{
    const struct {
        std::string body, contentType, title, description;
    } cases[] = {
        // Entities, white space, attribute order and quoting.
        {"<HTML><HEAD><TITLE lang=en> Tom &amp; Jerry&nbsp;&#8211;\n  &eacute;pisode </TITLE>"
         "<meta content='A  cat\tand a mouse' NAME=Description></head>",
         "text/html", "Tom & Jerry\xC2\xA0\xE2\x80\x93 \xC3\xA9pisode", "A cat and a mouse"},
        // The header's character set wins over the page's.
        {"<meta charset=\"utf-8\"><title>Caf\xE9</title>", "text/html; charset=\"iso-8859-1\"", "Caf\xC3\xA9", ""},
        // A meta tag's, old and new style.
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"><title>\xCC\xE8\xF0</title>", "",
         "\xD0\x9C\xD0\xB8\xD1\x80", ""},
        {"<meta charset=shift_jis><title>\x93\xFA\x96\x7B</title>", "text/html", "\xE6\x97\xA5\xE6\x9C\xAC", ""},
        // A byte-order mark; UTF-16 cut in the middle of a character by the read limit.
        {std::string("\xFF\xFE<\0t\0i\0t\0l\0e\0>\0\xAC\x20<\0/\0t\0i\0t\0l\0e\0>\0x", 33), "", "\xE2\x82\xAC", ""},
        // No set named: UTF-8 when it is valid, Windows-1252 when not; an unknown one likewise.
        {"<title>\xE2\x82\xAC 5</title>", "", "\xE2\x82\xAC 5", ""},
        {"<title>\x80 5</title>", "", "\xE2\x82\xAC 5", ""},
        {"<title>ok</title>", "text/html; charset=no-such-set", "ok", ""},
        // Open Graph stands in for what is missing; a drawing's title is not the page's.
        {"<svg><title>Icon</title></svg><meta property=\"og:title\" content=\"Shared\">"
         "<meta property=\"og:description\" content=\"About\"><titles>",
         "", "Shared", "About"},
        {"<titlebar>x</titlebar><body>no title</body>", "", "", ""},
        {"<title>Unclosed &amp; cut", "", "Unclosed & cut", ""},
    };
    for (const auto& c : cases) {
        const PageInfo info = ReadPageInfo(c.body, c.contentType);
        EXPECT_EQ(info.title, c.title) << c.body;
        EXPECT_EQ(info.description, c.description) << c.body;
    }
}

TEST(PageTitle, ControlCharactersOfAPageNeverReachATitle)
{
    // ESC, BEL, NUL, DEL and C1 controls, written raw or as references, are dropped.
    const std::string body = std::string("<title>A\x1B[31mB\x07" "C") + '\0' + "D\xC2\x85" "E\x7F" "F&#27;G&#x9b;H</title>"
                             "<meta name=\"description\" content=\"x\x1B]0;owned\x07y\">";
    const PageInfo info = ReadPageInfo(body, "text/html; charset=utf-8");
    EXPECT_EQ(info.title, "A[31mBCDEFGH");
    EXPECT_EQ(info.description, "x]0;ownedy");
}

TEST(PageTitle, AHostilePageIsReadInLinearTime)
{
    // Pages of the largest size read, each made of one piece over and over.
    const auto started = std::chrono::steady_clock::now();
    const struct {
        std::string piece;
        std::string tail;
        std::string title;
    } cases[] = {
        {"<meta a ", "<title>T</title>", "T"},
        {"<meta name=description content=", ">", ""},
        {"<svg><title>in a drawing</title>", "</svg><title>T</title>", "T"},
        {"<title></title><svg>", "", ""},
    };
    for (const auto& c : cases) {
        std::string body;
        while (body.size() + c.piece.size() + c.tail.size() < kMaxPageBytes) body += c.piece;
        EXPECT_EQ(ReadPageInfo(body + c.tail, "text/html").title, c.title) << c.piece;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
}
