#include <gtest/gtest.h>

#include <cctype>
#include <utility>

#include "tests/support/FakePrompter.h"
#include "search/SearchIndex.h"
#include "session/LinkEditor.h"
#include "store/LinkDate.h"
#include "tests/support/FakeServices.h"
#include "tests/support/NoRoom.h"
#include "undo/UndoManager.h"

namespace {

// The list side of undo over a plain store, recording the captions and what was shown.
class FakeUndoHost : public UndoHost {
public:
    void RestoreDeletedLinks(std::vector<LinkStore::Record>& records) override
    {
        if (failRestore) return;
        EXPECT_TRUE(store.InsertRecords(store.Count(), records));
    }
    std::vector<LinkStore::Record> RemoveLinkRows(const std::unordered_set<const CAnnotatedLink*>& records) override
    {
        std::vector<int> rows;
        for (int row = 0; row < store.Count(); ++row)
            if (records.count(&store.At(row))) rows.push_back(row);
        return store.TakeRows(rows);
    }
    void ShowLink(const CAnnotatedLink& record) override { shown.emplace_back(record.Title()); }
    void RecordsChanged(const std::vector<const CAnnotatedLink*>& records) override { store.RecordsChanged(records); }
    void SetUndoCaption(const std::string& caption, bool enabled) override { undo = caption + (enabled ? "" : " (grayed)"); }
    void SetRedoCaption(const std::string& caption, bool enabled) override { redo = caption + (enabled ? "" : " (grayed)"); }

    std::vector<std::string> Titles() const
    {
        std::vector<std::string> titles;
        for (int i = 0; i < store.Count(); ++i) titles.emplace_back(store.At(i).Title());
        return titles;
    }

    LinkStore store;
    std::string undo, redo;
    std::vector<std::string> shown;
    bool failRestore = false;
};

struct Fixture {
    explicit Fixture(int rows)
    {
        for (int i = 0; i < rows; ++i)
            EXPECT_TRUE(host.store.InsertLink(i, "r" + std::to_string(i), "l", "", "", {0, double(i)}, {0, double(i)}));
    }
    FakeUndoHost host;
    FakePrompter prompter;
    CUndoManager undo{host, prompter};
};

}  // namespace

TEST(Undo, DeletedRowsComeBackLastInDeletionOrderAndGoAgainOnRedo)
{
    Fixture f(10);
    f.undo.PushDelete(f.host.store.TakeRows({2, 5}));
    EXPECT_EQ(f.host.undo, "&Undo Delete\tCtrl+Z");
    EXPECT_EQ(f.host.redo, "Re&do\tCtrl+Y (grayed)");
    const PreviewRecords affected = f.undo.HeadRecords(CUndoManager::Side::Undo);
    ASSERT_EQ(affected.records.size(), 2u);
    EXPECT_EQ(affected.records[0]->Title(), "r2");

    f.undo.Undo(nullptr);
    EXPECT_EQ(f.host.Titles(), (std::vector<std::string>{"r0", "r1", "r3", "r4", "r6", "r7", "r8", "r9", "r2", "r5"}));
    EXPECT_EQ(f.host.undo, "&Undo\tCtrl+Z (grayed)");
    EXPECT_EQ(f.host.redo, "Re&do Delete\tCtrl+Y");
    f.undo.Redo(nullptr);
    EXPECT_EQ(f.host.store.Count(), 8);
    EXPECT_EQ(f.host.undo, "&Undo Delete\tCtrl+Z");
    f.undo.Undo(nullptr);
    f.undo.Redo(nullptr);

    // Every row deleted, then back; an empty side does nothing.
    f.undo.Undo(nullptr);
    std::vector<int> all(10);
    for (int i = 0; i < 10; ++i) all[size_t(i)] = i;
    f.undo.PushDelete(f.host.store.TakeRows(all));
    EXPECT_TRUE(f.undo.IsEmpty(CUndoManager::Side::Redo));
    f.undo.Redo(nullptr);
    EXPECT_EQ(f.host.store.Count(), 0);
    f.undo.Undo(nullptr);
    EXPECT_EQ(f.host.store.Count(), 10);
    f.undo.Undo(nullptr);
    EXPECT_EQ(f.host.store.Count(), 10);
    EXPECT_TRUE(f.undo.IsEmpty(CUndoManager::Side::Undo));
    f.undo.PushDelete({});
    EXPECT_TRUE(f.undo.IsEmpty(CUndoManager::Side::Undo));
}

