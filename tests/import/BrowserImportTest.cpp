#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <ctime>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "import/BookmarkExport.h"
#include "import/BookmarkImport.h"
#include "import/BrowserProfiles.h"
#include "import/BrowserStores.h"
#include "import/DroppedLinks.h"
#include "import/LinkIntake.h"
#include "options/CountFormatter.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "store/Sanitizers.h"
#include "tests/support/BrowserFixtures.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;
using namespace browser_fixtures;

namespace {

struct Read {
    std::vector<std::string> rows;  // "title|link|category|description|added|modified"
    std::vector<std::string> messages;
    ImportSummary summary;
};

Read ImportRows(const std::string& path, std::function<bool(uint64_t, uint64_t)> progress = {})
{
    FakePrompter prompter;
    Read result;
    BookmarkTarget target;
    target.add = [&](ImportedLink&& link) {
        result.rows.push_back(link.title + "|" + link.link + "|" + link.category + "|" +
                              DescriptionWithTags(link.description, link.tags) + "|" + std::to_string(link.added) +
                              "|" + std::to_string(link.modified));
        return Intake::Added;
    };
    target.progress = std::move(progress);
    result.summary = ImportBookmarkFile(path, prompter, CCountFormatter(true, ","), target);
    result.messages = prompter.Texts();
    return result;
}

void Exec(sqlite3* db, const std::string& sql) { ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql; }

}  // namespace

TEST(BrowserImport, FirefoxStoreGivesWhatItsOwnExportGivesAndIsLeftUntouched)
{
    TempFolder temp;
    const fs::path store = PutFirefoxProfile(temp.path / "home");
    const auto before = Snapshot(temp.path / "home");

    const Read fromStore = ImportRows(store.string());
    // Firefox's own HTML export of the same profile, less its place: query.
    Read fromExport = ImportRows((DataFolder() / "firefox-export.html").string());
    std::erase_if(fromExport.rows, [](const std::string& row) { return row.find("|place:") != std::string::npos; });
    EXPECT_EQ(fromStore.rows, fromExport.rows);
    ASSERT_EQ(fromStore.rows.size(), 8u);
    EXPECT_EQ(fromStore.rows[0], "Debian \xE2\x80\x94 The Universal OS|https://www.debian.org/||Tags: debian, linux|1500000000|1600000000");
    EXPECT_EQ(fromStore.rows[1], "|https://example.org/empty-title|||1510000000|1510000001");  // an empty title stays empty
    EXPECT_EQ(fromStore.rows[3], "\xD0\x9F\xD0\xB8\xD1\x80\xD0\xBE\xD0\xB3 \xD1\x81 \xD0\xBA\xD0\xB0\xD0\xBF\xD1\x83\xD1\x81\xD1\x82\xD0\xBE\xD0\xB9|"
                                 "https://example.ru/pirog|Recettes d\xE2\x80\x99\xC3\xA9t\xC3\xA9|\xD0\x9F\xD0\xB8\xD1\x80\xD0\xBE\xD0\xB3\xD0\xB8||1540000000|1540000000");
    EXPECT_EQ(fromStore.rows[5], "Tracker|https://tracker.example.com/issues?q=a&b=c|Bookmarks Toolbar|Work|Tags: alpha, bugs, work|1570000000|1570000000");
    // These two and some tags are only in the write-ahead log, which the browser had not yet
    // copied into the database when it was killed.
    EXPECT_EQ(fromStore.rows[7], "Debian again|https://www.debian.org/|Other Bookmarks|Tags: debian, linux|1580000001|1580000001");
    EXPECT_EQ(fromStore.messages, std::vector<std::string>{"Imported 8 links."});
    EXPECT_EQ(CountStoreLinks(store.string()), 8);

    // The profile folder stands for its store.
    EXPECT_EQ(ImportRows(store.parent_path().string()).rows, fromStore.rows);
    // Not a byte of the profile changed, and no file appeared in it (no -shm, no journal).
    EXPECT_EQ(Snapshot(temp.path / "home"), before);
}

