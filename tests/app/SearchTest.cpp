#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/LinkListCtrl.h"
#include "common/SortedComboBox.h"
#include "tests/support/WindowHarness.h"

namespace {

// Ten rows; rows 3, 7 and 9 hold "needle" in their titles.
std::vector<std::string> TenRows()
{
    std::vector<std::string> titles;
    for (int i = 0; i < 10; ++i) titles.push_back(i == 3 || i == 7 || i == 9 ? "a needle " + std::to_string(i) : "hay " + std::to_string(i));
    return titles;
}

void TypeSearch(WindowHarness& h, const QString& text)
{
    QLineEdit* edit = h.Dlg().SearchBox()->lineEdit();
    edit->setFocus();
    QTest::keyClicks(edit, text);
}

void WaitUntilIdle(CLinksDlg& dlg)
{
    for (int i = 0; i < 2000 && dlg.IsSearchBusy(); ++i) QTest::qWait(2);
    ASSERT_FALSE(dlg.IsSearchBusy());
}

}  // namespace

TEST(Search, SelectsMatchesAndStepsThroughThem)
{
    WindowHarness h;
    h.WriteDataFile(TenRows());
    CLinksDlg& dlg = h.Open();
    TypeSearch(h, "NEEDLE");
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{3, 7, 9}));
    EXPECT_EQ(h.Label(1083), "3 Selected Links");
    EXPECT_EQ(dlg.List().States().Mark(), 3);
    EXPECT_EQ(dlg.TitleField()->text(), "a needle 3");
    EXPECT_FALSE(dlg.Button(1010)->isEnabled());
    EXPECT_TRUE(dlg.Button(1011)->isEnabled());

    h.ClickButton(1011);
    EXPECT_EQ(dlg.TitleField()->text(), "a needle 7");
    EXPECT_TRUE(dlg.Button(1010)->isEnabled());
    EXPECT_TRUE(dlg.Button(1011)->isEnabled());
    h.ClickButton(1011);
    EXPECT_EQ(dlg.TitleField()->text(), "a needle 9");
    EXPECT_TRUE(dlg.Button(1010)->isEnabled());
    EXPECT_FALSE(dlg.Button(1011)->isEnabled());
    h.ClickButton(1010);
    EXPECT_EQ(dlg.List().States().Mark(), 7);
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{3, 7, 9}));  // stepping keeps the selection
    // Previous and Next put the search text into the history.
    ASSERT_EQ(dlg.SearchBox()->count(), 1);
    EXPECT_EQ(dlg.SearchBox()->itemText(0), "NEEDLE");
}

TEST(Search, PositionOnLastStartsAtTheLastMatch)
{
    WindowHarness h;
    h.settings.WriteInt("Searching", "Position on Last", 1);
    h.WriteDataFile(TenRows());
    CLinksDlg& dlg = h.Open();
    TypeSearch(h, "needle");
    EXPECT_EQ(dlg.List().States().Mark(), 9);
    EXPECT_EQ(dlg.TitleField()->text(), "a needle 9");
    EXPECT_TRUE(dlg.Button(1010)->isEnabled());
    EXPECT_FALSE(dlg.Button(1011)->isEnabled());
}

