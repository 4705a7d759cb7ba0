#include <gtest/gtest.h>
#include <filesystem>
#include "app/HelpWindow.h"
#include <QTextBlock>
#include <QTextBrowser>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/CommandMenu.h"
#include "app/LinkListCtrl.h"
#include "tests/support/WindowHarness.h"
#include "undo/UndoPreviewDlg.h"

namespace {

std::vector<std::string> MenuTexts(CCommandMenu& menu)
{
    std::vector<std::string> texts;
    for (QAction* action : menu.actions())
        texts.push_back(action->isSeparator() ? "-" : action->text().toStdString() + (action->isEnabled() ? "" : " (grayed)"));
    return texts;
}

// Presses the Ctrl key of Undo or Redo and answers the preview it opens.
struct PreviewSeen {
    std::string action, effect, date;
    bool previous = false, next = false;
    std::vector<std::string> titles;  // stepping with Next
};
PreviewSeen Preview(CLinksDlg& dlg, int key, bool accept)
{
    PreviewSeen seen;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* preview = qobject_cast<CUndoPreviewDlg*>(QApplication::activeModalWidget());
        if (!preview) return;
        timer.stop();
        seen.action = preview->ActionLabel()->text().toStdString();
        seen.effect = preview->EffectLabel()->text().toStdString();
        seen.date = preview->DateLabel()->text().toStdString();
        seen.previous = preview->PreviousButton()->isEnabled();
        seen.next = preview->NextButton()->isEnabled();
        seen.titles.push_back(preview->TitleField()->text().toStdString());
        while (preview->NextButton()->isEnabled()) {
            QTest::mouseClick(preview->NextButton(), Qt::LeftButton);
            seen.titles.push_back(preview->TitleField()->text().toStdString());
        }
        if (accept)
            QTest::mouseClick(preview->ActionButton(), Qt::LeftButton);
        else
            preview->reject();
    });
    timer.start(5);
    PressKey(dlg, key);
    return seen;
}

}  // namespace

