#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "app/LinkListCtrl.h"
#include "common/SortedComboBox.h"
#include "tests/support/WindowHarness.h"

namespace {
void RightClickRow(CLinksDlg& dlg, int row)
{
    CLinkListCtrl& list = dlg.List();
    QTest::mouseClick(list.viewport(), Qt::RightButton, Qt::NoModifier,
                      list.visualRect(list.Model().index(row, 0)).center());
}

bool HasFocus(QWidget* widget) { return widget->hasFocus(); }

bool FullyVisible(CLinkListCtrl& list, int row)
{
    return list.viewport()->rect().contains(list.visualRect(list.Model().index(row, 0)));
}
}  // namespace

TEST(FormAndList, TheFormStoresIntoTheRecordItShows)
{
    WindowHarness h;
    const std::string longTitle = "T" + std::string(40000, 'x') + "end";
    h.WriteDataFile({"r0", "r1", "r2", "r3", longTitle});
    CLinksDlg& dlg = h.Open();

    // A right-click selects for the count only; Modify still stores into the shown record.
    h.ClickRow(0);
    RightClickRow(dlg, 2);
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(dlg.TitleField()->text(), "r0");
    h.Type(dlg.TitleField(), " modified");
    h.ClickButton(1053);
    EXPECT_EQ(dlg.Store().At(0).Title(), "r0 modified");
    EXPECT_EQ(dlg.Store().At(2).Title(), "r2");

    // An Alt chord begun in the list leaves the next keys in it alone.
    h.ClickRow(1);
    h.KeyInList(Qt::Key_Alt);
    QTest::keyClick(&dlg.List(), Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(HasFocus(dlg.SearchBox()));
    h.Type(dlg.SearchBox(), "zzz");
    h.ClickRow(3);
    h.prompter.Clear();
    QTest::keyClick(&dlg.List(), Qt::Key_Delete);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Delete 1 item?"});
    EXPECT_EQ(dlg.Store().Count(), 4);
    h.ClickRow(0);
    h.KeyInList(Qt::Key_Down);
    QTest::qWait(80);  // the retrieval timer
    EXPECT_EQ(dlg.TitleField()->text(), "r1");

    // Fields of any length, shown from their beginning and stored whole.
    h.ClickRow(3);
    EXPECT_EQ(dlg.TitleField()->text().size(), qsizetype(longTitle.size()));
    EXPECT_EQ(dlg.TitleField()->cursorPosition(), 0);
    EXPECT_EQ(dlg.LinkField()->cursorPosition(), 0);
    h.Type(dlg.LinkField(), "/more");
    h.ClickButton(1053);
    EXPECT_EQ(dlg.Store().At(3).Title(), longTitle);
}

TEST(FormAndList, PreviousAndNextNeverHandTheFocusToTheForm)
{
    WindowHarness h;
    h.WriteDataFile({"match 0", "other", "match 1", "match 2"});
    CLinksDlg& dlg = h.Open();
    h.Type(dlg.SearchBox(), "match");
    QPushButton* previous = dlg.Button(1010);
    QPushButton* next = dlg.Button(1011);
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Space);
    QTest::keyClick(next, Qt::Key_Space);
    EXPECT_FALSE(next->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), previous);
    QTest::keyClick(previous, Qt::Key_Space);
    QTest::keyClick(previous, Qt::Key_Space);
    EXPECT_EQ(QApplication::focusWidget(), next);
    EXPECT_EQ(dlg.TitleField()->text(), "match 0");

    // With both disabled, the Search box takes the focus, and their Alt keys (or any other
    // Alt key that names no control) type nothing into it; Alt+Shift too.
    next->setFocus();
    dlg.Searcher().SetSteps(false, false);
    EXPECT_TRUE(HasFocus(dlg.SearchBox()));
    QWidget* searchField = QApplication::focusWidget();
    for (Qt::Key key : {Qt::Key_N, Qt::Key_P, Qt::Key_J})
        for (Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(Qt::AltModifier), Qt::AltModifier | Qt::ShiftModifier})
            QTest::keyClick(searchField, key, mods);
    EXPECT_EQ(dlg.SearchBox()->currentText(), "match");
    // Typing still types, and an enabled control's Alt key still goes to it.
    QTest::keyClick(searchField, Qt::Key_X);
    EXPECT_EQ(dlg.SearchBox()->currentText(), "matchx");
    QTest::keyClick(searchField, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), dlg.TitleField());
}