TEST(Search, NoMatchOrNoFieldsClearsTheForm)
{
    WindowHarness h;
    h.WriteDataFile(TenRows());
    CLinksDlg& dlg = h.Open();
    TypeSearch(h, "needle");
    ASSERT_EQ(h.SelectedRows().size(), 3u);
    // Emptying the box matches nothing.
    // Ctrl+A in the box selects its text, which Backspace then takes away.
    QTest::keyClick(dlg.SearchBox()->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(dlg.SearchBox()->lineEdit()->selectedText(), "needle");
    QTest::keyClick(dlg.SearchBox()->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(dlg.SearchBox()->currentText(), "");
    EXPECT_TRUE(h.SelectedRows().empty());
    EXPECT_EQ(dlg.TitleField()->text(), "");
    EXPECT_EQ(h.Label(1083), "0 Selected Links");
    EXPECT_FALSE(dlg.Button(1011)->isEnabled());

    dlg.Settings().titleFields = dlg.Settings().descriptionFields = false;
    TypeSearch(h, "needle");
    EXPECT_TRUE(h.SelectedRows().empty());
    dlg.Settings().linkFields = true;
    dlg.SearchBox()->lineEdit()->clear();
    TypeSearch(h, "example.com/7");
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{7});
}

TEST(Search, TyposAndTheSearchedFields)
{
    WindowHarness h;
    h.settings.WriteInt("Searching", "Allow Typos", 1);
    h.WriteDataFile(TenRows(), 3);
    CLinksDlg& dlg = h.Open();
    TypeSearch(h, "neeldle");
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{3, 7, 9}));
    // With typos the last character may be anything: every "Cat" matches "cat2".
    dlg.SearchBox()->lineEdit()->clear();
    dlg.Settings().categoryFields = true;
    TypeSearch(h, "cat2");
    EXPECT_EQ(h.SelectedRows().size(), 10u);
    dlg.Settings().allowTypos = false;
    dlg.Searcher().RunSearch();
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{2, 5, 8}));
}

TEST(Search, SaveOnLeaveBeforeSearching)
{
    WindowHarness h;
    h.WriteDataFile(TenRows());
    CLinksDlg& dlg = h.Open();
    h.ClickRow(0);
    h.Type(dlg.TitleField(), " changed");
    TypeSearch(h, "needle");
    EXPECT_EQ(dlg.Store().At(0).Title(), "hay 0 changed");
}

TEST(Search, HistoryKeepsOneEntryPerTextInNaturalOrder)
{
    WindowHarness h;
    h.WriteDataFile(TenRows());
    CLinksDlg& dlg = h.Open();
    for (const char* text : {"Item 10", "  item 10 ", "Item 9", "ITEM 9"}) {
        dlg.SearchBox()->setEditText(text);
        dlg.AddSearchHistory();
    }
    ASSERT_EQ(dlg.SearchBox()->count(), 2);
    EXPECT_EQ(dlg.SearchBox()->itemText(0), "Item 9");
    EXPECT_EQ(dlg.SearchBox()->itemText(1), "Item 10");

    // Choosing an entry searches for it.
    dlg.SearchBox()->setEditText("needle 7");
    dlg.AddSearchHistory();
    int index = dlg.SearchBox()->findText("needle 7");
    emit dlg.SearchBox()->activated(index);
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{7});

    // Typing is not completed from the history: "nee" searches for "nee".
    dlg.SearchBox()->lineEdit()->clear();
    TypeSearch(h, "nee");
    EXPECT_EQ(dlg.SearchBox()->currentText(), "nee");

    // Opening the drop-down adds the current text.
    dlg.SearchBox()->setEditText("dropped");
    dlg.SearchBox()->showPopup();
    dlg.SearchBox()->hidePopup();
    EXPECT_GE(dlg.SearchBox()->findText("dropped"), 0);

    // Loading another file empties the history.
    dlg.ResetStore();
    EXPECT_EQ(dlg.SearchBox()->count(), 0);
}

TEST(Search, InterruptibleSearchEndsLikeTheDirectOne)
{
    WindowHarness h;
    h.settings.WriteInt("Searching", "Interruptible Searching", 1);
    h.WriteGeneratedFile(30000);
    CLinksDlg& dlg = h.Open();
    TypeSearch(h, "quasar");
    WaitUntilIdle(dlg);
    const std::vector<int> background = h.SelectedRows();
    const int mark = dlg.List().States().Mark();
    EXPECT_EQ(background.size(), 300u);
    EXPECT_GE(dlg.Searcher().SearchJobCount(), 1u);

    dlg.Settings().interruptibleSearching = false;
    dlg.List().States().ClearSelection();
    dlg.Searcher().RunSearch();
    EXPECT_EQ(h.SelectedRows(), background);
    EXPECT_EQ(dlg.List().States().Mark(), mark);
    EXPECT_EQ(dlg.TitleField()->text().toStdString(), dlg.Store().At(mark).Title());

    // Later keystrokes reuse the pool's jobs.
    dlg.Settings().interruptibleSearching = true;
    const size_t jobs = dlg.Searcher().SearchJobCount();
    for (int round = 0; round < 3; ++round) {
        dlg.SearchBox()->lineEdit()->clear();
        TypeSearch(h, "nebula");
        WaitUntilIdle(dlg);
    }
    EXPECT_LE(dlg.Searcher().SearchJobCount(), jobs + 6);
    EXPECT_EQ(h.SelectedRows().size(), 15000u);
}