TEST(Commands, MenuKeysAndUndoRedoOfDeleteAndModify)
{
    WindowHarness h;
    std::vector<std::string> titles;
    for (int i = 0; i < 10; ++i) titles.push_back("r" + std::to_string(i));
    h.WriteDataFile(titles);
    CLinksDlg& dlg = h.Open();
    CCommandMenu& menu = dlg.CommandMenu();
    EXPECT_EQ(MenuTexts(menu), (std::vector<std::string>{
                                   "&Restore (grayed)", "&Move", "Mi&nimize", "-", "&Close", "-",
                                   "&Statistics...\tCtrl+S", "Multi-C&olumn Sorting...\tCtrl+M",
                                   "Chec&k Links...\tCtrl+K", "F&ind Duplicates...\tCtrl+U", "&Get Title from Page\tCtrl+G", "-",
                                   "In&vert Selection\tCtrl+I", "Se&lect All\tCtrl+L", "&Word Wrap\tCtrl+W",
                                   "&Title Case\tCtrl+T", "-", "&Undo\tCtrl+Z (grayed)", "Re&do\tCtrl+Y (grayed)",
                                   "Activate &Preview\tCtrl+P", "-", "Import &Favorites...\tCtrl+F",
                                   "&Export Bookmarks...\tCtrl+E", "-", "&Quick Help...\tF1",
                                   "Tip of t&he Day...\tCtrl+D", "&About Norvelle...\tCtrl+A"}));

    // Ctrl+P twice leaves the preview off; the low four bits of a command are ignored.
    PressKey(dlg, Qt::Key_P);
    EXPECT_TRUE(dlg.PreviewOn() && menu.Entry(CLinksDlg::CmdPreview)->isChecked());
    PressKey(dlg, Qt::Key_P);
    EXPECT_FALSE(dlg.PreviewOn() || menu.Entry(CLinksDlg::CmdPreview)->isChecked());
    dlg.SystemCommand(CLinksDlg::CmdPreview + 5);
    dlg.SystemCommand(CLinksDlg::CmdPreview + 15);
    EXPECT_FALSE(dlg.PreviewOn());

    // Ctrl+Z with nothing to undo changes nothing.
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(Titles(dlg), titles);
    EXPECT_FALSE(dlg.Store().IsChanged());

    // Delete rows 2 and 5; Undo (Ctrl+Z in the Title field is the program's) brings them
    // back last, in deletion order; Redo removes them again.
    h.ClickRow(2);
    h.ClickRow(5, Qt::ControlModifier);
    h.KeyInList(Qt::Key_Delete);
    EXPECT_EQ(dlg.Store().Count(), 8);
    EXPECT_EQ(menu.Entry(CLinksDlg::CmdUndo)->text(), "&Undo Delete\tCtrl+Z");
    dlg.TitleField()->setFocus();
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"r0", "r1", "r3", "r4", "r6", "r7", "r8", "r9", "r2", "r5"}));
    EXPECT_EQ(MenuTexts(menu)[17], "&Undo\tCtrl+Z (grayed)");
    EXPECT_EQ(MenuTexts(menu)[18], "Re&do Delete\tCtrl+Y");
    EXPECT_EQ(h.Label(1096), "10 Total Links");
    PressKey(dlg, Qt::Key_Y);
    EXPECT_EQ(dlg.Store().Count(), 8);
    EXPECT_EQ(MenuTexts(menu)[17], "&Undo Delete\tCtrl+Z");
    EXPECT_EQ(MenuTexts(menu)[18], "Re&do\tCtrl+Y (grayed)");

    // Modify, Undo, Redo: both versions with both dates, the form following.
    h.ClickRow(0);
    const CAnnotatedLink before = dlg.Store().At(0);
    h.Type(dlg.TitleField(), " changed");
    h.ClickButton(1053);
    const CAnnotatedLink after = dlg.Store().At(0);
    EXPECT_EQ(MenuTexts(menu)[17], "&Undo Modify\tCtrl+Z");
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.Store().At(0).Title(), "r0");
    EXPECT_EQ(dlg.Store().At(0).Modified(), before.Modified());
    EXPECT_EQ(dlg.TitleField()->text(), "r0");
    EXPECT_EQ(MenuTexts(menu)[17], "&Undo Delete\tCtrl+Z");
    EXPECT_EQ(MenuTexts(menu)[18], "Re&do Modify\tCtrl+Y");
    PressKey(dlg, Qt::Key_Y);
    EXPECT_EQ(dlg.Store().At(0).Title(), "r0 changed");
    EXPECT_EQ(dlg.Store().At(0).Modified(), after.Modified());
    EXPECT_EQ(dlg.TitleField()->text(), "r0 changed");
    EXPECT_TRUE(dlg.Store().IsChanged());

    // A new Delete after an Undo grays Redo.
    PressKey(dlg, Qt::Key_Z);
    h.ClickRow(3);
    h.KeyInList(Qt::Key_Delete);
    EXPECT_EQ(MenuTexts(menu)[18], "Re&do\tCtrl+Y (grayed)");
    PressKey(dlg, Qt::Key_Y);
    EXPECT_EQ(dlg.Store().Count(), 7);

    // Reloading empties the history.
    dlg.Persistence().LoadDataFile(nullptr, false);
    EXPECT_EQ(MenuTexts(menu)[17], "&Undo\tCtrl+Z (grayed)");
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.Store().Count(), 10);
    dlg.Store().SetChanged(false);

    // The menu opens with Alt+Space and with a right-click on the window.
    QTest::keyClick(dlg.TitleField(), Qt::Key_Space, Qt::AltModifier);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    QApplication::setActiveWindow(&dlg);
    QTest::keyClick(dlg.TitleField(), Qt::Key_F10);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), dlg.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dlg, &click);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

