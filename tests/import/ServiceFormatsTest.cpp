#include <gtest/gtest.h>

#include <fstream>

#include "import/BookmarkImport.h"
#include "import/LinkExport.h"
#include "import/LinkIntake.h"
#include "import/ServiceFormats.h"
#include "options/CountFormatter.h"
#include "store/FileIO.h"
#include "store/LinkDate.h"
#include "store/LinkStore.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/TempFolder.h"

namespace {

// "title|link|category|description with its tags line|added" for each link read.
std::vector<std::string> Read(ServiceFormat format, std::string_view text, std::string* error = nullptr)
{
    std::vector<std::string> rows;
    BookmarkTarget target;
    target.add = [&](ImportedLink&& link) {
        rows.push_back(link.title + "|" + link.link + "|" + link.category + "|" +
                       DescriptionWithTags(link.description, link.tags) + "|" + std::to_string(link.added));
        return Intake::Added;
    };
    ReadCounts counts;
    std::string message;
    if (!ReadServiceText(format, text, target, counts, message)) rows.push_back("error: " + message);
    if (error) *error = message;
    return rows;
}


}  // namespace

// Each service's export, as its users have it: told apart by content, and each field
// where the README's table says it goes.
TEST(ServiceFormats, EachServicesExportIsToldApartAndRead)
{
    const struct {
        const char* name;
        ServiceFormat format;
        std::string text;
        std::vector<std::string> rows;
    } kCases[] = {
        {"Pocket CSV with a byte-order mark, tags and an unread item", ServiceFormat::PocketCsv,
         "\xEF\xBB\xBFtitle,url,time_added,tags,status\r\n"
         "\"Rust, the book\",https://doc.rust-lang.org/book/,1700000000,lang|rust,unread\r\n"
         "Caf\xC3\xA9,https://cafe.example/,1600000000,,archive\r\n",
         {"Rust, the book|https://doc.rust-lang.org/book/||Tags: lang, rust, unread|1700000000",
          "Caf\xC3\xA9|https://cafe.example/|||1600000000"}},
        {"Pocket's older HTML export", ServiceFormat::PocketHtml,
         "<!DOCTYPE html><html><head><title>Pocket Export</title></head><body>\n<h1>Unread</h1>\n<ul>\n"
         "<li><a href=\"https://a.example/\" time_added=\"1500000000\" tags=\"x,y\">A &amp; B</a></li>\n</ul>\n"
         "<h1>Read Archive</h1>\n<ul>\n<li><a href=\"https://b.example/\" time_added=\"1500000001\" tags=\"\">B</a></li>\n"
         "</ul></body></html>",
         {"A & B|https://a.example/||Tags: unread, x, y|1500000000", "B|https://b.example/|||1500000001"}},
        {"Pinboard JSON", ServiceFormat::PinboardJson,
         R"([{"href":"https:\/\/pinboard.in\/","description":"Pinboard","extended":"Social bookmarking\nfor introverts",
"meta":"x","hash":"y","time":"2019-05-01T10:20:30Z","shared":"yes","toread":"yes","tags":"bookmarks web"},
{"href":"https://empty.example/","description":"","extended":"","time":"2019-05-02T00:00:00Z","toread":"no","tags":""}])",
         {"Pinboard|https://pinboard.in/||Social bookmarking\r\nfor introverts\r\nTags: bookmarks, unread, web|1556706030",
          "|https://empty.example/|||1556755200"}},
        {"Raindrop.io CSV with a note over several lines and nested folders", ServiceFormat::RaindropCsv,
         "id,title,note,excerpt,url,folder,tags,created,cover,highlights,favorite\n"
         "1,Qt,\"A note\nover two lines\",The excerpt,https://qt.io/,Dev/C++,\"qt, gui\",2021-02-03T04:05:06.789Z,,,false\n",
         {"Qt|https://qt.io/|Dev|C++|A note\r\nover two lines\r\nThe excerpt\r\nTags: gui, qt|1612325106"}},
        {"Instapaper CSV: Unread is a tag, another folder a category", ServiceFormat::InstapaperCsv,
         "URL,Title,Selection,Folder,Timestamp,Tags\n"
         "https://i.example/1,One,Quoted text,Unread,1650000000,\"[\"\"a\"\",\"\"b\"\"]\"\n"
         "https://i.example/2,Two,,Reading,1650000001,\n",
         {"One|https://i.example/1||Quoted text\r\nTags: a, b, unread|1650000000",
          "Two|https://i.example/2|Reading||1650000001"}},
        {"Wallabag JSON: tags as names or as objects, not archived is unread", ServiceFormat::WallabagJson,
         R"([{"is_archived":0,"is_starred":1,"tags":["news"],"title":"W","url":"https://w.example/",
"created_at":"2016-04-05T10:44:33+0200","updated_at":"2016-04-06T10:44:33+0200","annotations":[{"text":"x"}]},
{"is_archived":1,"tags":[{"id":1,"label":"old","slug":"old"}],"title":"V","url":"https://v.example/",
"created_at":"2016-04-05T08:44:33Z","updated_at":"2016-04-05T08:44:33Z"}])",
         {"W|https://w.example/||Tags: news, unread|1459845873", "V|https://v.example/||Tags: old|1459845873"}},
        {"OneTab: each group a category", ServiceFormat::OneTabText,
         "https://one.example/ | One\nhttps://two.example/ | Two | with a bar\n\nhttps://three.example/ | Three\n",
         {"One|https://one.example/|OneTab 1||0", "Two | with a bar|https://two.example/|OneTab 1||0",
          "Three|https://three.example/|OneTab 2||0"}},
        {"XBEL with nested folders, dates and a description", ServiceFormat::Xbel,
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE xbel>\n<xbel version=\"1.0\">\n"
         "<folder><title>KDE</title><folder><title>Apps &amp; more</title>\n"
         "<bookmark href=\"https://kde.org/\" added=\"2020-01-02T03:04:05Z\"><title>KDE</title><desc>Line 1\nLine 2</desc></bookmark>\n"
         "</folder></folder>\n<bookmark href=\"https://top.example/\"><title>Top</title></bookmark>\n</xbel>\n",
         {"KDE|https://kde.org/|KDE|Apps & more|Line 1\r\nLine 2|1577934245", "Top|https://top.example/|||0"}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ServiceFormatOf(c.text), c.format);
        EXPECT_EQ(Read(c.format, c.text), c.rows);
    }
    // Browsers' files keep their own readers.
    EXPECT_EQ(ServiceFormatOf("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL>"), ServiceFormat::None);
    EXPECT_EQ(ServiceFormatOf("{\"checksum\": \"x\", \"roots\": {}}"), ServiceFormat::None);
    // Told by keys, not by a title that names one.
    EXPECT_EQ(ServiceFormatOf(R"([{"href":"https://a/","description":"roots","extended":"is_archived"}])"),
              ServiceFormat::PinboardJson);
    EXPECT_EQ(ServiceFormatOf("just some text"), ServiceFormat::None);
}

