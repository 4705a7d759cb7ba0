#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/CliCommands.h"
#include "search/RecordSearch.h"
#include "sort/SortKeys.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "tests/support/BrowserFixtures.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/FileFaults.h"
#include "tests/support/Unprivileged.h"

namespace fs = std::filesystem;

namespace {

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("norvelle_cli_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                           "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string PathOf(const char* name) const { return (dir / name).string(); }
    static void WriteBytes(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    int Dump(const std::string& path)
    {
        out.str("");
        err.str("");
        return DumpCommand(path, out, err);
    }

    fs::path dir;
    std::ostringstream out, err;
};

std::string StoreBytes(const LinkStore& store)
{
    StringSink sink;
    WriteDataFile(store, sink);
    return sink.bytes;
}

}  // namespace

TEST_F(Cli, DumpThenBuildReproducesTheFileByteForByte)
{
    LinkStore store;
    store.InsertCategorySorted("News");
    store.InsertCategorySorted("Caf\xE9");  // Windows-1252 bytes, not UTF-8
    store.SetClearSelection("News");
    EXPECT_TRUE(store.InsertLink(0, "Home \"quoted\"\ttab", "C:\\a.txt", "line one\r\nline two", "News", {0, 39814.0}, {0, 39969.588298611}))
        ;
    EXPECT_TRUE(store.InsertLink(1, std::string("nul\0byte", 8), "http://x/\xFF", "", "", {2, -0.0}, {1, 1e300}));
    EXPECT_TRUE(store.InsertLink(2, "\xE2\x82\xAC uro", std::string(70000, 'L'), "", "Caf\xE9", {0, 0.1}, {0, 0.1 + 0.2}));
    std::string original = StoreBytes(store);
    WriteBytes(PathOf("a.dat"), original);

    ASSERT_EQ(Dump(PathOf("a.dat")), kExitOk) << err.str();
    std::string json = out.str();
    EXPECT_NE(json.find("\"version\": 2"), std::string::npos);
    EXPECT_NE(json.find("\"clearSelection\": \"News\""), std::string::npos);
    EXPECT_NE(json.find("\"textBytes\": \"436166e9\""), std::string::npos);
    EXPECT_NE(json.find("\"linkBytes\""), std::string::npos);
    EXPECT_NE(json.find("\"valueBits\""), std::string::npos);  // negative zero
    EXPECT_NE(json.find("\"title\": \"Home \\\"quoted\\\"\\ttab\""), std::string::npos);
    EXPECT_NE(json.find("\\u0000"), std::string::npos);
    WriteBytes(PathOf("a.json"), json);

    std::ostringstream buildErr;
    ASSERT_EQ(BuildCommand(PathOf("a.json"), PathOf("b.dat"), buildErr), kExitOk) << buildErr.str();
    EXPECT_EQ(ReadBytes(PathOf("b.dat")), original);
}

TEST_F(Cli, DumpReportsBadFilesWithItsExitCodes)
{
    EXPECT_EQ(Dump(PathOf("missing.dat")), kExitUsage);

    LinkStore store;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(store.InsertLink(i, "t" + std::to_string(i), "", "", "", {}, {}));
    std::string bytes = StoreBytes(store);
    WriteBytes(PathOf("cut.dat"), bytes.substr(0, bytes.size() - 5));
    EXPECT_EQ(Dump(PathOf("cut.dat")), kExitFailed);
    EXPECT_NE(out.str().find("\"t1\""), std::string::npos);
    EXPECT_EQ(out.str().find("\"t2\""), std::string::npos);
    EXPECT_EQ(err.str(), "Could not read annotated links from \"" + PathOf("cut.dat") + "\".  The file ends early, in link 3 of 3.  2 links were read; the file itself is kept as it is.\n");

    std::string newer = bytes;
    newer[0] = 3;
    WriteBytes(PathOf("new.dat"), newer);
    EXPECT_EQ(Dump(PathOf("new.dat")), kExitRefused);
    EXPECT_EQ(out.str(), "{}\n");
    EXPECT_EQ(err.str(), "Cannot load a data file that has a higher version number.\n");
}

TEST_F(Cli, BuildRejectsBadJsonAndWritesNothing)
{
    const std::pair<const char*, const char*> cases[] = {
        {"{not json", "invalid JSON"},
        {"[]", "not a JSON object"},
        {R"({"categories": [], "clearSelection": "LAST"})", "records: expected an array"},
        {R"({"categories": [1], "clearSelection": "LAST", "records": []})", "categories[0]: expected a string"},
        {R"({"categories": [], "clearSelection": "LAST", "records": [{"title": "t", "link": "", "description": "",
            "category": "", "added": {"status": 0, "value": 1}, "modified": {"status": 0}}]})",
         "records[0].modified.value: expected a number"},
        {R"({"categories": [], "clearSelection": "LAST", "records": [{"title": "t", "titleBytes": "zz"}]})",
         "records[0].titleBytes"},
    };
    for (const auto& [json, message] : cases) {
        WriteBytes(PathOf("bad.json"), json);
        std::ostringstream buildErr;
        EXPECT_EQ(BuildCommand(PathOf("bad.json"), PathOf("out.dat"), buildErr), kExitUsage) << json;
        EXPECT_NE(buildErr.str().find(message), std::string::npos) << buildErr.str();
        EXPECT_FALSE(fs::exists(PathOf("out.dat")));
    }
    // An unwritable target is a write failure.
    WriteBytes(PathOf("ok.json"), R"({"categories": [], "clearSelection": "LAST", "records": []})");
    std::ostringstream buildErr;
    EXPECT_EQ(BuildCommand(PathOf("ok.json"), PathOf("no/such/folder/out.dat"), buildErr), kExitFailed);
    EXPECT_NE(buildErr.str().find("Could not save annotated links into"), std::string::npos);
}