TEST(Commands, ThePreviewSaysWhatWillHappenAndCancelChangesNothing)
{
    WindowHarness h;
    h.WriteDataFile({"r0", "r1", "r2", "r3", "r4"});
    CLinksDlg& dlg = h.Open();
    PressKey(dlg, Qt::Key_P);
    h.ClickRow(1);
    h.ClickRow(3, Qt::ShiftModifier);
    h.KeyInList(Qt::Key_Delete);

    const PreviewSeen cancelled = Preview(dlg, Qt::Key_Z, false);
    EXPECT_EQ(cancelled.action, "Undo Delete");
    EXPECT_EQ(cancelled.effect, "Restores the following 3 annotated links.");
    EXPECT_EQ(cancelled.titles, (std::vector<std::string>{"r1", "r2", "r3"}));
    EXPECT_FALSE(cancelled.previous);
    EXPECT_EQ(dlg.Store().Count(), 2);
    EXPECT_EQ(dlg.CommandMenu().Entry(CLinksDlg::CmdUndo)->text(), "&Undo Delete\tCtrl+Z");

    Preview(dlg, Qt::Key_Z, true);
    EXPECT_EQ(dlg.Store().Count(), 5);

    // One record on the redo side: both buttons disabled.
    PressKey(dlg, Qt::Key_P);
    PressKey(dlg, Qt::Key_Y);
    h.ClickRow(0);
    h.KeyInList(Qt::Key_Delete);
    PressKey(dlg, Qt::Key_Z);
    PressKey(dlg, Qt::Key_P);
    const PreviewSeen redo = Preview(dlg, Qt::Key_Y, true);
    EXPECT_EQ(redo.action, "Redo Delete");
    EXPECT_EQ(redo.effect, "Deletes the following 1 annotated link.");
    EXPECT_FALSE(redo.previous || redo.next);
    EXPECT_EQ(dlg.Store().Count(), 1);

    // A Modify shows the version from before the change.
    h.ClickRow(0);
    h.Type(dlg.TitleField(), " new");
    h.ClickButton(1053);
    const PreviewSeen modify = Preview(dlg, Qt::Key_Z, false);
    EXPECT_EQ(modify.action, "Undo Modify");
    EXPECT_EQ(modify.effect, "Replaces an existing annotated link with the following data.");
    EXPECT_EQ(modify.titles, std::vector<std::string>{"r4"});
    EXPECT_EQ(modify.date, "Modified: 9-June-2009");
    EXPECT_EQ(dlg.Store().At(0).Title(), "r4 new");
}