TEST(FormAndList, CountsCellsAndScrollingShowWholeText)
{
    WindowHarness h;
    std::vector<std::string> titles;
    for (int i = 0; i < 1500; ++i) titles.push_back("row " + std::to_string(i));
    h.WriteDataFile(titles);
    CLinksDlg& dlg = h.Open();
    CLinkListCtrl& list = dlg.List();

    // The selected count has room for seven digits.
    QLabel* selected = dlg.SelectedLabel();
    const int right = selected->geometry().right();
    list.States().SelectAll();
    dlg.UpdateSelectedCount();
    EXPECT_EQ(h.Label(1083), "1,500 Selected Links");
    EXPECT_GE(selected->width(), selected->fontMetrics().horizontalAdvance("1,234,567 Selected Links"));
    EXPECT_GE(dlg.TotalLabel()->width(), dlg.TotalLabel()->fontMetrics().horizontalAdvance("1,234,567 Total Links"));
    EXPECT_EQ(selected->geometry().right(), right);

    // A description's lines read as one line; the tooltip measures that same text.
    CAnnotatedLink& record = dlg.Store().Edit(0);
    record.SetDescription("First line\r\nsecond line\nthird");
    EXPECT_EQ(LinkCellText(record, ColDescription), "First line second line third");
    list.setColumnWidth(ColDescription, list.fontMetrics().horizontalAdvance("First line second line third") + 12);
    EXPECT_EQ(list.CellTipText(0, ColDescription), "");
    list.setColumnWidth(ColDescription, 40);
    EXPECT_EQ(list.CellTipText(0, ColDescription), "First line second line third");

    // A huge cell is cut to its first few thousand characters, never inside one.
    std::string huge = std::string(5000, 'a') + std::string(20 << 20, '\xC3').replace(1, 1, "\xA9");
    for (size_t i = 5000; i + 1 < huge.size(); i += 2) huge[i + 1] = '\xA9';
    record.SetDescription(huge);
    const QString cell = LinkCellText(record, ColDescription);
    EXPECT_LE(cell.size(), 8192);
    EXPECT_GT(cell.size(), 4000);
    EXPECT_EQ(cell.back(), QChar(0xE9));

    // The form shows the beginning of a huge title and description, says so, and keeps
    // them whole: such a field cannot be changed, the others can.
    const std::string hugeTitle = std::string(20 << 20, 't');
    record.SetTitle(hugeTitle);
    h.ClickRow(1);
    h.ClickRow(0);
    EXPECT_LE(dlg.TitleField()->text().size(), 64 * 1024 + 1);
    EXPECT_TRUE(dlg.TitleField()->text().endsWith(QChar(0x2026)));
    EXPECT_TRUE(dlg.TitleField()->toolTip().startsWith("Only the beginning of this text is shown: it is 20971520 bytes"));
    EXPECT_TRUE(dlg.TitleField()->isReadOnly() && dlg.DescriptionField()->isReadOnly());
    EXPECT_LE(dlg.DescriptionField()->toPlainText().size(), 64 * 1024 + 1);
    EXPECT_TRUE(dlg.LinkField()->toolTip().isEmpty());
    dlg.LinkField()->clear();
    h.Type(dlg.LinkField(), "https://changed.example/");
    h.ClickRow(1);
    EXPECT_EQ(std::as_const(dlg.Store()).At(0).Title(), hugeTitle);
    EXPECT_EQ(std::as_const(dlg.Store()).At(0).Description(), huge);
    EXPECT_EQ(std::as_const(dlg.Store()).At(0).Link(), "https://changed.example/");
    EXPECT_TRUE(dlg.TitleField()->toolTip().isEmpty());
    EXPECT_FALSE(dlg.TitleField()->isReadOnly());

    // Title Case and Word Wrap on a form that shows a cut text change the whole text, not
    // the part shown.
    const std::string longLines = std::string(100 << 10, 'w') + " " + std::string(100 << 10, 'v');
    dlg.Store().Edit(0).SetDescription(longLines);
    h.ClickRow(0);
    ASSERT_TRUE(dlg.DescriptionField()->isReadOnly());
    dlg.SystemCommand(CLinksDlg::CmdTitleCase);
    dlg.SystemCommand(CLinksDlg::CmdWordWrap);
    EXPECT_TRUE(dlg.IsEdited());
    h.ClickRow(1);
    EXPECT_EQ(std::as_const(dlg.Store()).At(0).Title(), "T" + hugeTitle.substr(1));
    EXPECT_EQ(std::as_const(dlg.Store()).At(0).Description(), std::string(100 << 10, 'w') + "\r\n" + std::string(100 << 10, 'v'));

    // New rows and End show the whole row.
    list.States().ClearSelection();
    h.ClickButton(1007);
    h.Type(dlg.TitleField(), "new");
    h.ClickButton(1026);
    EXPECT_TRUE(FullyVisible(list, 1500));
    h.ClickRow(3);
    h.KeyInList(Qt::Key_End);
    EXPECT_TRUE(FullyVisible(list, 1500));
    h.KeyInList(Qt::Key_Home);
    h.KeyInList(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_TRUE(FullyVisible(list, 1500));
    EXPECT_EQ(list.States().SelectedCount(), 1501);
    h.KeyInList(Qt::Key_Home);
    EXPECT_TRUE(FullyVisible(list, 0));
}
