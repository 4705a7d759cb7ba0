#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <filesystem>
#include <fstream>

#include "import/BookmarkExport.h"
#include "import/BookmarkImport.h"
#include "import/DirectoryWalk.h"
#include "import/FileNameMatch.h"
#include "options/CountFormatter.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

struct Imported {
    std::vector<std::string> rows;  // "title|link|category|description"
    std::vector<std::string> messages;
    ImportSummary summary;
};

// Imports text as a file; answers the question for a non-standard file with answer.
// progress, when given, is the target's.
Imported Import(const std::string& text, Prompter::Answer answer = Prompter::Answer::Yes,
                std::function<bool(uint64_t, uint64_t)> progress = {})
{
    TempFolder temp;
    const std::string path = (temp.path / "bookmarks.html").string();
    std::ofstream(path, std::ios::binary) << text;
    FakePrompter prompter;
    prompter.Script({answer});
    Imported result;
    BookmarkTarget target;
    target.add = [&](ImportedLink&& link) {
        if (link.title.empty() && link.link.empty()) return Intake::Refused;
        result.rows.push_back(link.title + "|" + link.link + "|" + link.category + "|" +
                              DescriptionWithTags(link.description, link.tags));
        return Intake::Added;
    };
    target.progress = std::move(progress);
    result.summary = ImportBookmarkFile(path, prompter, CCountFormatter(true, ","), target);
    result.messages = prompter.Texts();
    return result;
}

const std::string kDoctype = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n";

}  // namespace