TEST(Commands, SelectionTitleCaseAndWordWrap)
{
    WindowHarness h;
    CLinksDlg& dlg = h.Open();
    // An empty list: only the count.
    PressKey(dlg, Qt::Key_L);
    PressKey(dlg, Qt::Key_I);
    EXPECT_EQ(h.Label(1083), "0 Selected Links");
    h.Close();

    h.WriteDataFile({"the lord of the rings", "of mice and men", "a tale of two cities"});
    CLinksDlg& full = h.Open();
    h.ClickRow(2);
    PressKey(full, Qt::Key_L);
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(full.TitleField()->text(), "the lord of the rings");
    EXPECT_EQ(h.Label(1083), "3 Selected Links");
    // Every row selected: Invert leaves none, and the form and the mark alone.
    PressKey(full, Qt::Key_I);
    EXPECT_TRUE(h.SelectedRows().empty());
    EXPECT_EQ(full.List().States().Mark(), 0);
    EXPECT_EQ(full.TitleField()->text(), "the lord of the rings");
    PressKey(full, Qt::Key_I);
    EXPECT_EQ(h.SelectedRows().size(), 3u);

    // Several rows: the records themselves change, the form shows the mark's row.
    PressKey(full, Qt::Key_T);
    EXPECT_EQ(Titles(full), (std::vector<std::string>{"The Lord of the Rings", "Of Mice and Men", "A Tale of Two Cities"}));
    EXPECT_EQ(full.TitleField()->text(), "The Lord of the Rings");
    EXPECT_TRUE(full.Store().IsChanged());
    EXPECT_FALSE(full.IsEdited());
    // Its step is named by the command and previews every link it changed.
    PressKey(full, Qt::Key_P);
    const PreviewSeen titleCase = Preview(full, Qt::Key_Z, false);
    PressKey(full, Qt::Key_P);
    EXPECT_EQ(titleCase.action, "Undo Title Case");
    EXPECT_EQ(titleCase.effect, "Replaces 3 existing annotated links with the following data.");
    EXPECT_EQ(titleCase.titles, (std::vector<std::string>{"the lord of the rings", "of mice and men", "a tale of two cities"}));
    full.Store().SetChanged(false);

    // One row: only the field changes, until Modify.
    h.ClickRow(1);
    full.TitleField()->setText("war and peace: a novel");
    PressKey(full, Qt::Key_T);
    EXPECT_EQ(full.TitleField()->text(), "War and Peace: A Novel");
    EXPECT_EQ(full.Store().At(1).Title(), "Of Mice and Men");
    EXPECT_TRUE(full.IsEdited());
    EXPECT_FALSE(full.Store().IsChanged());

    // Word Wrap of the field joins the lines of a paragraph and fills to the field's width.
    full.DescriptionField()->setPlainText("one\ntwo\n\nthree");
    PressKey(full, Qt::Key_W);
    EXPECT_EQ(full.DescriptionField()->toPlainText(), "one two\n\nthree");
    QString words;
    for (int i = 0; i < 60; ++i) words += "word ";
    full.DescriptionField()->setPlainText(words);
    PressKey(full, Qt::Key_W);
    const QStringList lines = full.DescriptionField()->toPlainText().split('\n');
    EXPECT_GT(lines.size(), 3);
    const QFontMetrics metrics(full.DescriptionField()->font());
    for (const QString& line : lines)
        EXPECT_LT(metrics.horizontalAdvance(line), full.DescriptionField()->viewport()->width() - 4);
    h.ClickButton(1053);

    // Several rows: every selected description is wrapped in the store.
    PressKey(full, Qt::Key_L);
    full.Store().Edit(2).SetDescription("first\r\nsecond");
    PressKey(full, Qt::Key_W);
    EXPECT_EQ(full.Store().At(2).Description(), "first second");
    EXPECT_TRUE(full.Store().IsChanged());
    // ... as one step for Undo.
    full.List().setFocus();
    PressKey(full, Qt::Key_Z);
    EXPECT_EQ(full.Store().At(2).Description(), "first\r\nsecond");
    PressKey(full, Qt::Key_Y);
    EXPECT_EQ(full.Store().At(2).Description(), "first second");

    // Rows still selected after Clear, and a new link being typed: the typed title and
    // description are what Title Case and Word Wrap change, and no record is touched.
    full.Store().Edit(0).SetTitle("the lord of the rings");
    h.ClickButton(1007);
    EXPECT_EQ(h.SelectedRows().size(), 3u);
    h.Type(full.TitleField(), "my new link");
    h.Type(full.DescriptionField(), "typed\nhere");
    PressKey(full, Qt::Key_T);
    PressKey(full, Qt::Key_W);
    EXPECT_EQ(full.TitleField()->text(), "My New Link");
    EXPECT_EQ(full.DescriptionField()->toPlainText(), "typed here");
    EXPECT_EQ(full.Store().At(0).Title(), "the lord of the rings");
    EXPECT_EQ(full.Store().At(2).Description(), "first second");

    // Title Case over several rows is one step for Undo too.
    h.ClickButton(1007);
    h.ClickRow(0);
    PressKey(full, Qt::Key_L);
    full.List().setFocus();
    PressKey(full, Qt::Key_T);
    EXPECT_EQ(Titles(full), (std::vector<std::string>{"The Lord of the Rings", "War and Peace: A Novel", "A Tale of Two Cities"}));
    PressKey(full, Qt::Key_Z);
    EXPECT_EQ(full.Store().At(0).Title(), "the lord of the rings");
    EXPECT_EQ(full.Store().At(2).Title(), "A Tale of Two Cities");
}