TEST(BrowserImport, FirefoxRootsTagsAndDamagedStores)
{
    TempFolder temp;
    const std::string path = (temp.path / "places.sqlite").string();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    Exec(db, "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT);"
             "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER, parent INTEGER,"
             " position INTEGER, title TEXT, dateAdded INTEGER, lastModified INTEGER, guid TEXT);"
             "INSERT INTO moz_places VALUES (1, 'https://a.example/'), (2, 'https://b.example/'), (3, 'place:x');"
             "INSERT INTO moz_bookmarks VALUES"
             " (1, 2, NULL, 0, 0, '', 0, 0, 'root________'), (2, 2, NULL, 1, 0, 'menu', 0, 0, 'menu________'),"
             " (3, 2, NULL, 1, 1, 'toolbar', 0, 0, 'toolbar_____'), (4, 2, NULL, 1, 2, 'tags', 0, 0, 'tags________'),"
             " (5, 2, NULL, 1, 3, 'unfiled', 0, 0, 'unfiled_____'), (6, 2, NULL, 1, 4, 'mobile', 0, 0, 'mobile______'),"
             // On the phone, in a folder; tagged twice, once with a tag that has no bookmark of its own.
             " (10, 2, NULL, 6, 0, 'Trips', 5000000, 5000000, 'f1'),"
             " (11, 1, 2, 10, 0, 'B', 7000000, 9000000, 'b1'),"
             " (12, 1, 3, 6, 1, 'Query', 1, 1, 'q1'),"
             " (20, 2, NULL, 4, 0, 'zeta', 0, 0, 't1'), (21, 1, 2, 20, 0, NULL, 0, 0, 't2'),"
             " (22, 2, NULL, 4, 1, 'Alpha', 0, 0, 't3'), (23, 1, 2, 22, 0, NULL, 0, 0, 't4'),"
             // A damaged store's loop: two folders inside each other.
             " (30, 2, NULL, 31, 0, 'Loop A', 0, 0, 'l1'), (31, 2, NULL, 30, 0, 'Loop B', 0, 0, 'l2'),"
             " (32, 1, 1, 5, 0, 'A', 1000000, 0, 'a1');");
    sqlite3_close(db);
    const Read read = ImportRows(path);
    EXPECT_EQ(read.rows, (std::vector<std::string>{"A|https://a.example/|Other Bookmarks||1|0",
                                                   "B|https://b.example/|Mobile Bookmarks|Trips|Tags: Alpha, zeta|7|9"}));

    // A database of another program, and a file that only begins like one.
    ASSERT_EQ(sqlite3_open((temp.path / "other.sqlite").string().c_str(), &db), SQLITE_OK);
    Exec(db, "CREATE TABLE notes (id INTEGER);");
    sqlite3_close(db);
    const Read other = ImportRows((temp.path / "other.sqlite").string());
    EXPECT_EQ(other.summary.outcome, ImportOutcome::ReadFailed);
    EXPECT_EQ(other.messages.back(), "Could not read the bookmarks in \"" + (temp.path / "other.sqlite").string() +
                                         "\": it is not a Firefox bookmark store.");
    // A view in place of a browser's table runs what the file defines (here a query without
    // end that fills a temporary file): refused at once, with the reason.
    ASSERT_EQ(sqlite3_open((temp.path / "view.sqlite").string().c_str(), &db), SQLITE_OK);
    Exec(db, "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT);"
             "CREATE VIEW moz_bookmarks AS WITH RECURSIVE r(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM r)"
             " SELECT x AS id, 1 AS type, 1 AS fk, 0 AS parent, x AS position, 'T' AS title, 0 AS dateAdded,"
             " 0 AS lastModified, hex(randomblob(64)) AS guid FROM r;");
    sqlite3_close(db);
    const auto started = std::chrono::steady_clock::now();
    const Read view = ImportRows((temp.path / "view.sqlite").string());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(view.summary.outcome, ImportOutcome::ReadFailed);
    EXPECT_EQ(view.messages.back(), "Could not read the bookmarks in \"" + (temp.path / "view.sqlite").string() +
                                        "\": its moz_bookmarks is not a plain table, as a browser writes it; it is not "
                                        "read.");
    EXPECT_EQ(CountStoreLinks((temp.path / "view.sqlite").string()), -1);
    std::ofstream((temp.path / "cut.sqlite").string(), std::ios::binary) << std::string("SQLite format 3\0", 16) << "junk";
    EXPECT_EQ(ImportRows((temp.path / "cut.sqlite").string()).summary.outcome, ImportOutcome::ReadFailed);
    EXPECT_EQ(CountStoreLinks((temp.path / "cut.sqlite").string()), -1);
}