TEST_F(Cli, SearchPrintsTheMatchingRows)
{
    LinkStore store;
    store.InsertCategorySorted("News");
    EXPECT_TRUE(store.InsertLink(0, "Receive mail", "http://mail", "", "News", {}, {}));
    EXPECT_TRUE(store.InsertLink(1, "Weather", "http://weather", "how to receive forecasts", "", {}, {}));
    EXPECT_TRUE(store.InsertLink(2, "Caf\xE9 list", "http://cafe", "", "Food", {}, {}));
    EXPECT_TRUE(store.InsertLink(3, "Nothing here", "http://receive.example", "", "", {}, {}));
    EXPECT_TRUE(store.InsertLink(4, "ZÜRICH ΣΟΦΙΑ МОСКВА", "http://u", "", "", {}, {}));
    WriteBytes(PathOf("s.dat"), StoreBytes(store));

    auto run = [&](const std::string& pattern, SearchOptions options, bool last = false) {
        out.str("");
        err.str("");
        return SearchCommand(PathOf("s.dat"), pattern, options, last, out, err);
    };
    SearchOptions defaults;
    EXPECT_EQ(run("RECEIVE", defaults), kExitOk);
    EXPECT_EQ(out.str(), "*0\tReceive mail\n 1\tWeather\n2 of 5 links match\n");
    EXPECT_EQ(run("receive", defaults, true), kExitOk);
    EXPECT_EQ(out.str(), " 0\tReceive mail\n*1\tWeather\n2 of 5 links match\n");

    SearchOptions links;
    links.title = links.description = false;
    links.link = true;
    EXPECT_EQ(run("receive", links), kExitOk);
    EXPECT_EQ(out.str(), "*3\tNothing here\n1 of 5 links match\n");

    SearchOptions typos;
    typos.allowTypos = true;
    typos.separation = 2;
    EXPECT_EQ(run("recieve", typos), kExitOk);
    EXPECT_EQ(out.str().substr(out.str().rfind('\n', out.str().size() - 2) + 1), "2 of 5 links match\n");
    EXPECT_EQ(run("recieve", defaults), kExitFailed);
    EXPECT_EQ(out.str(), "0 of 5 links match\n");

    // Any letter's case, as in the window.
    for (const char* pattern : {"zürich", "σοφια", "москва"}) {
        EXPECT_EQ(run(pattern, defaults), kExitOk) << pattern;
        EXPECT_EQ(out.str(), "*4\tZÜRICH ΣΟΦΙΑ МОСКВА\n1 of 5 links match\n");
    }

    // Titles that are not UTF-8 are shown as Windows-1252.
    EXPECT_EQ(run("caf", defaults), kExitOk);
    EXPECT_EQ(out.str(), "*2\tCaf\xC3\xA9 list\n1 of 5 links match\n");

    // Many batches, matched on every core: the rows come out in order and the first (or
    // last) match of the whole file is the starred one.
    LinkStore many;
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        const bool hit = i % 7 == 3 || i == 19999;
        EXPECT_TRUE(many.InsertLink(i, hit ? "comet " + std::to_string(i) : "row " + std::to_string(i), "http://x", "", "", {},
                        {}));
        if (hit) expected += " " + std::to_string(i) + "\tcomet " + std::to_string(i) + "\n";
    }
    WriteBytes(PathOf("s.dat"), StoreBytes(many));
    const std::string count = "2858 of 20000 links match\n";
    EXPECT_EQ(run("comet", defaults), kExitOk);
    EXPECT_TRUE(out.str() == "*" + expected.substr(1) + count);
    EXPECT_EQ(run("comet", defaults, true), kExitOk);
    const size_t lastLine = expected.rfind("\n 19999\t") + 1;
    EXPECT_TRUE(out.str() == expected.substr(0, lastLine) + "*" + expected.substr(lastLine + 1) + count);

    EXPECT_EQ(SearchCommand(PathOf("missing.dat"), "x", defaults, false, out, err), kExitUsage);
    std::string cut = StoreBytes(store);
    WriteBytes(PathOf("cut.dat"), cut.substr(0, cut.size() - 3));
    EXPECT_EQ(SearchCommand(PathOf("cut.dat"), "x", defaults, false, out, err), kExitUsage);
}

