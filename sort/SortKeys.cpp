#include "sort/SortKeys.h"

#include <algorithm>
#include <cstring>
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

namespace {

// Dates by value, so that a date never set sorts first.
int CompareDateValues(double x, double y) { return x < y ? -1 : y < x ? 1 : 0; }

}  // namespace

int CompareOnColumn(const CAnnotatedLink& a, const CAnnotatedLink& b, int column)
{
    auto dates = [](const CLinkDate& x, const CLinkDate& y) { return CompareDateValues(x.value, y.value); };
    switch (column) {
    case SortTitle: return CompareTextNoCase(a.Title(), b.Title());
    case SortCategory: return CompareTextNoCase(a.Category(), b.Category());
    case SortDescription: return CompareTextNoCase(a.Description(), b.Description());
    case SortAdded: return dates(a.Added(), b.Added());
    case SortModified: return dates(a.Modified(), b.Modified());
    default: return 0;
    }
}

namespace {

// The first bytes of a text as its comparison sees them, case-folded, so that most
// comparisons of a sort are a few bytes in memory: the code points' order is the order
// of their UTF-8 bytes, and a byte that is not UTF-8 (after every character, as in
// CompareTextNoCase) becomes 0xF8 and itself. Texts whose prefixes are alike are compared
// whole.
struct TextPrefix {
    static constexpr size_t kBytes = 22;
    unsigned char bytes[kBytes];
    uint8_t size;      // bytes used
    bool whole;        // the whole folded text fits

    explicit TextPrefix(std::string_view text)
    {
        size = 0;
        whole = true;
        for (size_t i = 0; i < text.size();) {
            unsigned char key[5];
            size_t n = 0;
            const auto c = static_cast<unsigned char>(text[i]);
            if (c < 0x80) {
                key[n++] = c >= 'A' && c <= 'Z' ? c + 0x20 : c;
                ++i;
            } else {
                const char32_t cp = NextCodePoint(text, i);
                if (cp & kNotUtf8) {
                    key[n++] = 0xF8;
                    key[n++] = c;
                } else {
                    std::string folded;
                    AppendUtf8(uint32_t(u_foldCase(UChar32(cp), U_FOLD_CASE_DEFAULT)), folded);
                    for (char b : folded) key[n++] = static_cast<unsigned char>(b);
                }
            }
            if (size + n > kBytes) {
                whole = false;
                return;
            }
            std::memcpy(bytes + size, key, n);
            size = uint8_t(size + n);
        }
    }
    // Negative, zero or positive as CompareTextNoCase gives; 2 when the prefixes cannot tell.
    int Compare(const TextPrefix& other) const
    {
        const size_t n = size < other.size ? size : other.size;
        if (const int c = std::memcmp(bytes, other.bytes, n); c != 0) return c < 0 ? -1 : 1;
        if (whole && other.whole) return size == other.size ? 0 : size < other.size ? -1 : 1;
        // One is a prefix of the other so far: a whole one that is shorter comes first.
        if (whole && size < other.size) return -1;
        if (other.whole && other.size < size) return 1;
        return 2;
    }
};

std::string_view TextOf(const CAnnotatedLink& record, int column)
{
    return column == SortTitle ? record.Title() : column == SortCategory ? record.Category() : record.Description();
}

}  // namespace

void SortLinks(LinkStore& store, const std::vector<SortKey>& keys)
{
    auto lock = store.Lock();
    const LinkStore& records = store;
    const size_t rows = size_t(records.Count());
    // Each text key is folded once for the sort, not in every comparison.
    std::vector<std::vector<TextPrefix>> prefixes(keys.size());
    for (size_t k = 0; k < keys.size(); ++k) {
        const int column = keys[k].column;
        if (column != SortTitle && column != SortCategory && column != SortDescription) continue;
        prefixes[k].reserve(rows);
        for (size_t row = 0; row < rows; ++row) prefixes[k].emplace_back(TextOf(records.At(int(row)), column));
    }
    // Dates too, so that a comparison reads two arrays instead of two records.
    std::vector<std::vector<double>> dates(keys.size());
    for (size_t k = 0; k < keys.size(); ++k) {
        const int column = keys[k].column;
        if (column != SortAdded && column != SortModified) continue;
        dates[k].reserve(rows);
        for (size_t row = 0; row < rows; ++row) {
            const CAnnotatedLink& record = records.At(int(row));
            dates[k].push_back(column == SortAdded ? record.Added().value : record.Modified().value);
        }
    }
    std::vector<int> order(rows);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        for (size_t k = 0; k < keys.size(); ++k) {
            const SortKey& key = keys[k];
            int c;
            if (!prefixes[k].empty()) {
                c = prefixes[k][size_t(x)].Compare(prefixes[k][size_t(y)]);
                if (c == 2) c = CompareTextNoCase(TextOf(records.At(x), key.column), TextOf(records.At(y), key.column));
            } else if (!dates[k].empty()) {
                c = CompareDateValues(dates[k][size_t(x)], dates[k][size_t(y)]);
            } else {
                c = CompareOnColumn(records.At(x), records.At(y), key.column);
            }
            if (c != 0) return key.increasing ? c < 0 : c > 0;
        }
        return false;
    });
    store.Reorder(order);
}

bool RowsInOrder(const LinkStore& store, SortKey key, int first, int last)
{
    const int end = std::min(last + 1, store.Count() - 1);
    for (int row = std::max(first, 1); row <= end; ++row) {
        const int c = CompareOnColumn(store.At(row - 1), store.At(row), key.column);
        if (key.increasing ? c > 0 : c < 0) return false;
    }
    return true;
}
