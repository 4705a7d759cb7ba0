#include "health/DuplicateFinder.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "health/LinkAddress.h"
#include "store/LinkStore.h"

namespace {

// A known date is older than an unknown one; among equals the first row stays.
bool AddedBefore(const CAnnotatedLink& a, const CAnnotatedLink& b)
{
    const bool knownA = a.added.status == CLinkDate::Valid && !std::isnan(a.added.value);
    const bool knownB = b.added.status == CLinkDate::Valid && !std::isnan(b.added.value);
    if (knownA != knownB) return knownA;
    return knownA && a.added.value < b.added.value;
}

}  // namespace

std::vector<DuplicateGroup> FindDuplicates(const LinkStore& store)
{
    std::unordered_map<std::string, int> groupOf;
    groupOf.reserve(size_t(store.Count()));
    std::vector<DuplicateGroup> groups;
    for (int row = 0; row < store.Count(); ++row) {
        std::string key = DuplicateKey(store.At(row).link);
        if (key.empty()) continue;
        auto [found, isNew] = groupOf.try_emplace(std::move(key), int(groups.size()));
        if (isNew) groups.push_back({found->first, {}, row});
        DuplicateGroup& group = groups[size_t(found->second)];
        group.rows.push_back(row);
        if (AddedBefore(store.At(row), store.At(group.keep))) group.keep = row;
    }
    std::erase_if(groups, [](const DuplicateGroup& g) { return g.rows.size() < 2; });
    return groups;
}

std::vector<int> RowsToRemove(const std::vector<DuplicateGroup>& groups)
{
    std::vector<int> rows;
    for (const DuplicateGroup& group : groups)
        for (int row : group.rows)
            if (row != group.keep) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    return rows;
}