TEST(BookmarkImport, FoldersAnchorsAndTheFileKinds)
{
    const struct {
        std::string text;
        std::vector<std::string> rows;
    } cases[] = {
        // Nested folders, old style (FOLDED) and as today's browsers write them.
        {kDoctype + "<DL><p>\n<DT><H3 FOLDED>Tools</H3>\n<DL><p>\n<DT><H3 FOLDED>Web</H3>\n<DL><p>\n"
                    "<DT><A HREF=\"x1\">A</A>\n</DL><p>\n<DT><A HREF=\"x2\">B</A>\n</DL><p>\n<DT><A HREF=\"x3\">C</A>\n</DL><p>\n",
         {"A|x1|Tools|Web|", "B|x2|Tools|", "C|x3||"}},
        {kDoctype + "<DL><p>\n<DT><H3 ADD_DATE=\"1\" LAST_MODIFIED=\"2\">Work</H3>\n<DL><p>\n"
                    "<DT><a href=\"x1\">Lower</a>\n</DL><p>\n<DT><H3 FOLDED>Home</H3>\n<DL><p>\n<DT><A HREF=\"x2\">B</A>\n</DL>\n</DL>",
         {"Lower|x1|Work|", "B|x2|Home|"}},
        // A list without a heading takes no name away; a skipped anchor; markup in titles.
        {kDoctype + "<DL><p><DT><H3>F</H3><DL><p><DL><p></DL><p><A HREF=\"x1>skipped<DT><A HREF=\"x2\">a > b &amp; c</A></DL>",
         {"a > b & c|x2|F|"}},
        // An empty anchor ends the import.
        {kDoctype + "<DL><A HREF=\"x1\">A</A><A HREF=\"\"></A><A HREF=\"x3\">C</A>", {"A|x1||"}},
        // Long tags (an embedded icon), character references, descriptions of several lines.
        {kDoctype + "<DL><p>\n<DT><A HREF=\"https://a.example/?q=1&amp;r=2\" ICON=\"data:image/png;base64," +
             std::string(5000, 'Q') + "\">Tom &amp; Jerry &#8211; &#x263A; &bogus;</A>\n<DD>First line\n\nSecond &lt;b&gt;\n"
             "<DT><A\n  HREF='x2'\n  TAGS=\"a,b\">Multi-line tag</a>\n</DL>",
         {"Tom & Jerry \xE2\x80\x93 \xE2\x98\xBA &bogus;|https://a.example/?q=1&r=2||First line\r\n\r\nSecond <b>",
          "Multi-line tag|x2||Tags: a, b"}},
        // A byte-order mark and blank lines before the DOCTYPE keep a file standard.
        {"\xEF\xBB\xBF\r\n  " + kDoctype + "<DL><DT><H3>Bar</H3><DL><DT><A HREF=\"x\">T</A></DL></DL>", {"T|x|Bar|"}},
    };
    for (const auto& c : cases) {
        const Imported imported = Import(c.text);
        EXPECT_EQ(imported.rows, c.rows) << c.text.substr(0, 80);
        EXPECT_EQ(imported.messages.back(), "Imported " + std::to_string(c.rows.size()) + " link" +
                                                (c.rows.size() == 1 ? "" : "s") + ".");
    }

    // Not standard: No imports nothing; Yes reads the folders when there are lists,
    // only the anchors when there are none. An empty file imports nothing.
    const std::string meta = "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                             "<DL><DT><H3>Google</H3><DL><DT><A HREF=\"x\">T</A></DL></DL>";
    Imported declined = Import(meta, Prompter::Answer::No);
    EXPECT_TRUE(declined.rows.empty());
    EXPECT_EQ(declined.summary.outcome, ImportOutcome::Declined);
    EXPECT_EQ(declined.messages.size(), 1u);
    EXPECT_NE(declined.messages[0].find("does not appear to be a standard bookmark file.  Continue anyway?"), std::string::npos);
    EXPECT_EQ(Import(meta).rows, std::vector<std::string>{"T|x|Google|"});
    // The same when its first list is written with a stray "<" before it.
    const std::string stray = "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html\">\n"
                              "<<DL><DT><H3>Google</H3><DL><DT><A HREF=\"x\">T</A></DL></DL>";
    EXPECT_EQ(Import(stray).rows, std::vector<std::string>{"T|x|Google|"});
    EXPECT_EQ(Import("<p><a href=\"y\">Plain</a><H3>Not a folder</H3>").rows, std::vector<std::string>{"Plain|y||"});
    // Links outside any list (a bookmark service's export) keep their notes.
    EXPECT_EQ(Import("<H1>Shaarli export</H1>\n<DT><A HREF=\"u1\">One</A>\n<DD>notes of one\n"
                     "<DT><A HREF=\"u2\">Two</A>\n").rows,
              (std::vector<std::string>{"One|u1||notes of one", "Two|u2||"}));
    // References of every length up to twelve characters are decoded.
    EXPECT_EQ(Import(kDoctype + "<DL><A HREF=\"r\">&#128512; &#x1F600; &#x0001F600; &#0128512;</A>").rows,
              std::vector<std::string>{"\xF0\x9F\x98\x80 \xF0\x9F\x98\x80 \xF0\x9F\x98\x80 \xF0\x9F\x98\x80|r||"});
    EXPECT_EQ(Import("").messages.back(), "Imported 0 links.");
    EXPECT_EQ(Import("<").messages.back(), "Imported 0 links.");

    // A "<DL>" across two reading blocks is found.
    const std::string straddling = kDoctype + std::string((1 << 16) - kDoctype.size() - 2, ' ') + "<DL><A HREF=\"z\">Z</A>";
    EXPECT_EQ(Import(straddling).rows, std::vector<std::string>{"Z|z||"});

    FakePrompter prompter;
    EXPECT_EQ(ImportBookmarkFile("  ", prompter, CCountFormatter(true, ","), {}).outcome, ImportOutcome::NoFileName);
    EXPECT_EQ(ImportBookmarkFile("/no/such/file.html", prompter, CCountFormatter(true, ","), {}).outcome,
              ImportOutcome::OpenFailed);
    EXPECT_EQ(prompter.Texts().back(), "Could not open bookmark file \"/no/such/file.html\".");
}

TEST(BookmarkImport, ExportThenImportGivesBackEveryLink)
{
    LinkStore store;
    EXPECT_TRUE(store.InsertLink(0, "Tom & <Jerry>", "https://a.example/?a=1&b=\"2\"", "Line one\r\nLine two", "Work|Clients",
                     {0, 45000.5}, {0, 45001.25}));
    EXPECT_TRUE(store.InsertLink(1, "Top", "file:///home/me/notes.txt", "", "", {0, 45002}, {0, 45002}));
    EXPECT_TRUE(store.InsertLink(2, "Caf\xC3\xA9", "https://b.example/", "", "Work", {0, 45003}, {0, 45003}));
    StringSink sink;
    ASSERT_TRUE(ExportBookmarks(store, sink));
    EXPECT_NE(sink.bytes.find("<DT><H3>Clients</H3>"), std::string::npos);
    EXPECT_NE(sink.bytes.find("ADD_DATE=\""), std::string::npos);
    const Imported back = Import(sink.bytes);
    std::vector<std::string> rows = back.rows;
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{"Caf\xC3\xA9|https://b.example/|Work|",
                                              "Tom & <Jerry>|https://a.example/?a=1&b=\"2\"|Work|Clients|Line one\r\nLine two",
                                              "Top|file:///home/me/notes.txt||"}));
}