TEST(CliTitleCase, ConvertsArgumentsOrLinesWithTheGivenExceptions)
{
    struct Case {
        std::vector<std::string> args;
        std::string input, output;
        int exit;
    } cases[] = {
        {{"titlecase", "the lord of the rings", "what it's all about"}, "", "The Lord of the Rings\nWhat It's All About\n", 0},
        {{"titlecase"}, "of mice and men\nnotes: on the road\n", "Of Mice and Men\nNotes: On the Road\n", 0},
        {{"titlecase", "--exceptions", "VON,the", "ludwig von the beethoven"}, "", "Ludwig VON the Beethoven\n", 0},
        {{"titlecase", "--exceptions"}, "", "", 2},
        {{"titlecase", "--upper", "x"}, "", "", 2},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.input);
        std::ostringstream out, err;
        EXPECT_EQ(TitleCaseCommand(c.args, in, out, err), c.exit) << c.args.back();
        EXPECT_EQ(out.str(), c.output) << c.args.back();
        EXPECT_EQ(err.str().empty(), c.exit == 0);
    }
}

TEST_F(Cli, StatsAndSortWorkOnFilesAndNeverWriteWhatTheyCouldNotRead)
{
    LinkStore store;
    store.InsertCategorySorted("work");
    store.InsertCategorySorted("Home");
    EXPECT_TRUE(store.InsertLink(0, "beta", "l", "", "Work", {0, 2}, {0, 2}));
    EXPECT_TRUE(store.InsertLink(1, "Alpha", "l", "", "work", {0, 3}, {0, 3}));
    EXPECT_TRUE(store.InsertLink(2, "gamma", "l", "", "Home", {0, 1}, {0, 1}));
    WriteBytes(PathOf("a.dat"), StoreBytes(store));
    EXPECT_EQ(StatsCommand(PathOf("a.dat"), out, err), kExitOk);
    EXPECT_EQ(out.str(), "TOTAL\t3\nNO CATEGORY\t1\nHome\t1\nwork\t1\n");

    std::vector<SortKey> keys;
    std::string problem;
    ASSERT_TRUE(ParseSortKeys("added:desc,title", keys, problem));
    EXPECT_EQ(SortCommand(PathOf("a.dat"), keys, PathOf("sorted.dat"), err), kExitOk);
    out.str("");
    Dump(PathOf("sorted.dat"));
    const std::string json = out.str();
    EXPECT_LT(json.find("Alpha"), json.find("beta"));
    EXPECT_LT(json.find("beta"), json.find("gamma"));
    ASSERT_TRUE(ParseSortKeys("title", keys, problem));
    EXPECT_EQ(SortCommand(PathOf("a.dat"), keys, "", err), kExitOk);
    out.str("");
    Dump(PathOf("a.dat"));
    EXPECT_LT(out.str().find("Alpha"), out.str().find("beta"));

    for (const char* bad : {"title,title", "name", "title:up", "", "title,category,description,added,modified,title"})
        EXPECT_FALSE(ParseSortKeys(bad, keys, problem)) << bad;

    // A damaged or newer file is left exactly as it was.
    const std::string bytes = StoreBytes(store);
    WriteBytes(PathOf("cut.dat"), bytes.substr(0, bytes.size() - 5));
    EXPECT_EQ(SortCommand(PathOf("cut.dat"), keys, "", err), kExitFailed);
    EXPECT_EQ(ReadBytes(PathOf("cut.dat")), bytes.substr(0, bytes.size() - 5));
    std::string newer = bytes;
    newer[0] = 3;
    WriteBytes(PathOf("new.dat"), newer);
    EXPECT_EQ(SortCommand(PathOf("new.dat"), keys, "", err), kExitRefused);
    EXPECT_EQ(StatsCommand(PathOf("new.dat"), out, err), kExitRefused);
    EXPECT_EQ(ReadBytes(PathOf("new.dat")), newer);
    EXPECT_EQ(StatsCommand(PathOf("missing.dat"), out, err), kExitUsage);
}

TEST_F(Cli, ImportExportAndFindBookmarkFiles)
{
    const std::string bookmarks = PathOf("bookmarks.html");
    WriteBytes(bookmarks, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p><DT><H3>Work</H3><DL><p>"
                          "<DT><A HREF=\"https://w.example/\">W</A><DD>Note</DL><p><DT><A HREF=\"https://t.example/\">T</A></DL>");
    const std::string data = PathOf("links.dat");
    EXPECT_EQ(ImportBookmarksCommand(bookmarks, data, false, out, err), kExitOk);
    EXPECT_EQ(out.str(), "Imported 2 links.\n");
    EXPECT_EQ(ImportBookmarksCommand(bookmarks, data, false, out, err), kExitOk);  // appends
    out.str("");
    EXPECT_EQ(StatsCommand(data, out, err), kExitOk);
    EXPECT_EQ(out.str(), "TOTAL\t4\nNO CATEGORY\t2\nWork\t2\n");

    // Not a standard file: refused without --yes, imported with it.
    WriteBytes(PathOf("plain.html"), "<a href=\"p\">P</a>");
    err.str("");
    EXPECT_EQ(ImportBookmarksCommand(PathOf("plain.html"), data, false, out, err), kExitFailed);
    EXPECT_NE(err.str().find("does not appear to be a standard bookmark file"), std::string::npos);
    EXPECT_EQ(ImportBookmarksCommand(PathOf("plain.html"), data, true, out, err), kExitOk);
    EXPECT_EQ(ImportBookmarksCommand(PathOf("missing.html"), data, true, out, err), kExitUsage);
    // A damaged data file is left alone.
    const std::string bytes = ReadBytes(data);
    WriteBytes(PathOf("cut.dat"), bytes.substr(0, bytes.size() - 3));
    EXPECT_EQ(ImportBookmarksCommand(bookmarks, PathOf("cut.dat"), false, out, err), kExitFailed);
    EXPECT_EQ(ReadBytes(PathOf("cut.dat")), bytes.substr(0, bytes.size() - 3));

    out.str("");
    EXPECT_EQ(ExportBookmarksCommand(data, PathOf("export.html"), ExportFormat::Html, out, err), kExitOk);
    EXPECT_EQ(out.str(), "Exported 5 links.\n");
    EXPECT_EQ(ExportBookmarksCommand(PathOf("cut.dat"), PathOf("x.html"), ExportFormat::Html, out, err), kExitFailed);
    WriteBytes(PathOf("none.dat"), StoreBytes(LinkStore()));
    err.str("");
    EXPECT_EQ(ExportBookmarksCommand(PathOf("none.dat"), PathOf("none.html"), ExportFormat::Html, out, err), kExitFailed);
    EXPECT_EQ(err.str(), "There are no links to export.\n");
    EXPECT_FALSE(fs::exists(PathOf("none.html")));

    out.str("");
    EXPECT_EQ(FindBookmarksCommand(dir.string(), "bookmark.htm*", false, out, err), kExitFailed);
    EXPECT_EQ(FindBookmarksCommand(dir.string(), "bookmark.htm*", true, out, err), kExitOk);  // bookmarks.html
    EXPECT_EQ(out.str(), bookmarks + "\n");
    EXPECT_EQ(FindBookmarksCommand(dir.string(), std::string(256, 'x'), false, out, err), kExitUsage);
    EXPECT_EQ(FindBookmarksCommand(PathOf("nowhere"), "x", false, out, err), kExitUsage);
}

