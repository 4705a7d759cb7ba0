#include "health/DuplicateFinder.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>

#include "health/LinkAddress.h"
#include "store/LinkStore.h"

namespace {

// A known date is older than an unknown one; among equals the first row stays.
bool AddedBefore(const CAnnotatedLink& a, const CAnnotatedLink& b)
{
    const bool knownA = a.Added().status == CLinkDate::Valid && !std::isnan(a.Added().value);
    const bool knownB = b.Added().status == CLinkDate::Valid && !std::isnan(b.Added().value);
    if (knownA != knownB) return knownA;
    return knownA && a.Added().value < b.Added().value;
}

}  // namespace

std::vector<DuplicateGroup> FindDuplicates(const LinkStore& store)
{
    // A first pass keeps only a hash of each link's key: most links have no copy, and at a
    // hundred thousand links their keys held at once came to 30 MB. Only rows whose hash
    // comes twice or more are grouped, by their keys made again.
    std::vector<std::pair<size_t, int>> hashed;
    hashed.reserve(size_t(store.Count()));
    for (int row = 0; row < store.Count(); ++row) {
        const std::string key = DuplicateKey(store.At(row).Link());
        if (!key.empty()) hashed.emplace_back(std::hash<std::string>{}(key), row);
    }
    std::sort(hashed.begin(), hashed.end());
    std::vector<int> candidates;
    for (size_t i = 0; i < hashed.size(); ++i) {
        const bool likeBefore = i > 0 && hashed[i - 1].first == hashed[i].first;
        const bool likeAfter = i + 1 < hashed.size() && hashed[i + 1].first == hashed[i].first;
        if (likeBefore || likeAfter) candidates.push_back(hashed[i].second);
    }
    hashed = {};
    std::sort(candidates.begin(), candidates.end());

    std::unordered_map<std::string, int> groupOf;
    std::vector<DuplicateGroup> groups;
    for (int row : candidates) {
        std::string key = DuplicateKey(store.At(row).Link());
        auto [found, isNew] = groupOf.try_emplace(std::move(key), int(groups.size()));
        if (isNew) groups.push_back({found->first, {}, row});
        DuplicateGroup& group = groups[size_t(found->second)];
        group.rows.push_back(row);
        if (AddedBefore(store.At(row), store.At(group.keep))) group.keep = row;
    }
    // Rows whose hashes met by chance stay alone.
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