TEST(Undo, ModifyAlternatesBothVersionsAndANewChangeEmptiesRedo)
{
    Fixture f(3);
    CAnnotatedLink& record = f.host.store.Edit(1);
    f.undo.PushModify(record);
    record.SetTitle("changed");
    record.SetModified({0, 99});
    EXPECT_EQ(f.undo.HeadRecords(CUndoManager::Side::Undo).records[0]->Title(), "r1");

    f.undo.Undo(&record);
    EXPECT_EQ(record.Title(), "r1");
    EXPECT_EQ(record.Modified(), (CLinkDate{0, 1}));
    EXPECT_EQ(record.Added(), (CLinkDate{0, 1}));
    EXPECT_EQ(f.host.shown, std::vector<std::string>{"r1"});
    EXPECT_EQ(f.host.redo, "Re&do Modify\tCtrl+Y");
    EXPECT_EQ(f.host.undo, "&Undo\tCtrl+Z (grayed)");
    f.undo.Redo(nullptr);  // another record is shown: the form is left alone
    EXPECT_EQ(record.Title(), "changed");
    EXPECT_EQ(record.Modified(), (CLinkDate{0, 99}));
    EXPECT_EQ(f.host.shown.size(), 1u);

    f.undo.Undo(nullptr);
    f.undo.PushDelete(f.host.store.TakeRows({0}));
    EXPECT_TRUE(f.undo.IsEmpty(CUndoManager::Side::Redo));
    EXPECT_EQ(f.host.redo, "Re&do\tCtrl+Y (grayed)");
}

// Title Case (titles) and Word Wrap (descriptions) over several rows: the step keeps only
// the texts that changed, and shows whole records in the preview.
TEST(Undo, AChangeOfOneTextOfManyRecordsKeepsOnlyWhatChanged)
{
    for (CTextAction::Text text : {CAnnotatedLink::Text::Title, CAnnotatedLink::Text::Description}) {
        Fixture f(5);
        LinkStore& store = f.host.store;
        // Longer than a string keeps in itself, so that a stale search entry would show.
        auto before = [](int row) { return "text of the row number " + std::to_string(row); };
        auto after = [](int row) { return "Text of the row number " + std::to_string(row); };
        for (int i = 0; i < 5; ++i) store.Edit(i).Set(text, before(i));
        std::vector<CAnnotatedLink*> records;
        for (int i = 0; i < 4; ++i) records.push_back(&store.Edit(i));
        // Rows 0 and 2 change; 1 and 3 stay as they were.
        auto upperEven = [](std::string& value) {
            if ((value.back() - '0') % 2 == 0) value[0] = char(std::toupper(value[0]));
        };
        f.undo.ChangeTexts(text, records, upperEven);
        auto value = [&](int row) { return std::string(std::as_const(store).At(row).Get(text)); };
        EXPECT_EQ(value(0), after(0));
        EXPECT_EQ(value(1), before(1));
        EXPECT_EQ(value(2), after(2));
        // Named by the command, not as a Modify.
        const std::string name = text == CAnnotatedLink::Text::Title ? "Title Case" : "Word Wrap";
        EXPECT_EQ(f.host.undo, "&Undo " + name + "\tCtrl+Z");
        const PreviewRecords preview = f.undo.HeadRecords(CUndoManager::Side::Undo);
        ASSERT_EQ(preview.records.size(), 2u);
        EXPECT_EQ(preview.records[1]->Get(text), before(2));
        EXPECT_EQ(preview.records[1]->Link(), "l");
        EXPECT_EQ(preview.records[1]->Added(), (CLinkDate{0, 2}));

        CSearchIndex index(store);
        (void)index.Ready();
        f.undo.Undo(&store.At(2));
        EXPECT_EQ(value(0), before(0));
        EXPECT_EQ(value(2), before(2));
        EXPECT_EQ(f.host.shown, std::vector<std::string>{std::string(std::as_const(store).At(2).Title())});
        // The search reads the text as it is now.
        const CSearchIndex::View search = index.Ready();
        EXPECT_EQ(text == CAnnotatedLink::Text::Title ? search.Title(0) : search.Description(0), before(0));
        f.undo.Redo(nullptr);
        EXPECT_EQ(value(2), after(2));
        EXPECT_EQ(f.undo.HeadRecords(CUndoManager::Side::Undo).records[0]->Get(text), before(0));

        // A change that changes nothing is no step, and leaves Redo as it was.
        f.undo.Undo(nullptr);
        f.undo.ChangeTexts(text, records, [](std::string&) {});
        EXPECT_EQ(f.host.redo, "Re&do " + name + "\tCtrl+Y");
        EXPECT_EQ(f.host.undo, "&Undo\tCtrl+Z (grayed)");
    }
}