// Every format export writes, import reads back into a data file with the same links, and
// a service's broken file leaves the data file as it was.
TEST_F(Cli, ExportFormatsReadBackAndABrokenServiceFileImportsNothing)
{
    const std::string data = PathOf("links.dat");
    WriteBytes(PathOf("in.html"), "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p><DT><H3>Work</H3><DL><p>"
                                  "<DT><A HREF=\"https://a.example/\" ADD_DATE=\"1600000000\" TAGS=\"x\">A</A><DD>Note"
                                  "</DL><p><DT><A HREF=\"https://b.example/\" ADD_DATE=\"1600000001\">B</A></DL>");
    std::ostringstream out, err;
    ASSERT_EQ(ImportBookmarksCommand(PathOf("in.html"), data, false, out, err), kExitOk);
    const std::string original = ReadBytes(data);
    for (const char* name : {"out.xbel", "out.md", "out.csv", "out.json"}) {
        SCOPED_TRACE(name);
        out.str("");
        ASSERT_EQ(ExportBookmarksCommand(data, PathOf(name), ExportFormatOfFileName(name), out, err), kExitOk);
        EXPECT_EQ(out.str(), "Exported 2 links.\n");
        const std::string back = PathOf(name) + ".dat";
        ASSERT_EQ(ImportBookmarksCommand(PathOf(name), back, false, out, err), kExitOk) << err.str();
        LinkStore a, b;
        MemorySource sa(ReadBytes(data)), sb(ReadBytes(back));
        ASSERT_EQ(ReadDataFile(a, sa).status, ReadStatus::Ok);
        ASSERT_EQ(ReadDataFile(b, sb).status, ReadStatus::Ok);
        ASSERT_EQ(b.Count(), 2);
        // XBEL and Markdown put each link under its category, so the order may change.
        for (int i = 0; i < 2; ++i) {
            const int j = b.At(0).Title() == a.At(i).Title() ? 0 : 1;
            EXPECT_EQ(a.At(i).Title(), b.At(j).Title());
            EXPECT_EQ(a.At(i).Description(), b.At(j).Description());
            EXPECT_EQ(a.At(i).Category(), b.At(j).Category());
            EXPECT_EQ(a.At(i).Added(), b.At(j).Added());
        }
    }
    WriteBytes(PathOf("bad.json"), "[{\"href\":\"https://c.example/\",\"toread\":\"no\"},{\"href\":}]");
    err.str("");
    EXPECT_EQ(ImportBookmarksCommand(PathOf("bad.json"), data, false, out, err), kExitFailed);
    EXPECT_NE(err.str().find("line 1: it is not well-formed JSON.  No link was imported."), std::string::npos) << err.str();
    EXPECT_EQ(ReadBytes(data), original);
}

