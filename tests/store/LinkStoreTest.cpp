#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <thread>

#include "search/RecordSearch.h"
#include "search/SearchIndex.h"
#include "store/LinkStore.h"
#include "store/NaturalCompare.h"

namespace {

// Records what the store tells its listener, as one line per call.
class RecordingListener : public StoreListener {
public:
    void AboutToInsert(int first, int count) override { Log("about-insert", first, count); }
    void Inserted(int first, int count) override { Log("insert", first, count); }
    void AboutToRemove(const std::vector<int>& rows) override { Log("about-remove", rows.front(), int(rows.size())); }
    void Removed(const std::vector<int>& rows) override { Log("remove", rows.front(), int(rows.size())); }
    void AboutToReorder() override { events.push_back("about-reorder"); }
    void Reordered(const std::vector<int>&) override { events.push_back("reorder"); }
    void AboutToReset() override { events.push_back("about-reset"); }
    void WasReset() override { events.push_back("reset"); }
    void TextsChanged() override { events.push_back("texts"); }
    void CategoriesChanged() override { ++categoryChanges; }
    void Log(const char* what, int a, int b) { events.push_back(std::string(what) + " " + std::to_string(a) + "," + std::to_string(b)); }
    std::vector<std::string> events;
    int categoryChanges = 0;
};

std::vector<std::string> Titles(const LinkStore& store)
{
    std::vector<std::string> titles;
    for (int i = 0; i < store.Count(); ++i) titles.emplace_back(store.At(i).Title());
    return titles;
}

void Add(LinkStore& store, int index, const std::string& title, const std::string& category = "")
{
    ASSERT_TRUE(store.InsertLink(index, title, "", "", category, {}, {}));
}

}  // namespace

TEST(NaturalCompare, OrdersDigitRunsByValueAndLettersWithoutCase)
{
    EXPECT_LT(NaturalCompare("Item 9", "Item 10"), 0);
    EXPECT_GT(NaturalCompare("Item 10", "Item 9"), 0);
    EXPECT_EQ(NaturalCompare("News", "news"), 0);
    EXPECT_LT(NaturalCompare("Art", "Arts"), 0);
    EXPECT_GT(NaturalCompare("Arts", "Art"), 0);
    EXPECT_EQ(NaturalCompare("", ""), 0);
    EXPECT_EQ(NaturalCompare("a007", "a7"), 0);  // equal values, runs skipped
    // Digit runs longer than any integer type still compare by value.
    EXPECT_LT(NaturalCompare("v99999999999999999999", "v100000000000000000000"), 0);
    // Bytes above 127 count as negative, so they sort before ASCII.
    EXPECT_LT(NaturalCompare("\xC3\xA9", "a"), 0);
}

TEST(LinkStore, InsertPlacesRowsAndTellsTheListener)
{
    LinkStore store;
    RecordingListener listener;
    store.SetListener(&listener);
    Add(store, 0, "b");
    Add(store, 0, "a");            // first
    Add(store, store.Count(), "c");  // appended
    EXPECT_EQ(Titles(store), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_FALSE(store.InsertLink(5, "x", "", "", "", {}, {}));
    EXPECT_FALSE(store.InsertLink(-1, "x", "", "", "", {}, {}));
    EXPECT_EQ(listener.events, (std::vector<std::string>{"about-insert 0,1", "insert 0,1", "about-insert 0,1",
                                                         "insert 0,1", "about-insert 2,1", "insert 2,1"}));
    EXPECT_FALSE(store.IsChanged());
    EXPECT_EQ(store.PressCount(), 0);
}

TEST(LinkStore, TakeReorderAndFreeKeepRecordsInStep)
{
    LinkStore store;
    RecordingListener listener;
    for (const char* t : {"r0", "r1", "r2", "r3", "r4"}) Add(store, store.Count(), t);
    store.SetListener(&listener);
    const CAnnotatedLink* kept = &store.At(3);

    auto taken = store.TakeRows({1, 2, 4});
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0]->Title(), "r1");
    EXPECT_EQ(taken[2]->Title(), "r4");
    EXPECT_EQ(Titles(store), (std::vector<std::string>{"r0", "r3"}));
    EXPECT_EQ(&store.At(1), kept);  // records are not copied when rows move

    EXPECT_TRUE(store.InsertRecords(store.Count(), taken));
    EXPECT_EQ(Titles(store), (std::vector<std::string>{"r0", "r3", "r1", "r2", "r4"}));

    store.Reorder({4, 3, 2, 1, 0});
    EXPECT_EQ(Titles(store), (std::vector<std::string>{"r4", "r2", "r1", "r3", "r0"}));

    store.FreeAllLinks();
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(listener.events, (std::vector<std::string>{"about-remove 1,3", "remove 1,3", "about-insert 2,3",
                                                         "insert 2,3", "about-reorder", "reorder", "about-reset",
                                                         "reset"}));
}

