#pragma once
#include <cstdint>
#include <string>

// What is on disk at a path, enough to tell whether another program changed it: its
// size, its modification time and a hash of its content.
struct DiskStamp {
    enum class Kind { Missing, File, Other };  // Other: a folder, or a file that cannot be read
    Kind kind = Kind::Missing;
    uint64_t size = 0;
    int64_t modified = 0;  // seconds since 1970
    uint64_t hash = 0;

    // A new time on the same bytes is no change.
    bool SameContent(const DiskStamp& other) const
    {
        return kind == other.kind && size == other.size && hash == other.hash;
    }
};

// The last-write time in seconds since 1970, 0 when it cannot be read.
int64_t FileModifiedSeconds(const std::string& path);

// Reads the file through once to hash it.
DiskStamp StampOf(const std::string& path);

// "Norvelle (tag).dat", then "Norvelle (tag 2).dat", ...: the first that does not exist,
// in the same folder and with the same extension, so that it opens as a data file.
std::string FreeNameWithTag(const std::string& path, const std::string& tag);