TEST(BookmarkFinder, MatchesNamesWithAndWithoutTypos)
{
    const struct {
        const char* pattern;
        const char* name;
        bool exact, typos;
    } cases[] = {
        {"bookmark.htm*", "bookmark.htm", true, true},   {"bookmark.htm*", "Bookmark.HTML", true, true},
        {"bookmark.htm*", "bookmark.htm.htm", false, false}, {"bookmark.htm*", "bookmark", false, false},
        {"bookmark.htm*", "bookmrak.htm", false, true},  {"bookmark.htm*", "bookmirk.htm", false, true},
        {"bookmark.htm*", "bookmarks.htm", false, true}, {"bookmark.htm*", "bookmar.htm", false, true},
        {"bookmark.htm*", "boookmark.htm", false, true}, {"*", "anything.at.all", true, true},
        {"abc.", "ABC", true, true},                      {"abc.", "abcd", false, true},
        {"*.htm", "a.htm", true, true},                   {"*.htm", ".htm", true, true},
        {"*.htm", "a.html", false, true},                 {"b?ok*.htm", "book-2.htm", true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CFileNameFilter(c.pattern, false).Matches(c.name), c.exact) << c.pattern << " " << c.name;
        EXPECT_EQ(CFileNameFilter(c.pattern, true).Matches(c.name), c.typos) << c.pattern << " " << c.name << " (typos)";
    }
    std::string text = "abc...";
    const DotSplit split = SplitAtLastDot(text);
    EXPECT_FALSE(split.hasDot);
    EXPECT_EQ(text, "abc");
}

TEST(BookmarkFinder, WalksDepthFirstNewestSubfolderFirstAndNeverThroughLinks)
{
    CDirectoryWalk walk("/r");
    for (const char* name : {"X", "Y", "Z"}) ASSERT_TRUE(walk.AddSubdirectory(name));
    std::vector<std::string> order;
    std::string path;
    while (walk.Next(path)) {
        order.push_back(path);
        if (path == "/r/Y/") walk.AddSubdirectory("inner");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"/r/Z/", "/r/Y/", "/r/Y/inner/", "/r/X/"}));

    TempFolder temp;
    fs::create_directories(temp.path / "a" / "deep");
    std::ofstream(temp.path / "a" / "deep" / "bookmark.html") << "x";
    std::ofstream(temp.path / "Bookmark.htm") << "x";
    std::ofstream(temp.path / "other.txt") << "x";
    fs::create_directory_symlink(temp.path, temp.path / "a" / "loop");
    CBookmarkFinder finder(temp.path.string(), "bookmark.htm*", false);
    std::vector<std::string> found;
    int steps = 0;
    while (finder.Step(found)) ASSERT_LT(++steps, 100);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{(temp.path / "Bookmark.htm").string(),
                                               (temp.path / "a" / "deep" / "bookmark.html").string()}));
}

TEST(BookmarkImport, AHostileFileIsReadWithinBounds)
{
    // Folders nested 150 deep: the links below the 100th level go into the 100th.
    std::string deep = kDoctype + "<DL>";
    for (int level = 0; level < 150; ++level) deep += "<DT><H3>F" + std::to_string(level) + "</H3><DL>";
    deep += "<DT><A HREF=\"bottom\">Bottom</A>";
    for (int level = 0; level < 150; ++level) deep += "</DL>";
    deep += "<DT><A HREF=\"top\">Top</A></DL>";
    const Imported nested = Import(deep);
    ASSERT_EQ(nested.rows.size(), 2u);
    std::string path;
    for (int level = 0; level < 100; ++level) path += (level ? "|F" : "F") + std::to_string(level);
    EXPECT_EQ(nested.rows[0], "Bottom|bottom|" + path + "|");
    EXPECT_EQ(nested.rows[1], "Top|top||");  // the levels that were folded close again in step
    EXPECT_EQ(nested.messages.back(),
              "Imported 2 links.  Folders nested more than 100 levels deep were put into the deepest one kept.");

    // A title, an address and a description of 3 MiB each: cut to 1 MiB, never inside a
    // character, and said.
    const std::string huge(3 << 20, 'x');
    std::string wide;
    while (wide.size() < (3u << 20)) wide += "\xC3\xA9";  // é: two bytes each
    const Imported big = Import(kDoctype + "<DL><DT><A HREF=\"x" + huge + "\">a" + wide + "</A><DD>" + huge + "</DL>");
    ASSERT_EQ(big.rows.size(), 1u);
    const std::string& row = big.rows[0];
    const size_t bar1 = row.find('|'), bar2 = row.find('|', bar1 + 1), bar3 = row.find('|', bar2 + 1);
    EXPECT_EQ(bar1, (1u << 20) - 1);  // "a" and then whole é's only
    EXPECT_EQ(bar2 - bar1 - 1, 1u << 20);
    EXPECT_EQ(row.size() - bar3 - 1, 1u << 20);
    EXPECT_EQ(big.messages.back(), "Imported 1 link.  Texts longer than 1 MiB were cut to that length.");
}

