#include "sync/MergeStores.h"

#include <cstring>
#include <unordered_map>

#include "store/LinkStore.h"

namespace {

std::string Key(const CAnnotatedLink& r)
{
    auto date = [](const CLinkDate& d) {
        char bytes[sizeof d.status + sizeof d.value];
        std::memcpy(bytes, &d.status, sizeof d.status);
        std::memcpy(bytes + sizeof d.status, &d.value, sizeof d.value);
        return std::string(bytes, sizeof bytes);
    };
    // Lengths first, so that no two different records give the same key.
    std::string key;
    for (std::string_view field : {r.Title(), r.Link(), r.Description(), r.Category()}) {
        key += std::to_string(field.size()) + ':';
        key += field;
    }
    return key + date(r.Added()) + date(r.Modified());
}

bool Append(LinkStore& out, const CAnnotatedLink& r)
{
    return out.InsertLink(out.Count(), r.Title(), r.Link(), r.Description(), r.Category(), r.Added(), r.Modified());
}

}  // namespace

MergeCounts MergeStores(const LinkStore& first, const LinkStore& second, LinkStore& out)
{
    MergeCounts counts;
    std::unordered_map<std::string, int> unmatched;  // copies of first not matched yet
    for (int row = 0; row < first.Count(); ++row) {
        counts.complete = Append(out, first.At(row)) && counts.complete;
        ++unmatched[Key(first.At(row))];
    }
    counts.onlyFirst = first.Count();
    for (int row = 0; row < second.Count(); ++row) {
        auto found = unmatched.find(Key(second.At(row)));
        if (found != unmatched.end() && found->second > 0) {
            --found->second;
            ++counts.both;
            --counts.onlyFirst;
        } else {
            counts.complete = Append(out, second.At(row)) && counts.complete;
            ++counts.onlySecond;
        }
    }
    std::vector<std::string> categories = first.Categories();
    out.SetCategoriesInOrder(categories);
    out.AddCategories(second.Categories());
    out.SetClearSelection(first.ClearSelection());
    return counts;
}
