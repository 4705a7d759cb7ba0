#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "import/BookmarkImport.h"

// The exports of read-later and bookmark services, and Norvelle's own export formats,
// told apart by their content (the heading row of a CSV file, the keys of a JSON one).
enum class ServiceFormat {
    None,
    PocketCsv,      // title,url,time_added,tags,status; tags separated by |
    PocketHtml,     // ril_export.html: "Unread" and "Read Archive" lists of anchors
    PinboardJson,   // [{href, description, extended, time, tags, toread, shared}]
    RaindropCsv,    // id,title,note,excerpt,url,folder,tags,created,...
    InstapaperCsv,  // URL,Title,Selection,Folder,Timestamp,Tags
    WallabagJson,   // [{title, url, tags, created_at, updated_at, is_archived, ...}]
    OneTabText,     // "URL | Title" a line, blank lines between groups
    Xbel,           // XML: folder, bookmark href added modified, title, desc
    NorvelleCsv,    // this program's CSV export
    NorvelleJson,   // this program's JSON export
    NorvelleMarkdown,  // this program's Markdown export
};

// The format of a file that begins with head (its first bytes; 64 KiB tell every format).
ServiceFormat ServiceFormatOf(std::string_view head);
// Its name for people ("Pocket CSV").
const char* ServiceFormatName(ServiceFormat format);

// The largest service file read: its links are all read before the first is taken, so
// that a broken file adds none.
constexpr uint64_t kMaxServiceFile = uint64_t(256) << 20;

// How far a reading is (total 0 when it cannot say); false when the person stopped it.
using ReadProgress = std::function<bool(uint64_t done, uint64_t total)>;

// Reads the links of a service file into target, after the whole file was read without
// a fault; false, with error naming the line or entry at fault ("line 7: ..."), when it
// could not be read, and then no link is taken.
bool ReadServiceFile(ServiceFormat format, const std::string& path, const BookmarkTarget& target, ReadCounts& counts,
                     std::string& error);
// The same over text in memory, for the tests and the fuzzer.
bool ReadServiceText(ServiceFormat format, std::string_view text, const BookmarkTarget& target, ReadCounts& counts,
                     std::string& error);