TEST(LinkStore, RecordsHandedInAsAListStayWholeAndInOrder)
{
    // An empty store takes a list with little room to spare as it is, and copies one with
    // much; a store with rows copies. Each grows on alike afterwards.
    for (const size_t spare : {size_t(0), size_t(5000)}) {
        for (const bool startEmpty : {true, false}) {
            LinkStore store;
            CSearchIndex index(store);
            RecordingListener listener;
            if (!startEmpty) Add(store, 0, "first");
            store.SetListener(&listener);
            std::vector<LinkStore::Record> records;
            records.reserve(40 + spare);
            for (int i = 0; i < 40; ++i) {
                records.push_back(std::make_unique<CAnnotatedLink>());
                records.back()->SetTitle("t" + std::to_string(i));
            }
            const CAnnotatedLink* third = records[2].get();
            ASSERT_TRUE(store.InsertRecords(store.Count(), records));
            EXPECT_TRUE(records.empty());
            const int base = startEmpty ? 0 : 1;
            EXPECT_EQ(&store.At(base + 2), third);
            Add(store, 0, "front");
            for (int i = 0; i < 100; ++i) Add(store, store.Count(), "tail");
            std::vector<std::string> titles = Titles(store);
            EXPECT_EQ(titles.size(), size_t(141 + base));
            EXPECT_EQ(titles[size_t(1 + base)], "t0");
            EXPECT_EQ(titles[size_t(40 + base)], "t39");
            EXPECT_EQ(listener.events.front(), "about-insert " + std::to_string(base) + ",40");
            SearchOptions options;
            const CRecordSearch search(options, "t39");
            std::vector<uint8_t> bits(size_t(store.Count()), 2);
            search.MatchAll(index, bits.data());
            for (size_t row = 0; row < bits.size(); ++row) EXPECT_EQ(bits[row], row == size_t(40 + base)) << row;
        }
    }
}

TEST(LinkStore, RecordsMadeAndFreedOnManyThreadsKeepTheirOwnPlaces)
{
    // Records come from shared slabs: threads that make and free them at once must never be
    // given the same place, nor lose what another wrote into its record. Each round makes
    // records and frees all but the first third of them.
    constexpr size_t kThreads = 4, kRecords = 30000, kKept = kRecords / 3;
    const auto title = [](size_t thread, size_t round, size_t i) {
        return std::to_string(thread) + ":" + std::to_string(round) + ":" + std::to_string(i);
    };
    std::vector<std::vector<std::unique_ptr<CAnnotatedLink>>> made(kThreads);
    std::vector<std::thread> threads;
    std::atomic<size_t> ready{0};
    for (size_t t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &made, &title, &ready] {
            auto& mine = made[t];
            mine.reserve(2 * kKept + kRecords);
            for (ready.fetch_add(1); ready.load() < kThreads;) std::this_thread::yield();
            for (size_t round = 0; round < 3; ++round) {
                const size_t first = mine.size();
                // Made in a tight loop, so that the threads ask for places at the same time.
                for (size_t i = 0; i < kRecords; ++i) mine.push_back(std::make_unique<CAnnotatedLink>());
                for (size_t i = 0; i < kRecords; ++i) mine[first + i]->SetTitle(title(t, round, i));
                if (round < 2) mine.erase(mine.begin() + ptrdiff_t(first + kKept), mine.end());  // freed
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    std::set<const CAnnotatedLink*> places;
    for (size_t t = 0; t < kThreads; ++t) {
        const auto& mine = made[t];
        ASSERT_EQ(mine.size(), 2 * kKept + kRecords);
        for (size_t k = 0; k < mine.size(); ++k) {
            places.insert(mine[k].get());
            const size_t round = k < 2 * kKept ? k / kKept : 2;
            ASSERT_EQ(mine[k]->Title(), title(t, round, k - round * kKept)) << k;
        }
    }
    EXPECT_EQ(places.size(), kThreads * (2 * kKept + kRecords));
}

TEST(LinkStore, CategoryListStaysSortedAndUnique)
{
    LinkStore store;
    store.InsertCategorySorted("Item 2");
    store.InsertCategorySorted("Item 30");
    store.InsertCategorySorted("Item 10");
    EXPECT_EQ(store.Categories(), (std::vector<std::string>{"Item 2", "Item 10", "Item 30"}));

    EXPECT_TRUE(store.AddCategoryIfNew("Web"));
    EXPECT_TRUE(store.HasCategory("web"));
    EXPECT_FALSE(store.AddCategoryIfNew("web"));
    EXPECT_FALSE(store.AddCategoryIfNew(""));
    // An equal name goes before the one it equals.
    EXPECT_EQ(SortedInsertIndex({"a", "b", "c"}, "B", NaturalCompare), 1);
    EXPECT_EQ(SortedInsertIndex({}, "x", NaturalCompare), 0);

    std::vector<std::string> list{"first"};
    EXPECT_TRUE(store.GetCategories(list));
    EXPECT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0], "first");

    store.SetChanged(false);
    store.SetCategories({"Zeta", "alpha", "Beta"});
    EXPECT_EQ(store.Categories(), (std::vector<std::string>{"alpha", "Beta", "Zeta"}));
    EXPECT_TRUE(store.IsChanged());

    LinkStore empty;
    std::vector<std::string> none;
    EXPECT_FALSE(empty.GetCategories(none));
}