TEST_F(Cli, ImportFromBrowserStoresKeepsDatesSkipsWhatIsThereAndListsProfiles)
{
    using namespace browser_fixtures;
    const fs::path home = dir / "home";
    const fs::path places = PutFirefoxProfile(home);
    const fs::path chromium = PutChromiumProfile(home, ".config/chromium", "Default");
    const auto profileBefore = Snapshot(home);
    const std::string data = PathOf("links.dat");

    out.str("");
    EXPECT_EQ(ImportBookmarksCommand(places.string(), data, false, out, err), kExitOk);
    EXPECT_EQ(out.str(), "Imported 8 links.\n");
    // Again, from the profile folder, leaving out what is there: nothing is written.
    const std::string once = ReadBytes(data);
    out.str("");
    EXPECT_EQ(ImportBookmarksCommand(places.parent_path().string(), data, false, out, err, IntakeOptions{true, true}), kExitOk);
    EXPECT_EQ(out.str(), "Imported 0 links.  Skipped 8 links already in the list.\n");
    EXPECT_EQ(ReadBytes(data), once);
    out.str("");
    EXPECT_EQ(ImportBookmarksCommand(chromium.string(), data, false, out, err, IntakeOptions{false, true}), kExitOk);
    EXPECT_EQ(out.str(), "Imported 5 links.\n");
    EXPECT_EQ(Snapshot(home), profileBefore);

    LinkStore store;
    MemorySource source(ReadBytes(data));
    FakePrompter quiet;
    ASSERT_EQ(ReadDataFile(store, source).status, ReadStatus::Ok);
    ASSERT_EQ(store.Count(), 13);
    CUnixDates dates;
    EXPECT_EQ(store.At(0).Title(), "Debian \xE2\x80\x94 The Universal OS");
    EXPECT_EQ(store.At(0).Added(), dates.DateOf(1500000000));
    EXPECT_EQ(store.At(0).Modified(), dates.DateOf(1600000000));
    EXPECT_EQ(store.At(0).Description(), "Tags: debian, linux");
    // --now: the time of the import, not the browser's.
    EXPECT_GT(store.At(8).Added().value, dates.DateOf(1700000000).value);
    EXPECT_EQ(store.At(8).Category(), "Bookmarks bar");

    err.str("");
    WriteBytes(PathOf("Bookmarks"), "{\"roots\": [");
    EXPECT_EQ(ImportBookmarksCommand(PathOf("Bookmarks"), data, false, out, err), kExitFailed);
    EXPECT_NE(err.str().find("it is damaged near byte"), std::string::npos) << err.str();

    out.str("");
    EXPECT_EQ(BrowsersCommand(home.string(), out, err), kExitOk);
    EXPECT_EQ(out.str(), "Firefox\tdefault-release\t" + places.string() + "\t8\nChromium\tDefault\t" + chromium.string() + "\t5\n");
    EXPECT_EQ(BrowsersCommand(PathOf("nobody"), out, err), kExitFailed);
}

TEST_F(Cli, ImportKeepsTheFoldersOfExportsWithAByteOrderMarkOrWithoutADoctype)
{
    const struct {
        const char* name;
        std::string text;
    } files[] = {
        {"ie11.htm", "\xEF\xBB\xBF<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<DL><p>\r\n<DT><H3 FOLDED>Links</H3>\r\n<DL><p>\r\n"
                     "<DT><H3>Deep</H3>\r\n<DL><p>\r\n<DT><A HREF=\"https://ie.example/\">IE</A>\r\n</DL><p>\r\n</DL><p>\r\n</DL><p>\r\n"},
        {"google.html", "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n"
                        "<DL><p><DT><H3>Links</H3><DL><p><DT><H3>Deep</H3><DL><p>\n<DT><A HREF=\"https://g.example/\" "
                        "ADD_DATE=\"1\">Google</A>\n<DD>Para one\n- item\n\nPara two\n</DL><p></DL><p></DL><p>"},
    };
    for (const auto& f : files) {
        WriteBytes(PathOf(f.name), f.text);
        EXPECT_EQ(ImportBookmarksCommand(PathOf(f.name), PathOf("links.dat"), true, out, err), kExitOk) << f.name;
    }
    out.str("");
    ASSERT_EQ(Dump(PathOf("links.dat")), kExitOk);
    const std::string json = out.str();
    EXPECT_NE(json.find("\"category\": \"Links|Deep\""), std::string::npos) << json;
    EXPECT_EQ(json.find("\"category\": \"\""), std::string::npos) << json;
    EXPECT_NE(json.find("Para one\\r\\n- item\\r\\n\\r\\nPara two"), std::string::npos) << json;
}

TEST_F(Cli, AByteOrderMarkInsideATextSurvivesDumpAndBuild)
{
    LinkStore store;
    EXPECT_TRUE(store.InsertLink(0, "\xEF\xBB\xBFtitle", "link\xEF\xBB\xBF", "", "", {0, 1}, {0, 1}));
    const std::string original = StoreBytes(store);
    WriteBytes(PathOf("a.dat"), original);
    ASSERT_EQ(Dump(PathOf("a.dat")), kExitOk);
    WriteBytes(PathOf("a.json"), out.str());
    ASSERT_EQ(BuildCommand(PathOf("a.json"), PathOf("b.dat"), err), kExitOk);
    EXPECT_EQ(ReadBytes(PathOf("b.dat")), original);
}

TEST_F(Cli, BuildWritesWhatTheProgramWouldSoThatDumpAndBuildAgree)
{
    // Found by fuzzing: a Clear-selection value that names no category, and categories
    // out of order or repeated, were written as given, and dump then showed another file.
    WriteBytes(PathOf("odd.json"), R"({"version": 2, "categories": ["b", "A", "a"], "clearSelection": "Elsewhere",
        "records": [{"title": "t", "link": "l", "description": "", "category": "",
                     "added": {"status": 0, "value": 1}, "modified": {"status": 0, "value": 1}}]})");
    ASSERT_EQ(BuildCommand(PathOf("odd.json"), PathOf("a.dat"), err), kExitOk);
    ASSERT_EQ(Dump(PathOf("a.dat")), kExitOk);
    EXPECT_NE(out.str().find(R"("categories": ["A", "b", "Elsewhere"])"), std::string::npos) << out.str();
    WriteBytes(PathOf("a.json"), out.str());
    ASSERT_EQ(BuildCommand(PathOf("a.json"), PathOf("b.dat"), err), kExitOk);
    EXPECT_EQ(ReadBytes(PathOf("b.dat")), ReadBytes(PathOf("a.dat")));
}