TEST(BrowserImport, ChromiumBookmarksWithThreeRootsDatesAndNames)
{
    TempFolder temp;
    const fs::path store = PutChromiumProfile(temp.path, "chromium", "Default");
    const Read read = ImportRows(store.string());
    EXPECT_EQ(read.rows, (std::vector<std::string>{
                             "Chromium \xE2\x80\x94 the project|https://www.chromium.org/|Bookmarks bar||1655526400|1655526400",
                             "Z\xC3\xBCrich \xE2\x80\x93 \xC3\x96" "ffnungszeiten|https://www.zuerich.example/\xC3\xB6" "ffnungszeiten|"
                             "Bookmarks bar|Reisen \"2024\"||1665526400|1670526400",
                             // No date_modified: last modified when added. An empty name stays empty.
                             "|https://example.com/untitled|Bookmarks bar|Reisen \"2024\"|\xE6\x9D\xB1\xE4\xBA\xAC||1666526400|1666526400",
                             "Escaped \xC3\xA9 \xF0\x9F\x98\x80 and \\ backslash|https://example.org/a?b=1&c=2|||1645526400|1645526400",
                             "\xD0\x9D\xD0\xB0 \xD1\x82\xD0\xB5\xD0\xBB\xD0\xB5\xD1\x84\xD0\xBE\xD0\xBD\xD0\xB5|https://m.example.ru/|"
                             "Mobile bookmarks||1660526400|1660526400"}));
    EXPECT_EQ(CountStoreLinks(store.string()), 5);

    // Damage is reported; hostile sizes and depths are bounded as in a bookmark file.
    const struct {
        std::string text;
        std::string outcome;  // the last message's end, or the rows' count
    } cases[] = {
        {"{\"roots\": {\"other\": {\"children\": [ {\"type\": \"url\", \"url\": \"x\"", "it is damaged near byte 62."},
        {"{\"version\": 1}", "it is not a Chromium bookmark file."},
        {"{\"roots\": {\"other\": {\"children\": [{\"type\": \"url\", \"name\": \"" + std::string(3 << 20, 'n') +
             "\", \"url\": \"https://x/\"}]}}}",
         "Imported 1 link.  Texts longer than 1 MiB were cut to that length."},
    };
    std::vector<std::pair<std::string, std::string>> all;
    for (const auto& c : cases) all.emplace_back(c.text, c.outcome);
    // An escaped surrogate pair across the cut: the name is cut before the pair or after
    // it, never inside it (which would read as a damaged file).
    for (size_t before : {7u, 6u, 5u, 1u, 0u}) {
        const std::string name = std::string(kMaxImportedField - before, 'n') + "\\ud83d\\ude00" + std::string(100, 'm');
        all.emplace_back("{\"roots\": {\"other\": {\"children\": [{\"type\": \"url\", \"name\": \"" + name +
                             "\", \"url\": \"https://x/\"}]}}}",
                         "Imported 1 link.  Texts longer than 1 MiB were cut to that length.");
    }
    for (const auto& [text, outcome] : all) {
        const struct {
            const std::string& text;
            const std::string& outcome;
        } c{text, outcome};
        std::ofstream((temp.path / "Bookmarks").string(), std::ios::binary) << c.text;
        const Read hostile = ImportRows((temp.path / "Bookmarks").string());
        ASSERT_FALSE(hostile.messages.empty());
        EXPECT_TRUE(hostile.messages.back().ends_with(c.outcome)) << hostile.messages.back();
        for (const std::string& row : hostile.rows) EXPECT_LT(row.size(), kMaxImportedField + 100);
    }
    std::string deep = "{\"roots\": {\"bookmark_bar\": {\"name\": \"Bar\", \"type\": \"folder\", \"children\": [";
    for (int i = 0; i < 10000; ++i) deep += "{\"type\": \"folder\", \"name\": \"f\", \"children\": [";
    deep += "{\"type\": \"url\", \"url\": \"https://deep/\"}";
    for (int i = 0; i < 10000; ++i) deep += "]}";
    deep += "]}}}";
    std::ofstream((temp.path / "Bookmarks").string(), std::ios::binary) << deep;
    const Read folded = ImportRows((temp.path / "Bookmarks").string());
    ASSERT_EQ(folded.rows.size(), 1u);
    EXPECT_EQ(std::count(folded.rows[0].begin(), folded.rows[0].end(), '|'), 99 + 5);  // 100 folders, then the fields
    EXPECT_TRUE(folded.messages.back().ends_with("levels deep were put into the deepest one kept."));
}