TEST(LinkStore, RenameCategoriesMatchesExactlyAndKeepsDates)
{
    LinkStore store;
    RecordingListener listener;
    CLinkDate modified{0, 39814.5};
    ASSERT_TRUE(store.InsertLink(0, "a", "", "", "News", {}, modified));
    ASSERT_TRUE(store.InsertLink(1, "b", "", "", "news", {}, modified));
    store.SetListener(&listener);

    std::vector<std::pair<std::string, std::string>> none;
    store.RenameCategories(none);
    EXPECT_FALSE(store.IsChanged());

    std::vector<std::pair<std::string, std::string>> renames{{"news", "Press"}};
    store.RenameCategories(renames);
    EXPECT_TRUE(renames.empty());
    EXPECT_EQ(store.At(0).Category(), "News");
    EXPECT_EQ(store.At(1).Category(), "Press");
    EXPECT_EQ(store.At(1).Modified(), modified);
    EXPECT_TRUE(store.IsChanged());
    EXPECT_EQ(listener.events, std::vector<std::string>{"texts"});

    // The same name edited twice (kept, then changed): its last name wins.
    renames = {{"News", "News"}, {"News", "News 2"}};
    store.RenameCategories(renames);
    EXPECT_EQ(store.At(0).Category(), "News 2");
}

TEST(LinkStore, AddImportedLinkNeedsTitleOrLinkAndRunsTheRule)
{
    LinkStore store;
    int ruleRuns = 0;
    auto rule = [&] { ++ruleRuns; };
    CLinkDate now{0, 40000.25};

    EXPECT_FALSE(store.AddImportedLink("", "", "Cat", now, rule));
    EXPECT_EQ(store.Count(), 0);
    EXPECT_TRUE(store.Categories().empty());
    EXPECT_EQ(ruleRuns, 0);

    EXPECT_TRUE(store.AddImportedLink("", "http://x", "  Tools  ", now, rule));
    ASSERT_EQ(store.Count(), 1);
    EXPECT_EQ(store.At(0).Category(), "Tools");
    EXPECT_EQ(store.At(0).Added(), now);
    EXPECT_EQ(store.At(0).Modified(), now);
    EXPECT_EQ(store.Categories(), std::vector<std::string>{"Tools"});
    EXPECT_EQ(ruleRuns, 1);

    EXPECT_TRUE(store.AddImportedLink("T", "", "tools", now, rule));
    EXPECT_EQ(store.Categories(), std::vector<std::string>{"Tools"});
}

