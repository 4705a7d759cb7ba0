// Reading Firefox's places.sqlite: a private copy of the database and its write-ahead
// log, opened read-only through SQLite.
#include <sqlite3.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "import/BrowserStores.h"
#include "store/FileIO.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// How long the read of one store may take at most, and how many of its rows it reads.
constexpr int kReadSeconds = 20;
constexpr size_t kMaxRows = 5'000'000;
// A browser's store of millions of bookmarks is a few hundred megabytes; a larger one is
// not copied, so that a file that claims to be huge cannot fill the temporary folder.
constexpr uintmax_t kMaxStoreBytes = uintmax_t(2) << 30;
// A copy left by a read that was killed; a read in progress is never this old.
constexpr auto kLeftoverAge = std::chrono::hours(1);

constexpr const char* kCopyPrefix = "norvelle-places-";

// Removes the copies that killed reads left in the temporary folder.
void RemoveLeftoverCopies(const fs::path& base)
{
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code inner;
        if (it->path().filename().string().rfind(kCopyPrefix, 0) != 0 || it->is_symlink(inner) ||
            !it->is_directory(inner))
            continue;
        const auto written = fs::last_write_time(it->path(), inner);
        if (!inner && now - written > kLeftoverAge) fs::remove_all(it->path(), inner);
    }
}

// A folder of our own for the copy, removed with everything in it.
class PrivateFolder {
public:
    PrivateFolder()
    {
        std::error_code ec;
        const fs::path base = fs::temp_directory_path(ec);
        if (ec) return;
        RemoveLeftoverCopies(base);
#ifndef _WIN32
        std::string pattern = (base / (std::string(kCopyPrefix) + "XXXXXX")).string();
        if (mkdtemp(pattern.data())) m_path = pattern;
#else
        std::random_device random;
        for (int attempt = 0; attempt < 16 && m_path.empty(); ++attempt) {
            const fs::path candidate = base / (kCopyPrefix + std::to_string(random()));
            if (fs::create_directory(candidate, ec)) m_path = candidate;
        }
#endif
    }
    ~PrivateFolder()
    {
        std::error_code ec;
        if (!m_path.empty()) fs::remove_all(m_path, ec);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

// The size and last change of a file, to tell whether it changed while it was copied.
struct FileStamp {
    bool exists = false;
    uintmax_t size = 0;
    fs::file_time_type written;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const fs::path& path)
{
    std::error_code ec;
    FileStamp stamp;
    stamp.size = fs::file_size(path, ec);
    if (ec) return {};
    stamp.written = fs::last_write_time(path, ec);
    stamp.exists = !ec;
    return stamp;
}

// Reads from (only reads: the browser's file is left as it is) into to, at most
// kMaxStoreBytes of it. Blocks of zeros are left as holes, as a sparse file has them.
bool CopyForReading(const fs::path& from, const fs::path& to)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(from.string().c_str(), "rb"), std::fclose);
    if (!in) return false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(to.string().c_str(), "wb"), std::fclose);
    if (!out) return false;
    static const std::vector<char> zeros(1 << 16);
    std::vector<char> block(zeros.size());
    uintmax_t copied = 0;
    for (;;) {
        const size_t n = std::fread(block.data(), 1, block.size(), in.get());
        copied += n;
        if (copied > kMaxStoreBytes) return false;
        if (n == block.size() && block == zeros) {
            if (std::fseek(out.get(), long(n), SEEK_CUR) != 0) return false;
        } else if (n > 0 && std::fwrite(block.data(), 1, n, out.get()) != n) {
            return false;
        }
        if (n < block.size()) break;
    }
    if (std::ferror(in.get()) || std::fflush(out.get()) != 0) return false;
#ifndef _WIN32
    // A hole at the end is given its length.
    return ftruncate(fileno(out.get()), off_t(copied)) == 0;
#else
    return true;
#endif
}

// The database and its log as they were at one moment: copied again while the browser
// changed either during the copy.
bool CopyStore(const fs::path& database, const fs::path& folder, fs::path& copy, std::string& error)
{
    error = "it could not be copied for reading.";
    const fs::path log = database.string() + "-wal";
    copy = folder / "places.sqlite";
    const fs::path copyLog = folder / "places.sqlite-wal";
    for (int attempt = 0; attempt < 5; ++attempt) {
        const FileStamp before = StampOf(database), logBefore = StampOf(log);
        if (!before.exists) return false;
        if (before.size > kMaxStoreBytes || logBefore.size > kMaxStoreBytes) {
            error = "it is larger than 2 GiB, more than a browser's store would be; it is not read.";
            return false;
        }
        std::error_code ec;
        fs::remove(copyLog, ec);
        if (!CopyForReading(database, copy)) return false;
        if (logBefore.exists && !CopyForReading(log, copyLog)) return false;
        if (StampOf(database) == before && StampOf(log) == logBefore) return true;
    }
    return true;  // a browser busy all along: the last copy is as good as any
}

struct Database {
    ~Database() { sqlite3_close(handle); }
    sqlite3* handle = nullptr;
};

