#include <gtest/gtest.h>

#include <random>

#include "sort/SortKeys.h"
#include "stats/CategoryStats.h"

namespace {
void Add(LinkStore& store, const std::string& title, const std::string& category, double added, double modified = 1)
{
    EXPECT_TRUE(store.InsertLink(store.Count(), title, "l", "", category, {0, added}, {0, modified}));
}
std::vector<std::string> Titles(const LinkStore& store)
{
    std::vector<std::string> titles;
    for (int i = 0; i < store.Count(); ++i) titles.emplace_back(store.At(i).Title());
    return titles;
}
}  // namespace

TEST(Sorting, ComparesTextWithoutCaseAndDatesByValue)
{
    const struct {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"apple", "Apple", 0}, {"apple", "Banana", -1}, {"Art", "Arts", -1}, {"", "a", -1},
        {"Zulu", "zebra", 1}, {"Zebra", "apple", 1}, {"AZ", "az", 0},  // every capital folds, Z too
        {"\xC3\xA9lan", "\xC3\x89LAN", 0},  // élan, ÉLAN
        {"z", "\xC3\xA9", -1},               // ASCII before other characters
        {"caf\xE9", "caf\xE9", 0},           // bytes that are not UTF-8 compare by value
        {"a_b", "a[b", 1},                   // punctuation by its value: '_' after '['
    };
    for (const auto& c : cases) {
        const int r = CompareTextNoCase(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " / " << c.b;
        EXPECT_EQ((CompareTextNoCase(c.b, c.a) > 0) - (CompareTextNoCase(c.b, c.a) < 0), -c.sign);
    }
    CAnnotatedLink never{}, old{}, recent{};
    old.SetAdded({0, 39814.0});
    recent.SetAdded({0, 45000.5});
    EXPECT_LT(CompareOnColumn(never, old, SortAdded), 0);
    EXPECT_GT(CompareOnColumn(recent, old, SortAdded), 0);
    EXPECT_EQ(CompareOnColumn(old, old, SortModified), 0);
}

TEST(Sorting, FoldedKeysOrderExactlyAsTheComparisonDoes)
{
    // Long shared beginnings, every kind of letter case, bytes that are not UTF-8: the
    // order of a sort is the order of CompareTextNoCase, and equal texts keep their order.
    std::mt19937 random(7);
    const std::vector<std::string> pieces = {"a", "A", "z", "Z", "\xC3\xA9", "\xC3\x89", "\xCE\xA3", "\xCF\x82",
                                             "\xE9", "\xFF", "0", " ", "\xE2\x84\xAA", "k", "long shared beginning "};
    LinkStore store;
    for (int i = 0; i < 3000; ++i) {
        std::string title;
        const int n = int(random() % 8);
        for (int j = 0; j < n; ++j) title += pieces[random() % pieces.size()];
        Add(store, title, pieces[random() % 4], double(i));
    }
    SortLinks(store, {{SortTitle, true}, {SortCategory, false}});
    for (int i = 1; i < store.Count(); ++i) {
        const CAnnotatedLink& a = store.At(i - 1);
        const CAnnotatedLink& b = store.At(i);
        const int title = CompareTextNoCase(a.Title(), b.Title());
        ASSERT_LE(title, 0) << i;
        if (title != 0) continue;
        const int category = CompareTextNoCase(a.Category(), b.Category());
        ASSERT_GE(category, 0) << i;
        if (category == 0) {
            ASSERT_LT(a.Added().value, b.Added().value) << i;
        }
    }
}

TEST(Sorting, IsStableSoThatSuccessiveSortsNest)
{
    LinkStore store;
    Add(store, "b", "Work", 3);
    Add(store, "A", "home", 2);
    Add(store, "a", "Work", 1);
    Add(store, "c", "Home", 4);
    SortLinks(store, {{SortTitle, true}});
    EXPECT_EQ(Titles(store), (std::vector<std::string>{"A", "a", "b", "c"}));  // equal titles keep their order
    SortLinks(store, {{SortCategory, true}});
    EXPECT_EQ(Titles(store), (std::vector<std::string>{"A", "c", "a", "b"}));  // titles in order within each category
    SortLinks(store, {{SortAdded, false}, {SortTitle, true}});
    EXPECT_EQ(Titles(store), (std::vector<std::string>{"c", "b", "A", "a"}));
    SortLinks(store, {{SortTitle, false}});
    EXPECT_EQ(Titles(store), (std::vector<std::string>{"c", "b", "A", "a"}));

    // Default keys: equal titles by Category, then Description, Added, Last Modified.
    LinkStore same;
    Add(same, "t", "b", 5);
    Add(same, "t", "a", 9);
    Add(same, "t", "a", 7);
    SortKeyTable table;
    table.increasing[0] = false;
    ResetSortKeys(table);
    std::vector<SortKey> keys;
    for (int i = 0; i < kSortKeys; ++i) keys.push_back({table.order[i], table.increasing[i]});
    SortLinks(same, keys);
    EXPECT_EQ(same.At(0).Added().value, 7);
    EXPECT_EQ(same.At(1).Added().value, 9);
    EXPECT_EQ(same.At(2).Category(), "b");

    LinkStore empty;
    SortLinks(empty, keys);
    EXPECT_EQ(empty.Count(), 0);
}

TEST(Statistics, CountsPerCategoryExactly)
{
    LinkStore store;
    EXPECT_EQ(CountCategories(store, 0).size(), 3u);
    for (const auto& row : CountCategories(store, 0)) EXPECT_EQ(row.count, 0);

    store.InsertCategorySorted("work");
    store.InsertCategorySorted("Home");
    store.InsertCategorySorted(std::string(10000, 'x'));
    Add(store, "1", "Work", 1);  // not 'work': letter case counts
    Add(store, "2", "work", 1);
    Add(store, "3", "", 1);
    Add(store, "4", "Elsewhere", 1);
    Add(store, "5", "Home", 1);
    Add(store, "6", std::string(10000, 'x'), 1);
    const auto rows = CountCategories(store, 2);
    std::vector<std::pair<std::string, int>> got;
    for (const auto& row : rows) got.emplace_back(row.name.size() > 20 ? "long" : row.name, row.count);
    EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{
                       {"TOTAL", 6}, {"SELECTED", 2}, {"NO CATEGORY", 3}, {"Home", 1}, {"work", 1}, {"long", 1}}));
}
