#include "import/BrowserStores.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "store/FileIO.h"

SourceKind SourceKindOf(std::string& path, ServiceFormat* format)
{
    std::error_code ec;
    if (std::filesystem::is_directory(Utf8Path(path), ec)) {
        // A profile folder: the store it holds.
        std::string folder = path;
        if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
        for (const char* store : {"places.sqlite", "Bookmarks"})
            if (FileExists(folder + store)) {
                path = folder + store;
                return SourceKindOf(path, format);
            }
        return SourceKind::Unreadable;
    }
    // Only a plain file is read: opening a fifo waits for a writer, and a device such as
    // /dev/zero never ends.
    if (!std::filesystem::is_regular_file(Utf8Path(path), ec)) return SourceKind::Unreadable;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return SourceKind::Unreadable;
    std::string begin(1 << 16, '\0');
    const size_t n = std::fread(begin.data(), 1, begin.size(), file.get());
    begin.resize(n);
    const char* head = begin.data();
    if (n >= 16 && std::memcmp(head, "SQLite format 3", 16) == 0) return SourceKind::FirefoxPlaces;
    if (const ServiceFormat service = ServiceFormatOf(begin); service != ServiceFormat::None) {
        if (format) *format = service;
        return SourceKind::ServiceFile;
    }
    size_t at = n >= 3 && std::memcmp(head, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    while (at < n && (head[at] == ' ' || head[at] == '\t' || head[at] == '\r' || head[at] == '\n')) ++at;
    if (at < n && head[at] == '{') return SourceKind::ChromiumBookmarks;
    return SourceKind::BookmarkFile;
}

int CountStoreLinks(const std::string& path, const std::atomic<bool>* stop)
{
    std::string store = path;
    const SourceKind kind = SourceKindOf(store);
    if (kind != SourceKind::FirefoxPlaces && kind != SourceKind::ChromiumBookmarks) return -1;
    BookmarkTarget counter;
    counter.add = [](ImportedLink&&) { return Intake::Added; };
    counter.progress = [stop](uint64_t, uint64_t) { return !stop || !stop->load(); };
    ReadCounts counts;
    std::string error;
    const bool read = kind == SourceKind::FirefoxPlaces ? ReadFirefoxPlaces(store, counter, counts, error)
                                                        : ReadChromiumBookmarks(store, counter, counts, error);
    return read && !counts.stopped ? counts.added : -1;
}
