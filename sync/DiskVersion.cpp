#include "sync/DiskVersion.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

}  // namespace

int64_t FileModifiedSeconds(const std::string& path)
{
    std::error_code ec;
    const auto written = fs::last_write_time(PathOf(path), ec);
    if (ec) return 0;
    return std::chrono::duration_cast<std::chrono::seconds>(fs::file_time_type::clock::to_sys(written).time_since_epoch())
        .count();
}

DiskStamp StampOf(const std::string& path)
{
    DiskStamp stamp;
    std::error_code ec;
    const fs::path p = PathOf(path);
    const fs::file_status status = fs::status(p, ec);
    if (ec || !fs::exists(status)) return stamp;
    stamp.kind = DiskStamp::Kind::Other;
    if (!fs::is_regular_file(status)) return stamp;
    stamp.modified = FileModifiedSeconds(path);
    std::ifstream in(p, std::ios::binary);
    if (!in) return stamp;
    // FNV-1a over 8-byte words: quick, and any change of the bytes shows.
    uint64_t hash = 14695981039346656037ull;
    uint64_t size = 0;
    std::vector<char> buffer(1 << 20);
    while (in) {
        in.read(buffer.data(), std::streamsize(buffer.size()));
        const size_t n = size_t(in.gcount());
        if (n == 0) break;
        size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t word;
            std::memcpy(&word, buffer.data() + i, 8);
            hash = (hash ^ word) * 1099511628211ull;
        }
        for (; i < n; ++i) hash = (hash ^ uint8_t(buffer[i])) * 1099511628211ull;
        size += n;
    }
    if (in.bad()) return stamp;
    stamp.kind = DiskStamp::Kind::File;
    stamp.size = size;
    stamp.hash = hash;
    return stamp;
}

std::string FreeNameWithTag(const std::string& path, const std::string& tag)
{
    const fs::path p = PathOf(path);
    const std::u8string stem = p.stem().u8string(), extension = p.extension().u8string();
    const std::string folder = path.substr(0, path.size() - p.filename().u8string().size());
    std::error_code ec;
    for (int n = 1;; ++n) {
        const std::string name = folder + std::string(stem.begin(), stem.end()) + " (" + tag +
                                 (n > 1 ? " " + std::to_string(n) : "") + ")" +
                                 std::string(extension.begin(), extension.end());
        if (!fs::exists(PathOf(name), ec) && !fs::is_symlink(PathOf(name), ec)) return name;
    }
}
