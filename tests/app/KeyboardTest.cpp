#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "app/CommandMenu.h"
#include "app/LinkListCtrl.h"
#include "common/SortedComboBox.h"
#include "health/DuplicateFinder.h"
#include "health/DuplicatesDlg.h"
#include "import/ImportDlg.h"
#include "tests/support/WindowHarness.h"

namespace {

std::vector<std::string> MenuEntries(QMenu* menu)
{
    std::vector<std::string> entries;
    for (QAction* action : menu->actions()) entries.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    return entries;
}

// Opens the menu of what is under the point of the list, as a right-click does.
QMenu* RightClick(CLinkListCtrl& list, QPoint at)
{
    QTest::mouseClick(list.viewport(), Qt::RightButton, Qt::NoModifier, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
    QApplication::sendEvent(list.viewport(), &event);
    QApplication::processEvents();
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

}  // namespace

TEST(Keyboard, FieldsKeepTheirEditingKeysEscClearsTheSearchAndRowsHaveMenus)
{
    WindowHarness h;
    h.WriteDataFile({"alpha", "beta", "gamma", "delta"});
    CLinksDlg& dlg = h.Open();

    // Ctrl+Z and Ctrl+Y in a field undo and redo its typing first, then the window's
    // changes; Ctrl+A selects the field's text.
    h.ClickRow(3);
    h.KeyInList(Qt::Key_Delete);
    ASSERT_EQ(dlg.Store().Count(), 3);
    h.ClickRow(0);
    h.Type(dlg.TitleField(), " one");
    EXPECT_EQ(dlg.TitleField()->text(), "alpha one");
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.TitleField()->text(), "alpha");
    EXPECT_EQ(dlg.Store().Count(), 3);  // only the typing went
    PressKey(dlg, Qt::Key_Y);
    EXPECT_EQ(dlg.TitleField()->text(), "alpha one");
    PressKey(dlg, Qt::Key_A);
    EXPECT_EQ(dlg.TitleField()->selectedText(), "alpha one");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);  // not About
    h.Type(dlg.DescriptionField(), "note");
    PressKey(dlg, Qt::Key_A);
    EXPECT_EQ(dlg.DescriptionField()->textCursor().selectedText(), "noteDescription 0");
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.DescriptionField()->toPlainText(), "Description 0");
    // Nothing left to undo in the field: the window's Undo brings the deleted link back.
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.Store().Count(), 4);
    // In the list, Ctrl+A is About as before.
    QString opened;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->windowTitle();
            modal->close();
        }
    });
    closer.start(5);
    h.KeyInList(Qt::Key_A, Qt::ControlModifier);
    closer.stop();
    EXPECT_EQ(opened, "About Norvelle");
    QApplication::setActiveWindow(&dlg);

    // Esc in the Search box takes the search back and brings back the link shown before;
    // the next Esc asks to leave.
    const int shown = dlg.List().States().Mark();
    h.Type(dlg.SearchBox()->lineEdit(), "a");
    EXPECT_EQ(h.SelectedRows().size(), 4u);
    h.prompter.Clear();
    h.prompter.Script({Prompter::Answer::No});
    // Keys go where the window system sends them: to the focused widget, which for an
    // editable box is the box itself.
    PressKey(dlg, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_EQ(dlg.SearchBox()->currentText(), "");
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{shown});
    EXPECT_TRUE(h.prompter.Texts().empty());
    PressKey(dlg, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Do you want to exit Norvelle?"});
    EXPECT_TRUE(dlg.isVisible());
    // Ctrl+A and Ctrl+Z in the Category box are the field's too.
    h.Type(dlg.CategoryBox()->lineEdit(), "Work");
    EXPECT_EQ(QApplication::focusWidget(), dlg.CategoryBox());
    PressKey(dlg, Qt::Key_A);
    EXPECT_EQ(dlg.CategoryBox()->lineEdit()->selectedText(), "Work");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.CategoryBox()->currentText(), "");

    // A right-click on a row makes it the form's, storing what was typed first, and opens
    // its menu; on the free area below the rows, the command menu.
    CLinkListCtrl& list = dlg.List();
    h.ClickRow(1);
    h.Type(dlg.DescriptionField(), "kept");
    QMenu* menu = RightClick(list, list.visualRect(list.Model().index(2, 0)).center());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(dlg.Store().At(1).Description(), "keptDescription 1");
    EXPECT_EQ(dlg.TitleField()->text(), "gamma");
    EXPECT_EQ(MenuEntries(menu), (std::vector<std::string>{"&Launch", "&Copy Link", "&Delete", "-", "Check Lin&k",
                                                           "&Get Title from Page", "-", "Co&mmands"}));
    EXPECT_EQ(menu->actions().back()->menu(), &dlg.CommandMenu());
    menu->actions()[1]->trigger();
    EXPECT_EQ(h.clipboard.text, dlg.Store().At(2).Link());
    menu->close();
    // The menu key opens the focused row's menu.
    h.KeyInList(Qt::Key_Up);
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), list.viewport()->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(list.viewport(), &key);
    QApplication::processEvents();
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(dlg.TitleField()->text(), "beta");
    menu->close();
    h.KeyInList(Qt::Key_Down);
    h.KeyInList(Qt::Key_F10, Qt::ShiftModifier);
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(dlg.TitleField()->text(), "gamma");
    menu->close();
    menu = RightClick(list, QPoint(5, list.viewport()->height() - 3));
    EXPECT_EQ(menu, &dlg.CommandMenu());
    if (menu) menu->close();
}