TEST(Search, EscBringsBackTheLinkShownBeforeTheSearch)
{
    for (const bool interruptible : {false, true}) {
        WindowHarness h;
        h.settings.WriteInt("Searching", "Interruptible Searching", interruptible ? 1 : 0);
        h.WriteDataFile({"alpha", "beta", "gamma", "alphabet"});
        CLinksDlg& dlg = h.Open();
        h.ClickRow(2);
        TypeSearch(h, "alpha");
        WaitUntilIdle(dlg);
        EXPECT_EQ(h.SelectedRows(), (std::vector<int>{0, 3}));
        PressKey(dlg, Qt::Key_Escape, Qt::NoModifier);
        WaitUntilIdle(dlg);
        EXPECT_EQ(dlg.SearchBox()->currentText(), "");
        EXPECT_EQ(h.SelectedRows(), std::vector<int>{2}) << interruptible;
        EXPECT_EQ(dlg.TitleField()->text(), "gamma");
        EXPECT_EQ(h.Label(1083), "1 Selected Link");
    }
}

TEST(Search, CommandsWaitWhileABackgroundSearchRuns)
{
    WindowHarness h;
    h.settings.WriteInt("Searching", "Interruptible Searching", 1);
    h.settings.WriteInt("Misc", "Confirm Delete", 0);
    h.WriteGeneratedFile(20000);
    CLinksDlg& dlg = h.Open();
    h.ClickRow(1);
    dlg.OnDelete();
    h.ClickRow(0);
    dlg.TitleField()->setText("typed");
    // The results come back as queued calls, so until events run the search is busy.
    QTest::keyClick(dlg.SearchBox()->lineEdit(), Qt::Key_Q);
    ASSERT_TRUE(dlg.IsSearchBusy());
    for (int button : {1026, 1014, 1053, 1007, 1005, 1011}) dlg.Button(button)->click();
    dlg.RetrieveLink(true);
    emit dlg.SearchBox()->activated(0);
    for (int command : {CLinksDlg::CmdUndo, CLinksDlg::CmdSelectAll, CLinksDlg::CmdInvert, CLinksDlg::CmdWordWrap,
                        CLinksDlg::CmdTitleCase})
        dlg.SystemCommand(command);
    EXPECT_EQ(dlg.Store().Count(), 19999);
    EXPECT_EQ(dlg.TitleField()->text(), "typed");
    EXPECT_TRUE(h.prompter.Messages().empty());
    EXPECT_TRUE(h.shell.Opened().empty());
    WaitUntilIdle(dlg);
    EXPECT_GT(h.SelectedRows().size(), 0u);
}