// A broken file imports nothing, and the message says where it is broken.
TEST(ServiceFormats, ABrokenFileIsRefusedWithItsLineAndAddsNothing)
{
    const struct {
        ServiceFormat format;
        std::string text;
        std::string error;
    } kCases[] = {
        {ServiceFormat::PocketCsv, "title,url,time_added,tags,status\nA,https://a/,1,,\nB,https://b/,yesterday,,\n",
         "line 3: \"yesterday\" is not a time"},
        {ServiceFormat::RaindropCsv, "id,title,note,excerpt,url,folder,tags,created\n1,A,\"open,,,https://a/,,,\n",
         "a quoted cell that begins on line 2 is never closed"},
        {ServiceFormat::PinboardJson, "[{\"href\":\"https://a/\",\"toread\":\"no\"},\n{\"href\": }]",
         "line 2: it is not well-formed JSON"},
        {ServiceFormat::WallabagJson, "[{\"is_archived\":1,\"url\":\"https://a/\",\"created_at\":\"soon\"}]",
         "entry 1: \"soon\" is not a time"},
        {ServiceFormat::Xbel, "<xbel>\n<bookmark href=\"https://a/\">\n<title>A</titel></bookmark></xbel>",
         "line 3: mismatched tag"},
        {ServiceFormat::NorvelleMarkdown, "<!-- Norvelle links -->\n# Links\n\n- [A](https://a/)\n",
         "line 4: a link that is not [title](<link>)"},
    };
    for (const auto& c : kCases) {
        std::string error;
        const std::vector<std::string> rows = Read(c.format, c.text, &error);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(rows.size(), 1u) << "links were taken from a broken file";
    }
}