TEST(Keyboard, PlainWordsForThisSystem)
{
    WindowHarness h;
    h.WriteRecords({{"One", "https://a.example/", "", "", {CLinkDate::Valid, 40000.5}, {CLinkDate::Valid, 40000.5}},
                    {"Two", "http://a.example", "", "", {CLinkDate::Valid, 40001}, {CLinkDate::Valid, 40001}}});
    CLinksDlg& dlg = h.Open();
    IntakeOptions options;
    CImportDlg import(BookmarkTarget{}, h.prompter, CCountFormatter(dlg.Settings()), options, {}, &dlg);
    import.show();
    // The Drive box shows a folder's whole path; the example is a file name of this system.
    EXPECT_GT(import.DriveList()->width(), import.fontMetrics().horizontalAdvance(QDir::homePath()) + 30);
    bool example = false;
    for (QLabel* label : import.findChildren<QLabel*>())
        if (label->text().startsWith("File&name")) {
#ifdef Q_OS_WIN
            example = label->text().contains("C:\\bookmark.htm");
#else
            example = label->text().contains("~/bookmarks.html");
#endif
        }
    EXPECT_TRUE(example);
    // Find Duplicates names its last column and has room for the dates.
    CDuplicatesDlg duplicates(FindDuplicates(dlg.Store()), dlg.Store(), CCountFormatter(dlg.Settings()), &dlg);
    QTreeView* tree = duplicates.Tree();
    EXPECT_EQ(tree->model()->headerData(4, Qt::Horizontal).toString(), "In the List");
    const QString date = tree->model()->index(0, 3, tree->model()->index(0, 0)).data().toString();
    EXPECT_FALSE(date.isEmpty());
    EXPECT_GT(tree->columnWidth(3), tree->fontMetrics().horizontalAdvance(date));
}

