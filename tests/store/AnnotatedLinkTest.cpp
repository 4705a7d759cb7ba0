#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "store/AnnotatedLink.h"

namespace {

using Text = CAnnotatedLink::Text;

void ExpectTexts(const CAnnotatedLink& r, const std::string (&texts)[4], const char* what)
{
    EXPECT_EQ(r.Title(), texts[0]) << what;
    EXPECT_EQ(r.Link(), texts[1]) << what;
    EXPECT_EQ(r.Description(), texts[2]) << what;
    EXPECT_EQ(r.Category(), texts[3]) << what;
}

}  // namespace

// A record's texts share one block: each reads back exactly, whatever its size (the sizes
// past 65,534 bytes take a wider form) and whatever its neighbours, through every way a
// record is set, copied and moved.
TEST(AnnotatedLink, EveryTextReadsBackExactlyThroughEveryChange)
{
    const std::string wide(70000, 'w');
    const std::string bytes("nul\0inside\xFF\xC3", 12);
    const std::string cases[][4] = {
        {"", "", "", ""},
        {"Title", "", "", ""},
        {"", "", "", "Category"},
        {"T", "https://example.com/", "line one\r\nline two", "Cat"},
        {wide, "l", "", "c"},
        {"t", "l", wide, wide + "x"},
        {bytes, bytes, bytes, bytes},
        {std::string(65534, 'a'), std::string(65535, 'b'), "", ""},
    };
    const CLinkDate odd{7, -1.5};  // a status the program never makes still goes back to the file as read
    for (const auto& texts : cases) {
        CAnnotatedLink r(texts[0], texts[1], texts[2], texts[3], odd, {CLinkDate::Null, 0});
        ExpectTexts(r, texts, "made");
        EXPECT_EQ(r.Added(), odd);
        EXPECT_EQ(r.Modified(), (CLinkDate{CLinkDate::Null, 0}));

        CAnnotatedLink copy(r);
        EXPECT_EQ(copy, r);
        auto moved = std::make_unique<CAnnotatedLink>(std::move(copy));
        ExpectTexts(*moved, texts, "moved");
        ExpectTexts(copy, {"", "", "", ""}, "moved from");

        // Each text set alone, then set back from a view of the record's own bytes.
        for (Text text : {Text::Title, Text::Description, Text::Link, Text::Category}) {
            CAnnotatedLink changed(r);
            changed.Set(text, "new");
            EXPECT_EQ(changed.Get(text), "new");
            EXPECT_NE(changed, r);
            changed.Set(text, r.Get(text));
            EXPECT_EQ(changed, r);
            const std::string whole(changed.Title());
            changed.Set(text, changed.Title().substr(changed.Title().size() / 2));
            EXPECT_EQ(changed.Get(text), std::string_view(whole).substr(whole.size() / 2));
        }
        // A text of the same size is written where it was, also from another text of the record.
        CAnnotatedLink same("abcdef", "ghijkl", texts[2], texts[3]);
        const char* const block = same.Block();
        same.SetLink(same.Title());
        same.SetTitle("ABCDEF");
        EXPECT_EQ(same.Block(), block);
        ExpectTexts(same, {"ABCDEF", "abcdef", texts[2], texts[3]}, "in place");

        CAnnotatedLink assigned;
        assigned = r;
        EXPECT_EQ(assigned, r);
        assigned = CAnnotatedLink("x", "y", "z", "w");
        ExpectTexts(assigned, {"x", "y", "z", "w"}, "assigned");
        assigned = CAnnotatedLink();
        EXPECT_EQ(assigned.Title(), "");
        EXPECT_NE(assigned.Block(), nullptr);  // the search reads an empty record's block too

        // A text kept apart, as an Undo step keeps one, reads back too.
        CPackedText kept(texts[2]);
        CPackedText taken(std::move(kept));
        EXPECT_EQ(taken.View(), texts[2]);
        EXPECT_EQ(kept.View(), "");
        kept = std::move(taken);
        EXPECT_EQ(kept.View(), texts[2]);
    }
}

// Blocks of many records made and freed in turn, in a pattern that empties some chunks of
// blocks and leaves one block alive in others: the records left read back their own texts.
TEST(AnnotatedLink, BlocksFreedInAnyOrderLeaveTheOthersWhole)
{
    std::vector<std::unique_ptr<CAnnotatedLink>> records;
    auto textOf = [](size_t i) { return std::string(100 + i % 900, char('a' + i % 26)) + std::to_string(i); };
    for (size_t i = 0; i < 20000; ++i)
        records.push_back(std::make_unique<CAnnotatedLink>(textOf(i), "l" + std::to_string(i), "", ""));
    for (size_t i = 0; i < records.size(); ++i)
        if (i % 1000 != 0) records[i].reset();
    for (size_t i = 0; i < 3000; ++i) records.push_back(std::make_unique<CAnnotatedLink>(textOf(i), "again", "", ""));
    for (size_t i = 0; i < records.size(); ++i) {
        if (!records[i]) continue;
        EXPECT_EQ(records[i]->Title(), textOf(i < 20000 ? i : i - 20000)) << i;
        records[i]->SetDescription(std::string(80000, 'd'));  // a block too large to pack
    }
    EXPECT_EQ(records.back()->Description().size(), 80000u);
}

TEST(AnnotatedLink, ATextOverTheFourGibibyteLimitIsRefusedAndTheRecordKeepsItsTexts)
{
    CAnnotatedLink record("T", "l", "d", "c", {0, 1}, {0, 2});
    // Its size alone is refused, so the view's bytes past the buffer are never read.
    const char small[16] = {};
    const std::string_view huge(small, size_t(UINT32_MAX) + 1);
    for (auto text : {CAnnotatedLink::Text::Title, CAnnotatedLink::Text::Category}) {
        EXPECT_THROW(record.Set(text, huge), std::bad_alloc);
        EXPECT_EQ(record.Title(), "T");
        EXPECT_EQ(record.Category(), "c");
    }
}