TEST(Search, CaseDoesNotMatterForAnyLetterAndTypingOnStaysExact)
{
    WindowHarness h;
    h.WriteRecords({{"Zürich guide", "https://z.example/", "ALTSTADT UND SEE", "", {0, 1}, {0, 1}},
                    {"ΣΟΦΙΑ", "https://s.example/", "Η ΑΓΙΑ ΣΟΦΙΑ", "", {0, 1}, {0, 1}},
                    {"Москва", "https://m.example/", "КРАСНАЯ ПЛОЩАДЬ", "", {0, 1}, {0, 1}},
                    {"Łódź", "https://l.example/", "", "", {0, 1}, {0, 1}},
                    {"İstanbul", "https://i.example/", "", "", {0, 1}, {0, 1}}});
    CLinksDlg& dlg = h.Open();
    const struct {
        const char* pattern;
        std::vector<int> rows;
    } cases[] = {
        {"ZÜRICH", {0}}, {"zürich", {0}}, {"see", {0}},            // Latin
        {"σοφια", {1}},  {"ΑΓΊΑ", {}},    {"αγια σοφια", {1}},      // Greek (accents stay letters of their own)
        {"МОСКВА", {2}}, {"площадь", {2}},                          // Cyrillic
        {"ŁÓDŹ", {3}},                                               // Polish
        {"istanbul", {}}, {"İSTANBUL", {4}},                        // a dotted capital I is not an i
    };
    for (const auto& c : cases) {
        dlg.SearchBox()->setEditText(QString::fromUtf8(c.pattern));
        dlg.Searcher().OnSearchEdited();
        EXPECT_EQ(h.SelectedRows(), c.rows) << c.pattern;
    }
    // Typing a word on, key by key, finds what a search for the whole word finds, also
    // after a record changed between two keys.
    dlg.Settings().allowTypos = true;
    dlg.SearchBox()->setEditText("");
    const QString word = "GUDIE";
    for (int n = 1; n <= word.size(); ++n) {
        if (n == 4) dlg.Store().Edit(2).SetTitle("Москва guide");
        dlg.SearchBox()->setEditText(word.left(n));
        dlg.Searcher().OnSearchEdited();
    }
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{0, 2}));
    // Undo of a Modify changes the record back in place: a search then finds its text as
    // it is, not as it was.
    dlg.Settings().allowTypos = false;
    h.ClickRow(3);
    dlg.TitleField()->setText("Poznań");
    h.ClickButton(1053);
    h.ClickRow(0);  // the form shows another record when Undo changes this one
    for (const char* key : {"ł", "łó", "p", "po"}) {
        if (std::string(key) == "p") dlg.UndoCommands().Step(false);
        dlg.SearchBox()->setEditText(QString::fromUtf8(key));
        dlg.Searcher().OnSearchEdited();
        EXPECT_TRUE(h.SelectedRows().empty()) << key;
    }
    dlg.SearchBox()->setEditText(QString::fromUtf8("łó"));
    dlg.Searcher().OnSearchEdited();
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{3});

    // The Category list and Statistics count any letter's case alike.
    dlg.Store().InsertCategorySorted("łódź");
    EXPECT_TRUE(dlg.Store().HasCategory("ŁÓDŹ"));
    EXPECT_FALSE(dlg.Store().AddCategoryIfNew("ŁÓDŹ"));
}

// Previous and Next follow the selection that Delete and Undo leave: never enabled with
// nothing to go to.
TEST(Search, StepsFollowDeleteAndUndo)
{
    WindowHarness h;
    h.WriteDataFile(TenRows());
    CLinksDlg& dlg = h.Open();
    dlg.UndoCommands().SetPreview(false);
    TypeSearch(h, "NEEDLE");
    ASSERT_TRUE(dlg.Button(1011)->isEnabled());
    h.prompter.Script({Prompter::Answer::Yes});
    dlg.SystemCommand(CLinksDlg::CmdSelectAll);
    h.ClickButton(1014);
    ASSERT_EQ(dlg.Store().Count(), 0);
    EXPECT_FALSE(dlg.Button(1010)->isEnabled());
    EXPECT_FALSE(dlg.Button(1011)->isEnabled());
    dlg.UndoCommands().Step(false);
    ASSERT_EQ(dlg.Store().Count(), 10);
    const bool below = dlg.List().States().SelectedBelow(dlg.List().States().Mark()) >= 0;
    EXPECT_EQ(dlg.Button(1011)->isEnabled(), below);
    EXPECT_FALSE(dlg.Button(1010)->isEnabled() && dlg.List().States().SelectedCount() == 0);
}
