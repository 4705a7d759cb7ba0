// Importing 100,000 bookmarks from a browser's own store: a Firefox places.sqlite with
// part of it still in the write-ahead log, and a Chromium Bookmarks file, each read into
// a store with dates, tags and the check for links already there, as Import does.
//   bench_browser_import [LINKS]
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "import/BookmarkImport.h"
#include "import/LinkIntake.h"
#include "options/CountFormatter.h"
#include "platform/Prompter.h"
#include "store/LinkStore.h"

namespace fs = std::filesystem;

namespace {

class SilentPrompter : public Prompter {
public:
    Answer Show(const std::string&, Icon, Buttons, bool) override { return Answer::Ok; }
};

void Exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", error);
        std::exit(1);
    }
}

// Firefox's two tables as the import reads them: links spread over 500 folders under the
// menu and the toolbar, one in ten tagged; the last tenth is written after a checkpoint,
// so it is only in the log, as in a running browser's profile.
void WritePlaces(const fs::path& path, int links)
{
    fs::remove(path);
    fs::remove(path.string() + "-wal");
    sqlite3* db = nullptr;
    sqlite3_open(path.string().c_str(), &db);
    Exec(db, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
             "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,"
             " visit_count INTEGER DEFAULT 0, frecency INTEGER DEFAULT -1, guid TEXT UNIQUE);"
             "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,"
             " position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER,"
             " lastModified INTEGER, guid TEXT UNIQUE, syncStatus INTEGER NOT NULL DEFAULT 0,"
             " syncChangeCounter INTEGER NOT NULL DEFAULT 1);"
             "CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);"
             "CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);"
             "INSERT INTO moz_bookmarks (id, type, parent, position, title, guid) VALUES"
             " (1, 2, 0, 0, '', 'root________'), (2, 2, 1, 0, 'menu', 'menu________'),"
             " (3, 2, 1, 1, 'toolbar', 'toolbar_____'), (4, 2, 1, 2, 'tags', 'tags________'),"
             " (5, 2, 1, 3, 'unfiled', 'unfiled_____'), (6, 2, 1, 4, 'mobile', 'mobile______');");
    sqlite3_stmt* place = nullptr;
    sqlite3_stmt* mark = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO moz_places (id, url, title, guid) VALUES (?, ?, ?, ?)", -1, &place, nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded, lastModified, guid)"
                       " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &mark, nullptr);
    int64_t nextId = 100;
    auto bookmark = [&](int type, int64_t fk, int64_t parent, int position, const std::string& title) {
        const int64_t id = nextId++;
        sqlite3_bind_int64(mark, 1, id);
        sqlite3_bind_int(mark, 2, type);
        if (fk) sqlite3_bind_int64(mark, 3, fk);
        else sqlite3_bind_null(mark, 3);
        sqlite3_bind_int64(mark, 4, parent);
        sqlite3_bind_int(mark, 5, position);
        sqlite3_bind_text(mark, 6, title.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(mark, 7, 1500000000000000LL + id * 1000000);
        sqlite3_bind_int64(mark, 8, 1600000000000000LL + id * 1000000);
        sqlite3_bind_text(mark, 9, ("g" + std::to_string(id)).c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(mark);
        sqlite3_reset(mark);
        return id;
    };
    Exec(db, "BEGIN");
    std::vector<int64_t> folders;
    for (int f = 0; f < 500; ++f) folders.push_back(bookmark(2, 0, f % 2 ? 2 : 3, f, "Folder " + std::to_string(f)));
    std::vector<int64_t> tags;
    for (int t = 0; t < 50; ++t) tags.push_back(bookmark(2, 0, 4, t, "tag" + std::to_string(t)));
    for (int i = 0; i < links; ++i) {
        if (i == links - links / 10) {
            Exec(db, "COMMIT");
            Exec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
            Exec(db, "BEGIN");
        }
        const std::string url = "https://site" + std::to_string(i % 9973) + ".example.com/path/" + std::to_string(i) +
                                "?q=" + std::to_string(i * 7);
        sqlite3_bind_int64(place, 1, i + 1);
        sqlite3_bind_text(place, 2, url.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_null(place, 3);
        sqlite3_bind_text(place, 4, ("p" + std::to_string(i)).c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(place);
        sqlite3_reset(place);
        bookmark(1, i + 1, folders[size_t(i % 500)], i / 500, "Bookmark number " + std::to_string(i) + " about things");
        if (i % 10 == 0) bookmark(1, i + 1, tags[size_t(i % 50)], i / 50, "");
    }
    Exec(db, "COMMIT");
    sqlite3_finalize(place);
    sqlite3_finalize(mark);
    // Closed without a checkpoint: the last tenth stays in the log, as a running browser leaves it.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_close(db);
}

void WriteChromium(const fs::path& path, int links)
{
    std::ofstream out(path, std::ios::binary);
    out << "{\n   \"checksum\": \"0\",\n   \"roots\": {\n      \"bookmark_bar\": {\n         \"children\": [ ";
    for (int f = 0; f < 500; ++f) {
        out << (f ? ", " : "") << "{\n            \"children\": [ ";
        for (int i = f; i < links; i += 500)
            out << (i != f ? ", " : "") << "{\n               \"date_added\": \"" << 13300000000000000LL + i
                << "\",\n               \"guid\": \"g" << i << "\",\n               \"id\": \"" << i
                << "\",\n               \"name\": \"Bookmark number " << i
                << " about things\",\n               \"type\": \"url\",\n               \"url\": \"https://site" << i % 9973
                << ".example.com/path/" << i << "?q=" << i * 7 << "\"\n            }";
        out << " ],\n            \"date_added\": \"13300000000000000\",\n            \"name\": \"Folder " << f
            << "\",\n            \"type\": \"folder\"\n         }";
    }
    out << " ],\n         \"name\": \"Bookmarks bar\",\n         \"type\": \"folder\"\n      },\n"
           "      \"other\": {\"children\": [], \"name\": \"Other bookmarks\", \"type\": \"folder\"},\n"
           "      \"synced\": {\"children\": [], \"name\": \"Mobile bookmarks\", \"type\": \"folder\"}\n   },\n"
           "   \"version\": 1\n}\n";
}

double ImportSeconds(const std::string& source, int& count)
{
    LinkStore store;
    CLinkIntake intake(store, CLinkDate{}, IntakeOptions{true, true});
    std::vector<LinkStore::Record> records;
    BookmarkTarget target;
    target.add = [&](ImportedLink&& link) {
        LinkStore::Record record;
        if (intake.Take(std::move(link), record) != CLinkIntake::Result::Made) return Intake::Skipped;
        records.push_back(std::move(record));
        return Intake::Added;
    };
    target.finished = [&](int) { if (!store.InsertRecords(0, records)) std::abort(); };
    SilentPrompter prompter;
    const auto start = std::chrono::steady_clock::now();
    ImportBookmarkFile(source, prompter, CCountFormatter(true, ","), target);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    count = store.Count();
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    const int links = argc > 1 ? std::atoi(argv[1]) : 100000;
    const fs::path folder = fs::temp_directory_path() / "norvelle_bench_browsers";
    fs::create_directories(folder);
    WritePlaces(folder / "places.sqlite", links);
    WriteChromium(folder / "Bookmarks", links);
    for (const char* name : {"places.sqlite", "Bookmarks"}) {
        double best = 1e9;
        int count = 0;
        for (int run = 0; run < 3; ++run) best = std::min(best, ImportSeconds((folder / name).string(), count));
        std::printf("import %-14s %d links: %.3f s (best of 3)\n", name, count, best);
    }
    std::printf("(places.sqlite %.1f MB, %.1f MB of it in the write-ahead log)\n",
                double(fs::file_size(folder / "places.sqlite") + fs::file_size(folder / "places.sqlite-wal")) / 1e6,
                double(fs::file_size(folder / "places.sqlite-wal")) / 1e6);
    fs::remove_all(folder);
    return 0;
}