// Long rows as their start, their size and their end, so that a failure prints short.
std::vector<std::string> Short(std::vector<std::string> rows)
{
    for (std::string& row : rows)
        if (row.size() > 60) row = row.substr(0, 20) + "..." + std::to_string(row.size()) + "..." + row.substr(row.size() - 20);
    return rows;
}

TEST(BookmarkImport, HostileTextsAreReadOnceInLinearTimeAndAStopKeepsWhatWasTaken)
{
    const std::string amps(1 << 20, '&');
    const std::string heading = "&amp; " + std::string((1 << 20) - 10, '&');  // cut at 1 MiB, then decoded once
    const auto started = std::chrono::steady_clock::now();
    const struct {
        std::string body;
        std::vector<std::string> rows;
    } cases[] = {
        // Ampersands without semicolons: each looked at once.
        {"<DT><A HREF=\"a\">" + amps + "</A><DT><A HREF=\"b\">" + amps + "</A>", {amps + "|a||", amps + "|b||"}},
        // A heading decoded once, not again for each link below it.
        {"<DT><H3>&amp;amp; " + amps + "</H3><DL><DT><A HREF=\"c\">C</A><DT><A HREF=\"d\">D</A></DL>",
         {"C|c|" + heading + "|", "D|d|" + heading + "|"}},
        // A huge ICON before the HREF leaves the anchor whole.
        {"<DT><A ICON=\"data:" + std::string(3 << 20, 'i') + "\" HREF=\"e\">E</A>", {"E|e||"}},
        // A byte of another encoding beside a reference: one encoding for the whole text.
        {"<DT><A HREF=\"f\">caf\xE9 &eacute;</A>", {"caf\xC3\xA9 \xC3\xA9|f||"}},
    };
    for (const auto& c : cases) {
        const Imported imported = Import(kDoctype + "<DL>" + c.body + "</DL>");
        EXPECT_EQ(Short(imported.rows), Short(c.rows)) << c.body.substr(0, 40);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));

    // A description and a tags line that together pass the bound: the description gives way.
    const Imported tagged = Import(kDoctype + "<DL><DT><A HREF=\"t\" TAGS=\"b,a\">T</A><DD>" + std::string(3 << 20, 'd') + "</DL>");
    ASSERT_EQ(tagged.rows.size(), 1u);
    EXPECT_EQ(tagged.rows[0].size() - std::string("T|t||").size(), size_t(1) << 20);
    EXPECT_TRUE(tagged.rows[0].ends_with("dd\r\nTags: a, b"));
    EXPECT_EQ(tagged.messages.back(), "Imported 1 link.  Texts longer than 1 MiB were cut to that length.");

    // A fifo and a device that never ends are not opened at all.
    TempFolder temp;
    ASSERT_EQ(mkfifo((temp.path / "fifo").c_str(), 0600), 0);
    for (const std::string& source : {(temp.path / "fifo").string(), std::string("/dev/zero")}) {
        FakePrompter prompter;
        BookmarkTarget target;
        target.add = [](ImportedLink&&) { return Intake::Added; };
        EXPECT_EQ(ImportBookmarkFile(source, prompter, CCountFormatter(true, ","), target).outcome,
                  ImportOutcome::OpenFailed);
        EXPECT_EQ(prompter.Texts().back(), "Could not open bookmark file \"" + source + "\".");
    }

    // Stop after the first block of a long file: the links read so far are taken, and said.
    std::string many = kDoctype + "<DL>";
    for (int i = 0; i < 20000; ++i) many += "<DT><A HREF=\"https://x/" + std::to_string(i) + "\">Link</A>\n";
    int calls = 0;
    uint64_t last = 0, total = 0;
    const Imported stopped = Import(many + "</DL>", Prompter::Answer::Yes, [&](uint64_t done, uint64_t all) {
        last = done;
        total = all;
        return ++calls < 2;
    });
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(total, many.size() + 5);
    EXPECT_GT(last, 0u);
    EXPECT_GT(stopped.rows.size(), 0u);
    EXPECT_LT(stopped.rows.size(), 20000u);
    EXPECT_EQ(stopped.messages.back(),
              "Import stopped.  Imported " + CCountFormatter(true, ",").Format(int(stopped.rows.size())) + " links.");
}