struct Statement {
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &handle, nullptr); }
    ~Statement() { sqlite3_finalize(handle); }
    std::string Text(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(handle, column));
        return text ? std::string(text, size_t(sqlite3_column_bytes(handle, column))) : std::string();
    }
    sqlite3_stmt* handle = nullptr;
};

enum Type { Bookmark = 1, Folder = 2 };

struct Item {
    int64_t id = 0;
    int64_t parent = 0;
    int64_t place = 0;
    int type = 0;
    std::string title;
    std::string url;
    int64_t added = 0;     // microseconds since 1970
    int64_t modified = 0;
    std::vector<size_t> children;  // in position order
};

int64_t Seconds(int64_t microseconds) { return microseconds > 0 ? microseconds / 1000000 : 0; }

class PlacesReader {
public:
    PlacesReader(sqlite3* db, const BookmarkTarget& target, ReadCounts& counts)
        : m_db(db), m_target(target), m_counts(counts)
    {
    }

    bool Read(std::string& error)
    {
        if (!LoadItems(error)) return false;
        LoadDescriptions();
        // The roots, as the browser's own HTML export places them.
        static const struct {
            const char* guid;
            const char* category;
        } kRoots[] = {{"menu________", ""},
                      {"toolbar_____", "Bookmarks Toolbar"},
                      {"unfiled_____", "Other Bookmarks"},
                      {"mobile______", "Mobile Bookmarks"}};
        if (auto tags = m_byGuid.find("tags________"); tags != m_byGuid.end()) LoadTags(tags->second);
        for (const auto& root : kRoots) {
            auto it = m_byGuid.find(root.guid);
            if (it == m_byGuid.end()) continue;
            std::vector<std::string> folders;
            if (*root.category) folders.push_back(root.category);
            if (!Walk(it->second, std::move(folders))) break;
        }
        return true;
    }

private:
    bool LoadItems(std::string& error)
    {
        Statement items(m_db, "SELECT b.id, b.type, b.parent, b.title, b.dateAdded, b.lastModified, b.guid, b.fk, p.url "
                              "FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk "
                              "ORDER BY b.parent, b.position, b.id");
        if (!items.handle) {
            // Another program's database has none of Firefox's tables.
            const std::string reason = sqlite3_errmsg(m_db);
            error = reason.find("no such") != std::string::npos ? "it is not a Firefox bookmark store."
                                                                : reason + ".";
            return false;
        }
        int step;
        while ((step = sqlite3_step(items.handle)) == SQLITE_ROW) {
            if (m_items.size() == kMaxRows) {
                error = "it holds more than " + std::to_string(kMaxRows) +
                        " bookmarks and folders, more than a browser's store would; it is not read.";
                return false;
            }
            Item item;
            item.id = sqlite3_column_int64(items.handle, 0);
            item.type = sqlite3_column_int(items.handle, 1);
            item.parent = sqlite3_column_int64(items.handle, 2);
            item.title = BoundedText(items.Text(3), m_counts.cut);
            item.added = sqlite3_column_int64(items.handle, 4);
            item.modified = sqlite3_column_int64(items.handle, 5);
            item.place = sqlite3_column_int64(items.handle, 7);
            item.url = BoundedText(items.Text(8), m_counts.cut);
            const size_t index = m_items.size();
            m_byId.emplace(item.id, index);
            m_byGuid.emplace(items.Text(6), index);
            m_items.push_back(std::move(item));
        }
        if (step != SQLITE_DONE) {
            error = std::string(sqlite3_errmsg(m_db)) + ".";
            return false;
        }
        // Rows come ordered by parent and position, so each folder's children are in order.
        for (size_t i = 0; i < m_items.size(); ++i)
            if (auto parent = m_byId.find(m_items[i].parent); parent != m_byId.end() && parent->second != i)
                m_items[parent->second].children.push_back(i);
        return true;
    }

    // Older versions kept a description for a bookmark; a store without them has none.
    void LoadDescriptions()
    {
        Statement notes(m_db, "SELECT a.item_id, a.content FROM moz_items_annos a "
                              "JOIN moz_anno_attributes n ON n.id = a.anno_attribute_id "
                              "WHERE n.name = 'bookmarkProperties/description'");
        if (!notes.handle) return;
        while (sqlite3_step(notes.handle) == SQLITE_ROW)
            m_descriptions[sqlite3_column_int64(notes.handle, 0)] = notes.Text(1);
    }

    // A tag is a folder under the tags root; the bookmarks in it name the addresses tagged.
    void LoadTags(size_t root)
    {
        for (size_t tag : m_items[root].children) {
            if (m_items[tag].type != Folder) continue;
            for (size_t entry : m_items[tag].children)
                if (m_items[entry].place != 0) m_tags[m_items[entry].place].push_back(m_items[tag].title);
        }
    }

