#pragma once
#include <cstdint>
#include <string>
#include <vector>

// True when name is one of the copies that sync tools leave beside a data file named
// dataFileName when two machines changed it at once: "Norvelle.sync-conflict-*.dat"
// (Syncthing), "Norvelle (... conflicted copy ...).dat" (Dropbox, Nextcloud, ownCloud),
// "Norvelle.dat.conflict*" (others).
bool IsConflictCopyName(const std::string& dataFileName, const std::string& name);

struct ConflictCopy {
    std::string path;
    int64_t modified = 0;  // seconds since 1970
    uint64_t size = 0;
};

// The conflict copies in the data file's folder, newest first; for a data file reached
// through a symbolic link, also those beside the file it leads to.
std::vector<ConflictCopy> FindConflictCopies(const std::string& dataFile);

// The conflict copies already offered, each by its data file, its name and its size: sync
// tools keep the other machine's time, so a copy offered later may be older than one seen
// before. Kept as text in the settings, one copy a line, the newest few hundred.
class OfferedConflictCopies {
public:
    explicit OfferedConflictCopies(const std::string& text);
    bool Contains(const std::string& dataFile, const ConflictCopy& copy) const;
    void Add(const std::string& dataFile, const ConflictCopy& copy);
    void Remove(const std::string& dataFile, const ConflictCopy& copy);
    std::string Text() const;

private:
    static std::string Entry(const std::string& dataFile, const ConflictCopy& copy);
    std::vector<std::string> m_entries;
};