TEST(BrowserImport, ProfilesAreFoundWhereEachSystemKeepsThem)
{
    TempFolder temp;
    const fs::path home = temp.path / "home";
    PutFirefoxProfile(home);
    // A Snap Firefox whose profiles.ini names a profile by its full path, and one it lists
    // without a store; a LibreWolf without profiles.ini.
    const fs::path snap = home / "snap/firefox/common/.mozilla/firefox";
    fs::create_directories(snap / "elsewhere");
    fs::copy_file(home / ".mozilla/firefox/k3x9q2lp.default-release/places.sqlite", temp.path / "places.sqlite");
    fs::create_directories(temp.path / "absolute");
    fs::rename(temp.path / "places.sqlite", temp.path / "absolute/places.sqlite");
    std::ofstream(snap / "profiles.ini") << "[Profile1]\nName=work\nIsRelative=0\nPath=" << (temp.path / "absolute").string()
                                         << "\n\n[Profile0]\nName=empty\nIsRelative=1\nPath=elsewhere\n";
    fs::create_directories(home / ".librewolf/x1.default");
    std::ofstream(home / ".librewolf/x1.default/places.sqlite") << "";
    PutChromiumProfile(home, ".config/google-chrome", "Profile 2");
    PutChromiumProfile(home, ".config/google-chrome", "Default");
    PutChromiumProfile(home, ".config/google-chrome", "Profile 10");
    fs::create_directories(home / ".config/google-chrome/System Profile");
    PutChromiumProfile(home, ".config/opera", "");  // Opera keeps its one profile in the folder itself
    PutChromiumProfile(home, ".var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser", "Default");

    auto list = [](const std::vector<BrowserProfile>& profiles, const fs::path& base) {
        std::vector<std::string> lines;
        for (const auto& p : profiles) lines.push_back(p.browser + ": " + p.profile + " @ " + fs::relative(p.store, base).string());
        return lines;
    };
    EXPECT_EQ(list(FindBrowserProfiles(home.string(), HostSystem::Linux), temp.path),
              (std::vector<std::string>{
                  "Firefox: default-release @ home/.mozilla/firefox/k3x9q2lp.default-release/places.sqlite",
                  "Firefox (Snap): work @ absolute/places.sqlite",
                  "LibreWolf: x1.default @ home/.librewolf/x1.default/places.sqlite",
                  "Chrome: Default @ home/.config/google-chrome/Default/Bookmarks",
                  "Chrome: Profile 2 @ home/.config/google-chrome/Profile 2/Bookmarks",
                  "Chrome: Profile 10 @ home/.config/google-chrome/Profile 10/Bookmarks",
                  "Brave (Flatpak): Default @ home/.var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser/Default/Bookmarks",
                  "Opera: opera @ home/.config/opera/Bookmarks",
              }));

    // Windows and macOS keep them under AppData and Library, found through the same lookup.
    const fs::path other = temp.path / "other";
    fs::create_directories(other / "AppData/Roaming/Mozilla/Firefox/Profiles/a.default");
    std::ofstream(other / "AppData/Roaming/Mozilla/Firefox/profiles.ini") << "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n";
    std::ofstream(other / "AppData/Roaming/Mozilla/Firefox/Profiles/a.default/places.sqlite") << "";
    PutChromiumProfile(other, "AppData/Local/Microsoft/Edge/User Data", "Default");
    PutChromiumProfile(other, "Library/Application Support/Google/Chrome", "Default");
    PutChromiumProfile(other, "Library/Application Support/Vivaldi", "Profile 1");
    EXPECT_EQ(list(FindBrowserProfiles(other.string(), HostSystem::Windows), other),
              (std::vector<std::string>{"Firefox: default @ AppData/Roaming/Mozilla/Firefox/Profiles/a.default/places.sqlite",
                                        "Edge: Default @ AppData/Local/Microsoft/Edge/User Data/Default/Bookmarks"}));
    EXPECT_EQ(list(FindBrowserProfiles(other.string(), HostSystem::MacOS), other),
              (std::vector<std::string>{"Chrome: Default @ Library/Application Support/Google/Chrome/Default/Bookmarks",
                                        "Vivaldi: Profile 1 @ Library/Application Support/Vivaldi/Profile 1/Bookmarks"}));
    EXPECT_TRUE(FindBrowserProfiles((temp.path / "nobody").string(), HostSystem::Linux).empty());

    EXPECT_EQ(ProfileLabel({"Firefox", "default-release", "x"}, 1234, CCountFormatter(true, ",")),
              "Firefox: default-release (1,234 links)");
    EXPECT_EQ(ProfileLabel({"Chromium", "Default", "x"}, 1, CCountFormatter(true, ",")), "Chromium: Default (1 link)");
    EXPECT_EQ(ProfileLabel({"Chromium", "Default", "x"}, -1, CCountFormatter(true, ",")), "Chromium: Default (cannot be read)");
}