    // Depth first in position order, so that a folder's links come where the folder stands.
    bool Walk(size_t root, std::vector<std::string> folders)
    {
        struct Open {
            size_t folder;
            size_t next;
            bool named;
        };
        std::vector<Open> stack{{root, 0, false}};
        std::unordered_set<size_t> visited{root};
        while (!stack.empty()) {
            Open& open = stack.back();
            if (open.next == m_items[open.folder].children.size()) {
                if (open.named) folders.pop_back();
                stack.pop_back();
                continue;
            }
            const size_t index = m_items[open.folder].children[open.next++];
            if (!visited.insert(index).second) continue;  // a damaged store's loop
            const Item& item = m_items[index];
            if (item.type == Folder) {
                const bool named = folders.size() < kMaxFolderLevels;
                m_counts.folded = m_counts.folded || !named;
                if (named) folders.push_back(item.title);
                stack.push_back({index, 0, named});
            } else if (item.type == Bookmark && !item.url.empty() && item.url.compare(0, 6, "place:") != 0) {
                if (!Take(item, folders)) return false;
            }
        }
        return true;
    }

    bool Take(const Item& item, const std::vector<std::string>& folders)
    {
        if (!m_counts.GoOn(m_target, uint64_t(m_counts.added + m_counts.skipped), 0)) return false;
        ImportedLink link;
        link.title = item.title;
        link.link = item.url;
        link.category = CategoryOf(folders, m_counts.cut);
        link.added = Seconds(item.added);
        link.modified = Seconds(item.modified);
        if (auto note = m_descriptions.find(item.id); note != m_descriptions.end())
            link.description = BoundedText(note->second, m_counts.cut);
        if (auto tags = m_tags.find(item.place); tags != m_tags.end()) link.tags = tags->second;
        return m_counts.Take(m_target, std::move(link));
    }

    sqlite3* m_db;
    const BookmarkTarget& m_target;
    ReadCounts& m_counts;
    std::vector<Item> m_items;
    std::unordered_map<int64_t, size_t> m_byId;
    std::unordered_map<std::string, size_t> m_byGuid;
    std::unordered_map<int64_t, std::vector<std::string>> m_tags;  // by place
    std::unordered_map<int64_t, std::string> m_descriptions;       // by bookmark
};

}  // namespace

bool ReadFirefoxPlaces(const std::string& path, const BookmarkTarget& target, ReadCounts& counts, std::string& error)
{
    PrivateFolder folder;
    fs::path copy;
    if (folder.Path().empty()) {
        error = "it could not be copied for reading.";
        return false;
    }
    if (!CopyStore(Utf8Path(path), folder.Path(), copy, error)) return false;
    Database db;
    if (sqlite3_open_v2(copy.string().c_str(), &db.handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        error = std::string(db.handle ? sqlite3_errmsg(db.handle) : "out of memory") + ".";
        return false;
    }
    // A file given to import may come from anyone: its schema runs nothing of ours, and
    // SQLite checks the file's structure as it reads.
    sqlite3_db_config(db.handle, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db.handle, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_exec(db.handle, "PRAGMA cell_size_check = ON", nullptr, nullptr, nullptr);
    // SQLite's own bounds: no huge value, no long statement, no other database attached,
    // and its temporary storage in memory instead of a file that a query could grow.
    sqlite3_limit(db.handle, SQLITE_LIMIT_LENGTH, 16 << 20);
    sqlite3_limit(db.handle, SQLITE_LIMIT_SQL_LENGTH, 1 << 16);
    sqlite3_limit(db.handle, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_exec(db.handle, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
    // Only the tables a browser writes are read: a view or a virtual table of the same
    // name is a statement the file itself defines, which could run without end.
    for (const char* name : {"moz_bookmarks", "moz_places", "moz_items_annos", "moz_anno_attributes"}) {
        Statement kind(db.handle, "SELECT type, sql FROM sqlite_master WHERE name = ?1");
        if (!kind.handle) break;
        sqlite3_bind_text(kind.handle, 1, name, -1, SQLITE_STATIC);
        if (sqlite3_step(kind.handle) != SQLITE_ROW) continue;
        std::string sql = kind.Text(1);
        for (char& c : sql) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (kind.Text(0) != "table" || sql.find("virtual") != std::string::npos) {
            error = std::string("its ") + name + " is not a plain table, as a browser writes it; it is not read.";
            return false;
        }
    }
    // A budget of time for the whole read, which stops a query that would not end, as
    // the person's Stop does.
    struct Budget {
        std::chrono::steady_clock::time_point deadline;
        const BookmarkTarget& target;
        ReadCounts& counts;
    } budget{std::chrono::steady_clock::now() + std::chrono::seconds(kReadSeconds), target, counts};
    sqlite3_progress_handler(
        db.handle, 10000,
        [](void* data) {
            auto& b = *static_cast<Budget*>(data);
            return std::chrono::steady_clock::now() > b.deadline || !b.counts.GoOn(b.target, 0, 0) ? 1 : 0;
        },
        &budget);
    PlacesReader reader(db.handle, target, counts);
    if (reader.Read(error) || counts.stopped) return true;
    if (std::chrono::steady_clock::now() > budget.deadline)
        error = "reading it took longer than " + std::to_string(kReadSeconds) + " seconds.";
    return false;
}