TEST(Commands, F1OpensTheHelpAtWhatTheWindowIsAbout)
{
    WindowHarness h;
    CLinksDlg& dlg = h.Open();
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    dlg.TitleField()->setFocus();
    QTest::keyClick(dlg.TitleField(), Qt::Key_F1);
    auto* help = dlg.findChild<CHelpWindow*>();
    ASSERT_NE(help, nullptr);
    // The README's sections for users, built in: the keys, the search rules, the Options.
    const QString text = help->Browser()->toPlainText();
    for (const char* part : {"Using Norvelle", "Ctrl+Z", "Allow Typos", "Keyboard and screen readers", "Options"})
        EXPECT_TRUE(text.contains(part)) << part;
    EXPECT_FALSE(text.contains("## Safety"));
    EXPECT_EQ(help->Browser()->textCursor().block().text(), "Using Norvelle");
    // The menu's entry brings the same window forward rather than a second one.
    dlg.SystemCommand(CLinksDlg::CmdHelp);
    EXPECT_EQ(dlg.findChildren<CHelpWindow*>().size(), 1);
    help->close();

    // In the Options sheet, F1 opens the help over it at the Options.
    EXPECT_TRUE(h.VisitOptionsPages([&](QDialog& sheet, QWidget& page, const std::string& caption) {
        if (caption != "Saving") return;
        QWidget* focus = page.findChild<QLineEdit*>();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key_F1);
        auto* over = sheet.findChild<CHelpWindow*>();
        ASSERT_NE(over, nullptr);
        EXPECT_EQ(over->Browser()->textCursor().block().text(), "Options");
        over->close();
    }));
}

TEST(Commands, ARecentDataFileIsOneStepAwayAndNothingUnsavedIsGivenUp)
{
    WindowHarness h;
    h.WriteDataFile({"b1", "b2"});
    const std::string other = (h.temp.path / "Other & more.dat").string();
    std::filesystem::copy_file(h.DataPath(), other);
    h.WriteDataFile({"a1"});
    h.settings.WriteInt("Saving", "Filename Count", 2);
    h.settings.WriteString("Saving", "Filename00", h.DataPath());
    h.settings.WriteString("Saving", "Filename01", other);
    CLinksDlg& dlg = h.Open();
    h.Type(dlg.TitleField(), "typed");
    h.Type(dlg.LinkField(), "https://typed.example/");
    CCommandMenu& menu = dlg.CommandMenu();
    emit menu.aboutToShow();
    std::vector<QAction*> recent;
    for (QAction* action : menu.actions())
        if (action->text().startsWith("&1 ") || action->text().startsWith("&2 ")) recent.push_back(action);
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_TRUE(recent[0]->isChecked());
    EXPECT_FALSE(recent[1]->isChecked());
    EXPECT_TRUE(recent[1]->text().endsWith("Other && more.dat"));
    recent[1]->trigger();
    QApplication::processEvents();
    // The typed link went into the file it belongs to before the switch.
    EXPECT_EQ(TitlesIn(h.DataPath()), (std::vector<std::string>{"a1", "typed"}));
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"b1", "b2"}));
    EXPECT_EQ(dlg.Persistence().DataPath(), other);
    EXPECT_EQ(h.settings.ReadString("Saving", "Data File"), other);
    // Once the menu shows again, the file in use is the one checked; entries are not repeated.
    emit menu.aboutToShow();
    int numbered = 0;
    for (QAction* action : menu.actions())
        if (action->text().startsWith("&2 ")) {
            ++numbered;
            EXPECT_TRUE(action->isChecked());
        }
    EXPECT_EQ(numbered, 1);
}