TEST(BrowserImport, TagsLineDatesAndLinksAlreadyThere)
{
    // The tags line, both ways.
    EXPECT_EQ(DescriptionWithTags("", {"b", " a ", "B", "", "a"}), "Tags: a, B, b");
    EXPECT_EQ(DescriptionWithTags("Line 1\r\nLine 2", {"x"}), "Line 1\r\nLine 2\r\nTags: x");
    EXPECT_EQ(DescriptionWithTags("Note", {}), "Note");
    const struct {
        std::string description, rest;
        std::vector<std::string> tags;
    } splits[] = {
        {"Line 1\r\nTags: a, b", "Line 1", {"a", "b"}},
        {"Tags: x", "", {"x"}},
        {"Tags: x\r\nmore", "Tags: x\r\nmore", {}},  // only the last line counts
        {"Tags: ", "Tags: ", {}},
        {"My Tags: a", "My Tags: a", {}},
    };
    for (const auto& c : splits) {
        std::string rest;
        std::vector<std::string> tags;
        EXPECT_EQ(SplitTagsLine(c.description, rest, tags), !c.tags.empty()) << c.description;
        EXPECT_EQ(rest, c.rest);
        if (!c.tags.empty()) {
            EXPECT_EQ(tags, c.tags);
        }
    }

    // Dates kept or not; links already there skipped by the duplicate rule.
    LinkStore store;
    const CLinkDate now = LinkDateFromLocal({2026, 12, 7, 10, 0, 0});
    std::vector<LinkStore::Record> records;
    records.push_back(std::make_unique<CAnnotatedLink>(CAnnotatedLink{"Old", "http://www.example.com/a/", "", "", now, now}));
    EXPECT_TRUE(store.InsertRecords(0, records));
    CUnixDates dates;
    for (bool keep : {true, false}) {
        CLinkIntake intake(store, now, IntakeOptions{keep, true});
        LinkStore::Record made;
        EXPECT_EQ(intake.Take(ImportedLink{"Same", "https://example.com/a", "", "", {}, 5, 6}, made),
                  CLinkIntake::Result::Skipped);
        EXPECT_EQ(intake.Take(ImportedLink{"", "", "Cat", "", {}, 0, 0}, made), CLinkIntake::Result::Empty);
        ASSERT_EQ(intake.Take(ImportedLink{"New", "https://example.com/b", " Cat ", "Note", {"t"}, 1500000000, 0}, made),
                  CLinkIntake::Result::Made);
        EXPECT_EQ(made->Description(), "Note\r\nTags: t");
        EXPECT_EQ(made->Category(), "Cat");
        EXPECT_EQ(made->Added(), keep ? dates.DateOf(1500000000) : now);
        EXPECT_EQ(made->Modified(), made->Added());  // none saved: as added
    }
    CLinkIntake all(store, now, IntakeOptions{true, false});
    LinkStore::Record again;
    EXPECT_EQ(all.Take(ImportedLink{"Same", "https://example.com/a", "", "", {}, 0, 0}, again), CLinkIntake::Result::Made);
}