TEST(LinkStore, TheSearchedTextFollowsEveryChangeOfARecord)
{
    LinkStore store;
    CSearchIndex index(store);
    for (int i = 0; i < 6; ++i) Add(store, store.Count(), "alpha " + std::to_string(i));
    const auto find = [&store, &index](const char* word) {
        SearchOptions options;
        const CRecordSearch search(options, word);
        std::vector<uint8_t> bits(size_t(store.Count()), 2);  // a row left unwritten shows
        search.MatchAll(index, bits.data());
        std::vector<int> rows;
        for (size_t row = 0; row < bits.size(); ++row)
            if (bits[row]) rows.push_back(int(row));
        return rows;
    };
    EXPECT_TRUE(find("beta").empty());
    EXPECT_TRUE(find("").empty());
    // One record changed: only its row is looked at again, and found.
    store.Edit(4).SetTitle("beta four");
    EXPECT_EQ(find("beta"), std::vector<int>{4});
    // A record changed, then the rows move before the next search.
    store.Edit(1).SetTitle("beta one");
    Add(store, 0, "gamma");
    EXPECT_EQ(find("beta"), (std::vector<int>{2, 5}));
    store.Edit(1).SetDescription("ÜBER");
    store.Reorder({6, 5, 4, 3, 2, 1, 0});
    EXPECT_EQ(find("über"), std::vector<int>{5});
    store.Edit(0).SetTitle("beta zero");
    auto taken = store.TakeRows({6});
    EXPECT_EQ(find("beta"), (std::vector<int>{0, 1, 4}));
    // A record handed out but left as it was, or given its own text again, leaves earlier
    // results current; a change, seen by the hand-out or reported after, does not.
    const uint64_t generation = index.Ready().generation;
    (void)store.Edit(2);
    store.Edit(3).SetTitle(std::string(store.At(3).Title()));
    EXPECT_EQ(index.Ready().generation, generation);
    EXPECT_EQ(find("beta"), (std::vector<int>{0, 1, 4}));
    CAnnotatedLink& kept = store.Edit(2);
    EXPECT_EQ(index.Ready().generation, generation);
    kept.SetTitle("beta two");
    store.RecordsChanged({&kept});
    EXPECT_NE(index.Ready().generation, generation);
    EXPECT_EQ(find("beta"), (std::vector<int>{0, 1, 2, 4}));
    kept.SetTitle("alpha two");
    store.RecordsChanged({&kept});
    // More records changed than are remembered one by one.
    while (store.Count() < 5000) Add(store, store.Count(), "omega");
    EXPECT_TRUE(find("epsilon").empty());
    for (int i = 0; i < store.Count(); ++i) store.Edit(i).SetTitle("epsilon");
    EXPECT_EQ(find("epsilon").size(), size_t(store.Count()));
    // Texts with more than ASCII, changed round after round: their folded copies grow, move
    // and are packed, and each row still finds its own.
    for (int round = 0; round < 4; ++round) {
        const std::string word = "Ωmega" + std::to_string(round) + "Ž";
        for (int i = 0; i < store.Count(); i += 7) store.Edit(i).SetDescription(word + std::to_string(i) + "Ж");
        EXPECT_EQ(find(word.c_str()).size(), size_t((store.Count() + 6) / 7)) << round;
        EXPECT_EQ(find(("ωMEGA" + std::to_string(round) + "ž4998ж").c_str()), std::vector<int>{4998});
        EXPECT_EQ(find("epsilon").size(), size_t(store.Count()));
    }
    // Enough rows for the cores to share, in blocks that do not divide them: each row is
    // looked at, and answered for, once.
    while (store.Count() < 6 * 4096 + 5) Add(store, store.Count(), "omega");
    std::vector<int> zeta;
    for (int i = 3; i < store.Count(); i += 997) {
        store.Edit(i).SetTitle("zeta");
        zeta.push_back(i);
    }
    EXPECT_EQ(find("zeta"), zeta);
}

// The folded copy of a text grows into a new buffer and is packed into another in one look
// at a changed row; the packed one may be given the address of the buffer the look began
// with. The row must point into the packed one all the same, so memory freed on the way is
// written over here before the search reads it.
TEST(LinkStore, AFoldedTextMovedTwiceInOneLookIsStillFound)
{
    for (size_t extra = 0; extra < 24; ++extra) {
        LinkStore store;
        CSearchIndex index(store);
        Add(store, 0, "alpha");
        Add(store, 1, "Zürich Straßen guide" + std::string(extra, 'x'));
        (void)index.Ready();
        store.Edit(1).SetTitle("changed title Ωmega" + std::string(extra, 'y'));
        (void)index.Ready();
        std::vector<std::unique_ptr<std::string>> scribbles;
        for (size_t size = 16; size < 512; ++size) scribbles.push_back(std::make_unique<std::string>(size, '#'));
        const CSearchIndex::View view = index.Ready();
        EXPECT_EQ(view.Title(1), "changed title ωmega" + std::string(extra, 'y')) << extra;
    }
}

TEST(LinkStore, EveryChangeOfARecordsTextReachesTheSearch)
{
    // A category renamed under a search of 20 rows of one category: each row's text moves to
    // a new block, and the search must point at the new one (it read freed memory before).
    LinkStore store;
    CSearchIndex index(store);
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(store.InsertLink(i, "t" + std::to_string(i), "https://a.example/", "", i % 2 ? "Zürich" : "News", {}, {}));
    const uint64_t before = index.Ready().generation;
    std::vector<std::pair<std::string, std::string>> renames{{"News", "A much longer category name"}};
    store.RenameCategories(renames);
    const CSearchIndex::View after = index.Ready();
    EXPECT_NE(after.generation, before);
    const LinkStore& readOnly = store;
    for (size_t row = 0; row < after.count; row += 2) EXPECT_EQ(after.rows[row].block, readOnly.At(int(row)).Block()) << row;

    // A row handed out and changed only in its link or its category is a changed row too:
    // results that a Link or Category search narrows from are stale.
    for (auto text : {CAnnotatedLink::Text::Link, CAnnotatedLink::Text::Category}) {
        const uint64_t generation = index.Ready().generation;
        store.Edit(3).Set(text, "changed");
        EXPECT_NE(index.Ready().generation, generation) << int(text);
    }
    const uint64_t generation = index.Ready().generation;
    store.Edit(3).Set(CAnnotatedLink::Text::Link, "changed");  // handed out, left as it was
    EXPECT_EQ(index.Ready().generation, generation);
}
