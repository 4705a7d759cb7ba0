#pragma once
#include <string_view>
#include <vector>

#include "store/LinkStore.h"

// The columns of the list, which are also the sort keys.
enum SortColumn { SortTitle = 0, SortCategory = 1, SortDescription = 2, SortAdded = 3, SortModified = 4 };
constexpr int kSortKeys = 5;

// The Multi-Column Sorting keys: key i sorts on column order[i], increasing when
// increasing[i]. Lives for the run, not saved.
struct SortKeyTable {
    int order[kSortKeys] = {SortTitle, SortCategory, SortDescription, SortAdded, SortModified};
    bool increasing[kSortKeys] = {true, true, true, true, true};
};
// Title, Category, Description, Added, Last Modified, all increasing.
void ResetSortKeys(SortKeyTable& table);

struct SortKey {
    int column;
    bool increasing;
};

// Texts without regard to letter case (Unicode case folding; other bytes by value).
int CompareTextNoCase(std::string_view a, std::string_view b);
// Negative, zero or positive as a sorts before, with or after b on one column; dates
// by value, so that a date never set sorts first.
int CompareOnColumn(const CAnnotatedLink& a, const CAnnotatedLink& b, int column);

// Puts the store's records in the order of the keys, the first key deciding first.
// Records that compare equal on every key keep their order, so sorting by one column
// and then by another orders by the second, then the first.
void SortLinks(LinkStore& store, const std::vector<SortKey>& keys);

// True when rows first to last are in the key's order among themselves and with the
// rows beside them.
bool RowsInOrder(const LinkStore& store, SortKey key, int first, int last);