TEST(BrowserImport, ExportThenImportKeepsEveryDateToTheSecondAndTheTags)
{
    // A zone with summer time (each test runs in a process of its own).
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    TempFolder temp;
    LinkStore store;
    CUnixDates dates;
    std::vector<LinkStore::Record> records;
    // Around the changes of the clocks, and an ordinary day. (The hour that the clocks go
    // back repeats a local time; a date kept in local time cannot tell its two passes apart.)
    const int64_t moments[] = {1711846799, 1711846800, 1729990800, 1729994400, 1500000000, 86400};
    for (int64_t at : moments)
        records.push_back(std::make_unique<CAnnotatedLink>(CAnnotatedLink{
            "T" + std::to_string(at), "https://x.example/" + std::to_string(at), "Note\r\nTags: b, a & c", "Work|Sub",
            dates.DateOf(at), dates.DateOf(at + 3601)}));
    EXPECT_TRUE(store.InsertRecords(0, records));
    const std::string html = (temp.path / "out.html").string();
    StringSink sink;
    ASSERT_TRUE(ExportBookmarks(store, sink));
    const std::string text = sink.bytes;
    std::ofstream(html, std::ios::binary) << text;
    EXPECT_NE(text.find("TAGS=\"b,a &amp; c\">T1500000000</A>\n            <DD>Note\n"), std::string::npos) << text;

    const Read back = ImportRows(html);
    ASSERT_EQ(back.rows.size(), std::size(moments));
    for (size_t i = 0; i < std::size(moments); ++i)
        EXPECT_EQ(back.rows[i], "T" + std::to_string(moments[i]) + "|https://x.example/" + std::to_string(moments[i]) +
                                    "|Work|Sub|Note\r\nTags: a & c, b|" + std::to_string(moments[i]) + "|" +
                                    std::to_string(moments[i] + 3601));
}

