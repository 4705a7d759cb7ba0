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
    for (const std::string* field : {&r.title, &r.link, &r.description, &r.category}) {
        key += std::to_string(field->size()) + ':';
        key += *field;
    }
    return key + date(r.added) + date(r.modified);
}

void Append(LinkStore& out, const CAnnotatedLink& r)
{
    out.InsertLink(out.Count(), r.title, r.link, r.description, r.category, r.added, r.modified);
}

}  // namespace

MergeCounts MergeStores(const LinkStore& first, const LinkStore& second, LinkStore& out)
{
    MergeCounts counts;
    std::unordered_map<std::string, int> unmatched;  // copies of first not matched yet
    for (int row = 0; row < first.Count(); ++row) {
        Append(out, first.At(row));
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
            Append(out, second.At(row));
            ++counts.onlySecond;
        }
    }
    std::vector<std::string> categories = first.Categories();
    out.SetCategoriesInOrder(categories);
    out.AddCategories(second.Categories());
    out.SetClearSelection(first.ClearSelection());
    return counts;
}