TEST(Undo, RecordsStayValidThroughDeleteOfAModifiedRecordAndAreFreedOnce)
{
    Fixture f(4);
    CAnnotatedLink* record = &f.host.store.Edit(2);
    f.undo.PushModify(*record);
    record->SetTitle("edited");
    f.undo.PushDelete(f.host.store.TakeRows({2}));
    f.undo.Undo(nullptr);  // the record is back, the same object
    EXPECT_EQ(&f.host.store.At(3), record);
    f.undo.Undo(nullptr);  // and gets its old content
    EXPECT_EQ(record->Title(), "r2");
    f.undo.Redo(nullptr);
    f.undo.Redo(nullptr);
    EXPECT_EQ(f.host.store.Count(), 3);
    EXPECT_EQ(f.undo.HeadRecords(CUndoManager::Side::Undo).records[0]->Title(), "edited");

    // A restore that finds no room keeps the records in the action; Redo removes only
    // the rows that came back and frees nothing twice.
    f.host.failRestore = true;
    f.undo.Undo(nullptr);
    EXPECT_EQ(f.host.store.Count(), 3);
    f.host.failRestore = false;
    f.undo.Redo(nullptr);
    f.undo.Undo(nullptr);
    EXPECT_EQ(f.host.store.Count(), 4);

    // Emptying the history (the store was emptied) frees what only it held.
    f.undo.PushDelete(f.host.store.TakeRows({0, 1}));
    f.undo.Clear();
    EXPECT_TRUE(f.undo.IsEmpty(CUndoManager::Side::Undo));
    EXPECT_EQ(f.host.undo, "&Undo\tCtrl+Z (grayed)");
    EXPECT_TRUE(f.prompter.Messages().empty());
}

TEST(LinkEditor, EachChangeIsOneStepThatUndoTakesBackAndNoMemoryChangesNothing)
{
    Fixture f(3);
    LinkStore& store = f.host.store;
    FixedClock clock(LocalTime{2020, 5, 6, 7, 8, 9});
    CLinkEditor editor(store, f.undo, clock);
    CSearchIndex index(store);

    EXPECT_EQ(editor.StoreLink(1, {"one", "l1", "d1"}, "Cat"), 1);
    EXPECT_EQ(std::as_const(store).At(1).Modified(), NowDate(clock));
    EXPECT_EQ(index.Ready().Title(1), "one");  // the search sees the change
    // The move rules apply, and the description and category are stored trimmed.
    EXPECT_EQ(editor.StoreLink(-1, {"", "", "  new\r\nmore  "}, " Fresh ", {true, false}), 3);
    EXPECT_EQ(std::as_const(store).At(3).Title(), "new");
    EXPECT_EQ(std::as_const(store).At(3).Description(), "more");
    EXPECT_EQ(std::as_const(store).At(3).Category(), "Fresh");
    EXPECT_TRUE(store.HasCategory("Fresh"));
    editor.DeleteRows({0, 2});
    EXPECT_EQ(f.host.Titles(), (std::vector<std::string>{"one", "new"}));
    f.undo.Undo(nullptr);  // the deleted rows come back at the end
    f.undo.Undo(nullptr);
    EXPECT_EQ(f.host.Titles(), (std::vector<std::string>{"r1", "new", "r0", "r2"}));

    std::vector<LinkStore::Record> records;
    records.push_back(std::make_unique<CAnnotatedLink>("a", "la", "", "", CLinkDate{}, CLinkDate{}));
    NoRoom full;
    store.AddFollower(&full);
    store.SetChanged(false);
    EXPECT_EQ(editor.StoreLink(-1, {"lost?", "l", ""}, "Never"), -1);
    EXPECT_FALSE(store.HasCategory("Never"));  // a link not stored leaves no category behind
    EXPECT_FALSE(editor.AppendRecords(records, "Import"));
    EXPECT_EQ(records.size(), 1u);  // still the caller's
    EXPECT_EQ(store.Count(), 4);
    EXPECT_FALSE(store.IsChanged());
    store.RemoveFollower(&full);
    EXPECT_TRUE(editor.AppendRecords(records, "Import"));
    EXPECT_EQ(f.host.undo, "&Undo Import\tCtrl+Z");
    f.undo.Undo(nullptr);
    EXPECT_EQ(store.Count(), 4);
}
