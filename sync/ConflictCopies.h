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
};

// The conflict copies in the data file's folder, newest first.
std::vector<ConflictCopy> FindConflictCopies(const std::string& dataFile);