// What Export writes, Import reads back the same: links, categories, descriptions, tags
// and dates to the second, in every format.
TEST(ServiceFormats, EveryExportFormatReadsBackTheSame)
{
    LinkStore store;
    CUnixDates dates;
    auto add = [&](const std::string& title, const std::string& link, const std::string& description,
                   const std::string& category, int64_t added, int64_t modified) {
        ASSERT_TRUE(store.InsertLink(store.Count(), title, link, description, category, dates.DateOf(added),
                                     dates.DateOf(modified)));
    };
    add("Plain", "https://plain.example/", "", "", 1600000000, 1600000000);
    add("Quotes \"and\", commas [brackets] *stars* <tags> & more", "https://q.example/a?b=1&c=\"2\"",
        "First line\r\n\r\nThird line, \"quoted\"\r\n- not a list\r\n# not a heading\r\nTags: alpha, beta", "Work|Clients",
        1234567890, 1234567999);
    add("Caf\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x98\x80", "https://xn--caf-dma.example/", "Unicode \xC3\xBC", "Reading", 1700000000,
        1700000100);
    add("", "https://no-title.example/", "", "Work", 1500000000, 1500000000);
    add("roots", "https://roots.example/", "is_archived", "", 1500000000, 1500000000);
    add("Same", "https://plain.example/", "a duplicate link", "Work|Clients", 1600000001, 1600000002);
    for (ExportFormat format : {ExportFormat::Xbel, ExportFormat::Markdown, ExportFormat::Csv, ExportFormat::Json}) {
        SCOPED_TRACE(int(format));
        StringSink sink;
        ASSERT_TRUE(ExportLinks(store, sink, {}, format));
        const ServiceFormat read = ServiceFormatOf(sink.bytes);
        ASSERT_NE(read, ServiceFormat::None) << sink.bytes;
        LinkStore back;
        CLinkIntake intake(back, dates.DateOf(1), IntakeOptions{});
        BookmarkTarget target;
        target.add = [&](ImportedLink&& link) {
            LinkStore::Record record;
            EXPECT_EQ(intake.Take(std::move(link), record), CLinkIntake::Result::Made);
            std::vector<LinkStore::Record> one;
            one.push_back(std::move(record));
            EXPECT_TRUE(back.InsertRecords(back.Count(), one));
            return Intake::Added;
        };
        ReadCounts counts;
        std::string error;
        ASSERT_TRUE(ReadServiceText(read, sink.bytes, target, counts, error)) << error << "\n" << sink.bytes;
        ASSERT_EQ(back.Count(), store.Count());
        // XBEL and Markdown group the links by category; each link is found by its place there.
        for (int i = 0; i < store.Count(); ++i) {
            const CAnnotatedLink& original = store.At(i);
            bool found = false;
            for (int j = 0; j < back.Count() && !found; ++j) {
                const CAnnotatedLink& r = back.At(j);
                found = r.Title() == original.Title() && r.Link() == original.Link() &&
                        r.Category() == original.Category() && r.Description() == original.Description() &&
                        dates.SecondsOf(r.Added()) == dates.SecondsOf(original.Added()) &&
                        dates.SecondsOf(r.Modified()) == dates.SecondsOf(original.Modified());
            }
            EXPECT_TRUE(found) << "lost or changed: " << original.Title() << "\n" << sink.bytes;
        }
        // And the other way: the file read in and written out again is the same file.
        StringSink again;
        ASSERT_TRUE(ExportLinks(back, again, {}, format));
        EXPECT_EQ(again.bytes, sink.bytes);
    }
}