TEST_F(Cli, MergeWritesTheUnionAndNeverMergesAFileNotReadWhole)
{
    auto write = [this](const char* name, const std::vector<std::string>& titles) {
        LinkStore store;
        for (const std::string& t : titles) EXPECT_TRUE(store.InsertLink(store.Count(), t, "l", "", "", {0, 1}, {0, 1}));
        WriteBytes(PathOf(name), StoreBytes(store));
        return PathOf(name);
    };
    const std::string a = write("a.dat", {"both", "only a"});
    const std::string b = write("b.dat", {"only b", "both"});
    const std::string merged = PathOf("merged.dat");
    EXPECT_EQ(MergeCommand(a, b, merged, out, err), kExitOk);
    EXPECT_EQ(out.str(), "1 links only in " + a + ", 1 only in " + b + ", 1 in both: 3 written to " + merged + ".\n");
    ASSERT_EQ(Dump(merged), kExitOk);
    const std::string json = out.str();
    EXPECT_LT(json.find("\"both\""), json.find("\"only a\""));
    EXPECT_LT(json.find("\"only a\""), json.find("\"only b\""));

    // A damaged or missing input leaves the output alone.
    WriteBytes(PathOf("cut.dat"), ReadBytes(b).substr(0, 40));
    const std::string before = ReadBytes(merged);
    EXPECT_EQ(MergeCommand(a, PathOf("cut.dat"), merged, out, err), kExitFailed);
    EXPECT_EQ(MergeCommand(a, PathOf("none.dat"), merged, out, err), kExitUsage);
    EXPECT_EQ(ReadBytes(merged), before);
}

