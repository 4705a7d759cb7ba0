#pragma once
#include <string>
#include <vector>

class LinkStore;

// Links that point to the same place (the same DuplicateKey).
struct DuplicateGroup {
    std::string key;
    std::vector<int> rows;  // ascending
    int keep = -1;          // the oldest copy by Added; the others may go
};

// Groups of two or more links, ordered by their first row. The caller holds the lock.
std::vector<DuplicateGroup> FindDuplicates(const LinkStore& store);
// Every row of the groups but the one each keeps, ascending.
std::vector<int> RowsToRemove(const std::vector<DuplicateGroup>& groups);
