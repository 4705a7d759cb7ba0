#pragma once
#include <atomic>
#include <string>

#include "import/BookmarkImport.h"
#include "import/ServiceFormats.h"

// The kinds of source an import reads, told apart by content, not by name.
enum class SourceKind { Unreadable, BookmarkFile, FirefoxPlaces, ChromiumBookmarks, ServiceFile };

// The kind of the source at path. A folder stands for the store it holds (a browser
// profile's places.sqlite or Bookmarks), and path becomes that file; a folder without one
// is Unreadable, as is a path that cannot be opened. A service's export (ServiceFormats.h)
// is a ServiceFile, and format (when given) says which.
SourceKind SourceKindOf(std::string& path, ServiceFormat* format = nullptr);

// Firefox and its kin keep their bookmarks in places.sqlite, which the browser may have
// open: the file and its write-ahead log are copied into a private temporary folder and
// read from there through SQLite, so that the profile is never written, locked or
// changed, and bookmarks still in the log are read too. The Bookmarks Menu is the top
// level, the toolbar "Bookmarks Toolbar", Other Bookmarks "Other Bookmarks" and Mobile
// "Mobile Bookmarks"; sub-folders are joined with "|". Each bookmark carries its dates
// and the tags of its address. Separators, place: queries and folders are not links.
// False, with the reason in error, when the store cannot be read.
bool ReadFirefoxPlaces(const std::string& path, const BookmarkTarget& target, ReadCounts& counts, std::string& error);

// Chromium and its kin keep their bookmarks in a JSON file, Bookmarks: the bar becomes a
// folder of the name the file gives it, Other bookmarks the top level, Mobile bookmarks a
// folder of its name. Dates count microseconds from 1601; a link without date_modified
// was last modified when added. The file is read as a stream, its texts bounded as a
// bookmark file's are.
bool ReadChromiumBookmarks(const std::string& path, const BookmarkTarget& target, ReadCounts& counts,
                           std::string& error);

// The number of links an import of the store would give; -1 when it cannot be read, or
// when stop (if given) became true meanwhile.
int CountStoreLinks(const std::string& path, const std::atomic<bool>* stop = nullptr);
