#include "sort/SortKeys.h"

#include <algorithm>
#include <numeric>

#include <unicode/uchar.h>

#include "store/Utf.h"

void ResetSortKeys(SortKeyTable& table) { table = SortKeyTable{}; }

int CompareTextNoCase(std::string_view a, std::string_view b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
        char32_t x, y;
        if (ca < 0x80 && cb < 0x80) {
            // ASCII, by far the most common, without the Unicode tables.
            x = ca >= 'A' && ca <= 'Z' ? ca + 0x20 : ca;
            y = cb >= 'A' && cb <= 'Z' ? cb + 0x20 : cb;
            ++i;
            ++j;
        } else {
            x = NextCodePoint(a, i);
            y = NextCodePoint(b, j);
            if (!(x & kNotUtf8)) x = char32_t(u_foldCase(UChar32(x), U_FOLD_CASE_DEFAULT));
            if (!(y & kNotUtf8)) y = char32_t(u_foldCase(UChar32(y), U_FOLD_CASE_DEFAULT));
        }
        if (x != y) return x < y ? -1 : 1;
    }
    return int(i < a.size()) - int(j < b.size());
}

int CompareOnColumn(const CAnnotatedLink& a, const CAnnotatedLink& b, int column)
{
    auto dates = [](const CLinkDate& x, const CLinkDate& y) { return x.value < y.value ? -1 : y.value < x.value ? 1 : 0; };
    switch (column) {
    case SortTitle: return CompareTextNoCase(a.title, b.title);
    case SortCategory: return CompareTextNoCase(a.category, b.category);
    case SortDescription: return CompareTextNoCase(a.description, b.description);
    case SortAdded: return dates(a.added, b.added);
    case SortModified: return dates(a.modified, b.modified);
    default: return 0;
    }
}

void SortLinks(LinkStore& store, const std::vector<SortKey>& keys)
{
    auto lock = store.Lock();
    std::vector<int> order(size_t(store.Count()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        for (const SortKey& key : keys) {
            const int c = CompareOnColumn(store.At(x), store.At(y), key.column);
            if (c != 0) return key.increasing ? c < 0 : c > 0;
        }
        return false;
    });
    store.Reorder(order);
}