TEST_F(Cli, OutputsNeverReplaceTheirInputsDevicesOrLinksTheyDidNotRead)
{
    LinkStore store;
    EXPECT_TRUE(store.InsertLink(0, "kept", "https://k.example/", "", "", {0, 1}, {0, 1}));
    const std::string a = PathOf("a.dat"), b = PathOf("b.dat");
    WriteBytes(a, StoreBytes(store));
    WriteBytes(b, StoreBytes(store));
    const std::string original = ReadBytes(a);

    // The data file read is never the file written, whatever the command.
    err.str("");
    EXPECT_EQ(ExportBookmarksCommand(a, a, ExportFormat::Html, out, err), kExitFailed);
    EXPECT_NE(err.str().find("It is the file being read."), std::string::npos) << err.str();
    EXPECT_EQ(MergeCommand(a, b, a, out, err), kExitFailed);
    std::vector<SortKey> keys{{0, true}};
    EXPECT_EQ(SortCommand(a, keys, a, err), kExitOk);  // the same file: sorted in place
    EXPECT_EQ(ReadBytes(a), original);

    // A device is written into, never replaced; a full one is a failure.
    EXPECT_EQ(ExportBookmarksCommand(a, "/dev/null", ExportFormat::Html, out, err), kExitOk);
    err.str("");
    EXPECT_EQ(ExportBookmarksCommand(a, "/dev/full", ExportFormat::Html, out, err), kExitFailed);
    EXPECT_NE(err.str().find("The disk is full."), std::string::npos) << err.str();
    EXPECT_EQ(SortCommand(a, keys, "/dev/full", err), kExitFailed);
    EXPECT_EQ(MergeCommand(a, b, "/dev/full", out, err), kExitFailed);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));

    // A file with links that the command did not read is replaced only with --replace.
    WriteBytes(PathOf("j.json"), R"({"version": 2, "categories": [], "clearSelection": "LAST", "records": []})");
    err.str("");
    EXPECT_EQ(BuildCommand(PathOf("j.json"), b, err), kExitFailed);
    EXPECT_NE(err.str().find("already holds 1 link that this window did not load.  Replace it?  Give --replace"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(ReadBytes(b), original);
    EXPECT_EQ(ExportBookmarksCommand(a, b, ExportFormat::Html, out, err), kExitFailed);
    EXPECT_EQ(MergeCommand(a, PathOf("a.dat"), b, out, err), kExitFailed);
    EXPECT_EQ(ReadBytes(b), original);
    EXPECT_EQ(BuildCommand(PathOf("j.json"), b, err, true), kExitOk);
    EXPECT_NE(ReadBytes(b), original);
    // A folder is never written over, and the command says so.
    fs::create_directory(PathOf("folder.dat"));
    err.str("");
    EXPECT_EQ(BuildCommand(PathOf("j.json"), PathOf("folder.dat"), err, true), kExitFailed);
    EXPECT_NE(err.str().find("It is a folder."), std::string::npos);
    EXPECT_TRUE(fs::is_directory(PathOf("folder.dat")));
    // ... and a file that is no data file only with --replace too, where a data file goes.
    WriteBytes(PathOf("notes.html"), "<html>notes</html>");
    EXPECT_EQ(MergeCommand(a, b, PathOf("notes.html"), out, err), kExitFailed);
    EXPECT_EQ(ReadBytes(PathOf("notes.html")), "<html>notes</html>");
}

TEST_F(Cli, AnImportThatCannotBeSavedSaysSoAndLeavesTheFileWhole)
{
    const std::string bookmarks = PathOf("bookmarks.html");
    WriteBytes(bookmarks, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p><DT><A HREF=\"https://n.example/\">N</A></DL>");
    LinkStore store;
    for (int i = 0; i < 200; ++i) EXPECT_TRUE(store.InsertLink(i, "old " + std::to_string(i), "https://o.example/", "", "", {0, 1}, {0, 1}));
    const std::string data = PathOf("shared/links.dat");
    const std::string original = StoreBytes(store);
    // As a user who may write the data file but create nothing in its folder, on a full disk.
    AsOrdinaryUser(dir, [&] {
        fs::create_directories(dir / "shared");
        WriteBytes(data, original);
        setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
        fs::permissions(dir / "shared", fs::perms::owner_read | fs::perms::owner_exec);
        std::ostringstream o, e;
        {
            FileFaults faults;
            faults.faults["reserve"] = ENOSPC;
            EXPECT_EQ(ImportBookmarksCommand(bookmarks, data, false, o, e), kExitFailed);
        }
        EXPECT_EQ(o.str(), "");
        EXPECT_EQ(e.str(), "Could not save annotated links into \"" + data +
                               "\".  The disk is full.  The 1 imported link was not saved.\n");
        EXPECT_TRUE(ReadBytes(data) == original);
        // With room on the disk the same import is written in place.
        EXPECT_EQ(ImportBookmarksCommand(bookmarks, data, false, o, e), kExitOk);
        EXPECT_EQ(o.str(), "Imported 1 link.\n");
        fs::permissions(dir / "shared", fs::perms::owner_all);
    });
    out.str("");
    ASSERT_EQ(StatsCommand(data, out, err), kExitOk);
    EXPECT_EQ(out.str(), "TOTAL\t201\nNO CATEGORY\t201\n");
}

TEST_F(Cli, ATitleCannotAddLinesOrHideTextInWhatACommandPrints)
{
    LinkStore store;
    store.InsertCategorySorted("Cat\nTOTAL\t99");
    const std::string forged = "real\n0\tOK\t200\t-\tfake\x1b[2J\xE2\x80\xAEgnp.exe\r";
    EXPECT_TRUE(store.InsertLink(0, forged, "https://d.example/", "", "Cat\nTOTAL\t99", {0, 1}, {0, 1}));
    EXPECT_TRUE(store.InsertLink(1, std::string("nul\0here", 8), "https://d.example", "", "", {0, 2}, {0, 2}));
    WriteBytes(PathOf("a.dat"), StoreBytes(store));
    const std::string shown = "real\\n0\\tOK\\t200\\t-\\tfake\\x1b[2J\\u202egnp.exe\\r";

    SearchOptions options;
    EXPECT_EQ(SearchCommand(PathOf("a.dat"), "real", options, false, out, err), kExitOk);
    EXPECT_EQ(out.str(), "*0\t" + shown + "\n1 of 2 links match\n");
    out.str("");
    EXPECT_EQ(StatsCommand(PathOf("a.dat"), out, err), kExitOk);
    EXPECT_EQ(out.str(), "TOTAL\t2\nNO CATEGORY\t1\nCat\\nTOTAL\\t99\t1\n");
    out.str("");
    EXPECT_EQ(DuplicatesCommand(PathOf("a.dat"), out, err), kExitFailed);
    EXPECT_NE(out.str().find("0\t" + shown + "\thttps://d.example/\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("1\tnul\\0here\t"), std::string::npos) << out.str();
    // A message that quotes a file's name is escaped as well.
    err.str("");
    EXPECT_EQ(ImportBookmarksCommand(PathOf("x\x1b[2J.html"), PathOf("a.dat"), true, out, err), kExitUsage);
    EXPECT_EQ(err.str(), "Could not open bookmark file \"" + PathOf("x\\x1b[2J.html") + "\".\n");
    // JSON is JSON: its own escapes, unchanged.
    ASSERT_EQ(Dump(PathOf("a.dat")), kExitOk);
    EXPECT_NE(out.str().find("\"title\": \"real\\n0\\tOK\\t200\\t-\\tfake\\u001b[2J\xE2\x80\xAEgnp.exe\\r\""),
              std::string::npos);
}

TEST_F(Cli, WritersOfOneFileAtOnceLoseNoLinkThatTheyReportedSaved)
{
    // Six imports and an in-place sort of one data file at once, each in its own process,
    // as from several terminals: every one that says it saved has its links in the file.
    const std::string data = PathOf("links.dat");
    const int writers = 6;
    std::vector<pid_t> children;
    for (int w = 0; w < writers; ++w) {
        std::string html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>";
        for (int i = 0; i < 50; ++i)
            html += "<DT><A HREF=\"https://w" + std::to_string(w) + ".example/" + std::to_string(i) + "\">w" +
                    std::to_string(w) + "-" + std::to_string(i) + "</A>";
        WriteBytes(PathOf(("b" + std::to_string(w) + ".html").c_str()), html + "</DL>");
    }
    for (int w = 0; w <= writers; ++w) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::ostringstream o, e;
            const int code = w < writers ? ImportBookmarksCommand(PathOf(("b" + std::to_string(w) + ".html").c_str()),
                                                                  data, false, o, e)
                                         : (PathExists(data) ? SortCommand(data, {{0, true}}, "", e) : kExitOk);
            _exit(code);
        }
        children.push_back(child);
    }
    std::vector<int> codes;
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        codes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }
    out.str("");
    ASSERT_EQ(StatsCommand(data, out, err), kExitOk);
    int saved = 0;
    for (int w = 0; w < writers; ++w) {
        EXPECT_EQ(codes[w], kExitOk) << "writer " << w << " did not wait for its turn";
        if (codes[w] == kExitOk) saved += 50;
    }
    EXPECT_EQ(codes[writers], kExitOk);
    EXPECT_EQ(out.str(), "TOTAL\t" + std::to_string(saved) + "\nNO CATEGORY\t" + std::to_string(saved) + "\n");
    // No writer's temporary file is left behind.
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST_F(Cli, ADataFileThatIsNoFileOrTheSourceItselfIsRefusedAtOnce)
{
    // A fifo as the data file hung the import; the data file as its own source was
    // reported as a file of a higher version.
    const std::string fifo = PathOf("links.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    WriteBytes(PathOf("b.html"), "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p><DT><A HREF=\"https://a.example/\">A</A></DL>");
    EXPECT_EQ(ImportBookmarksCommand(PathOf("b.html"), fifo, false, out, err), kExitUsage);
    EXPECT_NE(err.str().find("is not a file"), std::string::npos) << err.str();
    EXPECT_EQ(Dump(fifo), kExitUsage);
    const std::string data = PathOf("links.dat");
    ASSERT_EQ(ImportBookmarksCommand(PathOf("b.html"), data, false, out, err), kExitOk);
    err.str("");
    EXPECT_EQ(ImportBookmarksCommand(data, data, false, out, err), kExitUsage);
    EXPECT_NE(err.str().find("is the data file itself"), std::string::npos) << err.str();
}

TEST_F(Cli, DumpWritesDelAndC1ControlsAsEscapesThatBuildReadsBackExactly)
{
    // A terminal acts on DEL and on C1 controls (U+009B starts a command on some): dump
    // writes them as escapes, and build reads the very same bytes back.
    LinkStore store;
    EXPECT_TRUE(store.InsertLink(0, "a\x7F" "b\xC2\x9B" "31mc\xC2\x85" "d", "l", "", "", {0, 1}, {0, 2}));
    const std::string bytes = StoreBytes(store);
    WriteBytes(PathOf("in.dat"), bytes);
    ASSERT_EQ(Dump(PathOf("in.dat")), kExitOk);
    const std::string json = out.str();
    EXPECT_NE(json.find("a\\u007fb\\u009b31mc\\u0085d"), std::string::npos) << json;
    EXPECT_EQ(json.find('\x7F'), std::string::npos);
    EXPECT_EQ(json.find("\xC2\x9B"), std::string::npos);
    WriteBytes(PathOf("in.json"), json);
    ASSERT_EQ(BuildCommand(PathOf("in.json"), PathOf("out.dat"), err), kExitOk) << err.str();
    EXPECT_EQ(ReadBytes(PathOf("out.dat")), bytes);
}

TEST_F(Cli, AHostileProfilesIniNeitherHangsNorFillsTheListing)
{
    // profiles.ini as a fifo waited forever for a writer, and as a link to /dev/zero was
    // read without end; either is passed over, and the profile folders are still found.
    for (const char* kind : {"fifo", "zero"}) {
        const fs::path home = dir / kind;
        browser_fixtures::PutFirefoxProfile(home);
        const fs::path ini = home / ".mozilla/firefox/profiles.ini";
        fs::remove(ini);
        if (std::string(kind) == "fifo")
            ASSERT_EQ(mkfifo(ini.c_str(), 0600), 0);
        else
            fs::create_symlink("/dev/zero", ini);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::ostringstream o, e;
            BrowsersCommand(home.string(), o, e);
            const std::string listed = o.str() + e.str();
            (void)!write(ready[1], listed.data(), listed.size());
            _exit(0);
        }
        close(ready[1]);
        int status = 0;
        bool ended = false;
        for (int i = 0; i < 500 && !ended; ++i) {
            ended = waitpid(child, &status, WNOHANG) == child;
            if (!ended) usleep(10 * 1000);
        }
        if (!ended) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        EXPECT_TRUE(ended) << kind << ": the listing did not end within 5 seconds";
        std::string listed;
        char buffer[4096];
        for (ssize_t n; (n = read(ready[0], buffer, sizeof buffer)) > 0;) listed.append(buffer, size_t(n));
        close(ready[0]);
        EXPECT_NE(listed.find("places.sqlite"), std::string::npos) << kind << ": " << listed;
        // What was passed over is said.
        EXPECT_NE(listed.find("norvelle-cli: " + ini.string() + " was not read: it is not a plain file of at most 1 MiB.\n"),
                  std::string::npos) << listed;
    }
}