// Faults found at the keyboard: the count follows Space and Ctrl+Space at once, and the
// first Ctrl+Z after Title Case or Word Wrap of the form takes that back, not an older step.
TEST(Keyboard, SpacePicksCountAtOnceAndUndoTakesBackTheFormsCommandFirst)
{
    WindowHarness h;
    h.WriteDataFile({"alpha", "the beta", "gamma", "delta"});
    CLinksDlg& dlg = h.Open();
    dlg.UndoCommands().SetPreview(false);

    h.ClickRow(0);
    h.KeyInList(Qt::Key_Down, Qt::ControlModifier);
    h.KeyInList(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(h.Label(1083), "2 Selected Links");
    h.KeyInList(Qt::Key_Down, Qt::ControlModifier);
    h.KeyInList(Qt::Key_Space);
    EXPECT_EQ(h.Label(1083), "3 Selected Links");
    h.KeyInList(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(h.Label(1083), "2 Selected Links");
    // The form follows the row the key picked, as after any key in the list.
    QTest::qWait(120);
    EXPECT_EQ(dlg.TitleField()->text(), "gamma");
    h.prompter.Script({Prompter::Answer::No});
    h.KeyInList(Qt::Key_Delete);
    EXPECT_EQ(h.prompter.Texts().back(), "Delete 2 items?");

    // Delete a row, Title Case another (the form's field), Ctrl+Z: the title goes back,
    // the deleted row stays deleted; the next Ctrl+Z brings the row back.
    h.ClickRow(3);
    h.prompter.Script({Prompter::Answer::Yes});
    h.KeyInList(Qt::Key_Delete);
    ASSERT_EQ(dlg.Store().Count(), 3);
    h.ClickRow(1);
    PressKey(dlg, Qt::Key_T);
    EXPECT_EQ(dlg.TitleField()->text(), "The Beta");
    EXPECT_TRUE(dlg.IsEdited());
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.TitleField()->text(), "the beta");
    EXPECT_FALSE(dlg.IsEdited());
    EXPECT_EQ(dlg.Store().Count(), 3);
    PressKey(dlg, Qt::Key_Y);
    EXPECT_EQ(dlg.TitleField()->text(), "The Beta");
    PressKey(dlg, Qt::Key_Z);
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.Store().Count(), 4);
    EXPECT_EQ(dlg.TitleField()->text(), "the beta");

    // Word Wrap of one record's description can be taken back too, focus in the field.
    h.ClickRow(0);
    dlg.Store().Edit(0).SetDescription("one\ntwo");
    h.ClickRow(0);
    dlg.DescriptionField()->setFocus();
    PressKey(dlg, Qt::Key_W);
    EXPECT_EQ(dlg.DescriptionField()->toPlainText(), "one two");
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.DescriptionField()->toPlainText(), "one\ntwo");
    EXPECT_EQ(dlg.Store().Count(), 4);
}

TEST(Keyboard, MoveFromTheCommandMenuMovesTheWindowByArrowKeys)
{
    WindowHarness h;
    CLinksDlg& dlg = h.Open();
    dlg.show();
    dlg.move(200, 150);
    QApplication::processEvents();
    const QPoint start = dlg.pos();
    // Enter ends the move where the arrows took the window; Ctrl steps finer.
    dlg.SystemCommand(CCommandMenu::SysMove);
    for (auto [key, mods] : std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>{
             {Qt::Key_Right, {}}, {Qt::Key_Right, {}}, {Qt::Key_Down, {}}, {Qt::Key_Left, Qt::ControlModifier}, {Qt::Key_A, {}}})
        QTest::keyClick(dlg.TitleField(), key, mods);
    QTest::keyClick(dlg.TitleField(), Qt::Key_Return);
    EXPECT_EQ(dlg.pos(), start + QPoint(19, 10));
    EXPECT_EQ(dlg.TitleField()->text(), "");  // keys moved, typed nothing
    // Esc puts the window back where the move began.
    dlg.SystemCommand(CCommandMenu::SysMove);
    QTest::keyClick(dlg.TitleField(), Qt::Key_Up);
    QTest::keyClick(dlg.TitleField(), Qt::Key_Escape);
    EXPECT_EQ(dlg.pos(), start + QPoint(19, 10));
    EXPECT_TRUE(dlg.isVisible());  // the Esc was the move's, not a request to leave
}

TEST(Keyboard, ALetterTypedRightAfterAltAndAButtonsLetterIsKept)
{
    WindowHarness h;
    h.WriteDataFile({"one"});
    CLinksDlg& dlg = h.Open();
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    h.ClickRow(0);
    dlg.TitleField()->setFocus();
    // Alt+C clears the form at once, and the focus stays in the field for the new title.
    QTest::keyClick(dlg.TitleField(), Qt::Key_C, Qt::AltModifier);
    QTest::keyClicks(dlg.TitleField(), "ab");
    QTest::qWait(150);
    EXPECT_EQ(dlg.TitleField()->text(), "ab");
    EXPECT_EQ(QApplication::focusWidget(), dlg.TitleField());
}