// The dates services write, and the one form they are written in.
TEST(ServiceFormats, TimesInTheirForms)
{
    const struct {
        const char* text;
        bool ok;
        int64_t seconds;
    } kCases[] = {
        {"1970-01-01T00:00:00Z", true, 0},         {"2024-03-05T10:20:30Z", true, 1709634030},
        {"2024-03-05T10:20:30.123456Z", true, 1709634030}, {"2024-03-05T12:20:30+02:00", true, 1709634030},
        {"2024-03-05T05:20:30-0500", true, 1709634030},    {"2024-03-05 10:20:30", true, 1709634030},
        {"2024-03-05", true, 1709596800},          {"1969-12-31T23:59:59Z", true, -1},
        {"2024-13-05T10:20:30Z", false, 0},        {"2024-03-05T10:20:30Zjunk", false, 0},
        {"yesterday", false, 0},                    {"", false, 0},
    };
    for (const auto& c : kCases) {
        int64_t seconds = 0;
        EXPECT_EQ(ParseIsoTime(c.text, seconds), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(seconds, c.seconds) << c.text;
        }
    }
    EXPECT_EQ(FormatIsoTime(1709634030), "2024-03-05T10:20:30Z");
    EXPECT_EQ(FormatIsoTime(-1), "1969-12-31T23:59:59Z");
    EXPECT_EQ(FormatIsoTime(0), "");
}

// Through the import that the window and the command line share: the closing message, and
// a service file's fault named with the file.
TEST(ServiceFormats, ImportTellsTheKindAndSaysWhatItDid)
{
    TempFolder temp;
    const std::string good = (temp.path / "pocket.csv").string(), bad = (temp.path / "pinboard.json").string();
    std::ofstream(good, std::ios::binary) << "title,url,time_added,tags,status\nA,https://a/,1600000000,,unread\n";
    std::ofstream(bad, std::ios::binary) << "[{\"href\":\"https://a/\",\"extended\":\"\",\"time\":\"never\"}]";
    FakePrompter prompter;
    int added = 0;
    BookmarkTarget target;
    target.add = [&](ImportedLink&&) {
        ++added;
        return Intake::Added;
    };
    EXPECT_EQ(ImportBookmarkFile(good, prompter, CCountFormatter(true, ","), target).count, 1);
    EXPECT_EQ(ImportBookmarkFile(bad, prompter, CCountFormatter(true, ","), target).outcome, ImportOutcome::ReadFailed);
    EXPECT_EQ(added, 1);
    EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{
                                    "Imported 1 link.",
                                    "Could not read the Pinboard JSON file \"" + bad +
                                        "\": entry 1: \"never\" is not a time.  No link was imported."}));
}

// Stop while a long file is still being read takes no link at all, in every format.
TEST(ServiceFormats, StopWhileReadingTakesNothing)
{
    LinkStore store;
    CUnixDates dates;
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(store.InsertLink(i, "T" + std::to_string(i), "https://s.example/" + std::to_string(i), "", "C",
                                     dates.DateOf(1600000000), dates.DateOf(1600000000)));
    for (ExportFormat format : {ExportFormat::Xbel, ExportFormat::Markdown, ExportFormat::Csv, ExportFormat::Json}) {
        StringSink sink;
        ASSERT_TRUE(ExportLinks(store, sink, {}, format));
        int added = 0;
        BookmarkTarget target;
        target.add = [&](ImportedLink&&) {
            ++added;
            return Intake::Added;
        };
        // Stop is pressed while the bar is in its first half, where the file is read.
        target.progress = [&](uint64_t done, uint64_t total) { return total != 0 && 2 * done >= total; };
        ReadCounts counts;
        std::string error;
        EXPECT_TRUE(ReadServiceText(ServiceFormatOf(sink.bytes), sink.bytes, target, counts, error)) << error;
        EXPECT_TRUE(counts.stopped) << int(format);
        EXPECT_EQ(added, 0) << int(format);
    }
}
