#include "health/LinkRef.h"

#include <algorithm>
#include <unordered_map>

#include "store/LinkStore.h"

std::vector<int> RowsOfLinks(const LinkStore& store, const std::vector<LinkRef>& refs, std::vector<int>* rowOf)
{
    std::unordered_map<const CAnnotatedLink*, int> rows;
    rows.reserve(refs.size());
    for (const LinkRef& ref : refs) rows.emplace(ref.record, -1);
    for (int row = 0; row < store.Count(); ++row)
        if (auto found = rows.find(&store.At(row)); found != rows.end()) found->second = row;
    std::vector<int> result;
    if (rowOf) rowOf->clear();
    for (const LinkRef& ref : refs) {
        const int row = rows[ref.record];
        const bool stands = row >= 0 && store.At(row).Link() == ref.link;
        if (stands) result.push_back(row);
        if (rowOf) rowOf->push_back(stands ? row : -1);
    }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

std::vector<std::optional<std::string>> CurrentLinks(const LinkStore& store,
                                                     const std::vector<const CAnnotatedLink*>& records)
{
    std::unordered_map<const CAnnotatedLink*, int> rows;
    rows.reserve(records.size());
    for (const CAnnotatedLink* record : records) rows.emplace(record, -1);
    for (int row = 0; row < store.Count(); ++row)
        if (auto found = rows.find(&store.At(row)); found != rows.end()) found->second = row;
    std::vector<std::optional<std::string>> links;
    links.reserve(records.size());
    for (const CAnnotatedLink* record : records) {
        const int row = rows[record];
        links.push_back(row >= 0 ? std::optional<std::string>(store.At(row).Link()) : std::nullopt);
    }
    return links;
}