TEST(BrowserImport, WhatADragCarries)
{
    auto links = [](const DragTexts& drag) {
        std::vector<std::string> out;
        for (const DroppedLink& l : LinksOfDrag(drag)) out.push_back(l.link + " | " + l.title);
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(links({"https://a/\r\nA\r\nhttps://b/\r\nhttps://b/", "ignored", ""}), (V{"https://a/ | A", "https://b/ | "}));
    EXPECT_EQ(links({"", "# a comment\r\nhttps://a/\r\n\r\nfile:///tmp/x%20y.pdf\r\n", "text"}),
              (V{"https://a/ | ", "file:///tmp/x%20y.pdf | "}));
    const struct {
        const char* text;
        bool address;
    } plain[] = {{"https://example.com/a b", false}, {" www.example.com ", true}, {"mailto:me@example.com", true},
                 {"ftp://files.example/", true}, {"javascript:alert(1)", false}, {"://x", false},
                 {"not an address", false}, {"", false}, {"file:///home/me/a.pdf", true}};
    for (const auto& c : plain) {
        EXPECT_EQ(IsOneAddress(c.text), c.address) << c.text;
        EXPECT_EQ(links({"", "", c.text}).size(), c.address ? 1u : 0u) << c.text;
    }
}

TEST(BrowserImport, StoresAreReadWithinBoundsOfDiskMemoryAndDepth)
{
    TempFolder temp;
    // The copies of places.sqlite go to this process's own temporary folder, to be watched.
    const fs::path tmp = temp.path / "tmp";
    fs::create_directories(tmp / "norvelle-places-killed");
    fs::create_directories(tmp / "norvelle-places-running");
    fs::last_write_time(tmp / "norvelle-places-killed", fs::file_time_type::clock::now() - std::chrono::hours(2));
    setenv("TMPDIR", tmp.c_str(), 1);

    // Folders nested exactly to the bound keep every level; one more folds.
    const std::string path = (temp.path / "places.sqlite").string();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    std::string sql = "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT);"
                      "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER, parent INTEGER,"
                      " position INTEGER, title TEXT, dateAdded INTEGER, lastModified INTEGER, guid TEXT);"
                      "INSERT INTO moz_places VALUES (1, 'https://at-100/'), (2, 'https://at-101/');"
                      "INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 0, '', 0, 0, 'root________'),"
                      " (2, 2, NULL, 1, 0, 'menu', 0, 0, 'menu________')";
    for (int level = 1; level <= 101; ++level)
        sql += ", (" + std::to_string(level + 10) + ", 2, NULL, " + std::to_string(level == 1 ? 2 : level + 9) +
               ", 0, 'F', 0, 0, 'f" + std::to_string(level) + "')";
    sql += ", (500, 1, 1, 110, 1, 'A', 0, 0, 'a'), (501, 1, 2, 111, 1, 'B', 0, 0, 'b');";
    Exec(db, sql);
    sqlite3_close(db);
    // A sparse gigabyte after the database: copied as holes, not as a gigabyte of zeros.
    fs::resize_file(path, 1u << 30);
    blkcnt_t copyBlocks = -1;
    const Read deep = ImportRows(path, [&](uint64_t, uint64_t) {
        for (const auto& entry : fs::directory_iterator(tmp))
            if (struct stat st; stat((entry.path() / "places.sqlite").c_str(), &st) == 0) copyBlocks = st.st_blocks;
        return true;
    });
    ASSERT_EQ(deep.rows.size(), 2u);
    std::string hundred;
    for (int level = 0; level < 100; ++level) hundred += level ? "|F" : "F";
    // The folder's sub-folder comes first, as it stands first.
    EXPECT_EQ(deep.rows[0], "B|https://at-101/|" + hundred + "||0|0");
    EXPECT_EQ(deep.rows[1], "A|https://at-100/|" + hundred + "||0|0");
    EXPECT_TRUE(deep.messages.back().ends_with("levels deep were put into the deepest one kept."));
    EXPECT_GT(copyBlocks, 0);
    EXPECT_LT(copyBlocks * 512, 16 << 20);
    // The copy a killed read left is gone; one that may be in use stays; ours is removed.
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(tmp)) left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"norvelle-places-running"});

    // A store larger than any browser writes is not copied at all.
    fs::resize_file(path, (uintmax_t(2) << 30) + 1);
    const Read huge = ImportRows(path);
    EXPECT_EQ(huge.summary.outcome, ImportOutcome::ReadFailed);
    EXPECT_TRUE(huge.messages.back().ends_with("it is larger than 2 GiB, more than a browser's store would be; it is "
                                               "not read.")) << huge.messages.back();
    unsetenv("TMPDIR");

    // Chromium: a node with neither a name nor an address is left out and said, and the
    // links after it still come; millions of empty nodes cost little memory.
    std::ofstream((temp.path / "Bookmarks").string(), std::ios::binary)
        << R"({"roots": {"other": {"children": [{"type": "url", "url": "https://a/"}, {"type": "url"},)"
        << R"( {"type": "url", "name": "B", "url": "https://b/"}]}}})";
    const Read empty = ImportRows((temp.path / "Bookmarks").string());
    EXPECT_EQ(empty.rows.size(), 2u);
    EXPECT_EQ(empty.messages.back(), "Imported 2 links.  Left out 1 link with neither a title nor an address.");
#if !defined(NORVELLE_ADDRESS_SANITIZER) && !defined(NORVELLE_THREAD_SANITIZER)
    {
        std::ofstream out((temp.path / "Bookmarks").string(), std::ios::binary);
        out << R"({"roots": {"other": {"children": [)";
        for (int i = 0; i < 3'000'000; ++i) out << "{},";
        out << R"({"type": "url", "url": "https://last/"}]}}})";
    }
    // In a child, whose peak memory is its own.
    const pid_t child = fork();
    if (child == 0) {
        const Read many = ImportRows((temp.path / "Bookmarks").string());
        struct rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        _exit(many.rows.size() == 1 && usage.ru_maxrss < 120 * 1024 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "9 MB of empty nodes took too much memory";
#endif
}
