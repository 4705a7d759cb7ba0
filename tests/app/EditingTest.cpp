#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/LinkListCtrl.h"
#include "health/LaunchCheck.h"
#include "health/LaunchJob.h"
#include "common/SortedComboBox.h"
#include "options/OptionsSheet.h"
#include "platform/qt/QtServices.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "tests/support/DialogAnswer.h"
#include "tests/support/NoRoom.h"
#include "tests/support/WindowHarness.h"

namespace {

void WaitForLaunches(CLinksDlg& dlg)
{
    for (int i = 0; i < 500 && !dlg.LaunchesFinished(); ++i) QTest::qWait(5);
    ASSERT_TRUE(dlg.LaunchesFinished());
}

const CLinkDate kNow = LinkDateFromLocal({2009, 6, 5, 14, 7, 9});

}  // namespace

TEST(Editing, AddMovesLinesIntoEmptyTitleAndLink)
{
    WindowHarness h;
    h.settings.WriteInt("Misc", "Move to Title", 1);
    h.settings.WriteInt("Misc", "Move to Link", 1);
    CLinksDlg& dlg = h.Open();
    h.Type(dlg.DescriptionField(), "Home page\nD:\\Docs\\Plan.txt");
    h.Type(dlg.CategoryBox(), "  Work  ");
    h.ClickButton(1026);
    ASSERT_EQ(dlg.Store().Count(), 1);
    const CAnnotatedLink& r = dlg.Store().At(0);
    EXPECT_EQ(r.Title(), "Home page");
    EXPECT_EQ(r.Link(), "D:\\Docs\\Plan.txt");
    EXPECT_EQ(r.Description(), "");
    EXPECT_EQ(r.Category(), "Work");
    EXPECT_EQ(r.Added(), kNow);
    EXPECT_EQ(r.Modified(), kNow);
    EXPECT_EQ(dlg.TitleField()->text(), "Home page");
    EXPECT_EQ(dlg.LinkField()->text(), "D:\\Docs\\Plan.txt");
    EXPECT_EQ(dlg.Store().Categories(), std::vector<std::string>{"Work"});
    EXPECT_EQ(h.Label(1048), "Modified: 5-June-2009");
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{0});
    EXPECT_EQ(h.Label(1096), "1 Total Link");
    EXPECT_EQ(h.Label(1083), "1 Selected Link");
    EXPECT_TRUE(dlg.IsRetrieved());
    EXPECT_FALSE(dlg.IsEdited());

    // One line: nothing moves. Several lines keep their CR LF breaks in the record.
    h.ClickButton(1007);
    h.Type(dlg.DescriptionField(), "just one line");
    h.ClickButton(1026);
    EXPECT_EQ(dlg.Store().At(1).Title(), "");
    EXPECT_EQ(dlg.Store().At(1).Description(), "just one line");
    h.ClickButton(1007);
    h.Type(dlg.TitleField(), "T");
    h.Type(dlg.LinkField(), "L");
    h.Type(dlg.DescriptionField(), "a\nb\nc");
    h.ClickButton(1026);
    EXPECT_EQ(dlg.Store().At(2).Description(), "a\r\nb\r\nc");
}

TEST(Editing, AnAddWithNoMemoryLeftSaysSoAndKeepsTheFormToAddAgain)
{
    WindowHarness h;
    CLinksDlg& dlg = h.Open();
    NoRoom full;
    dlg.Store().AddFollower(&full);
    h.Type(dlg.TitleField(), "Kept");
    h.ClickButton(1026);
    EXPECT_EQ(dlg.Store().Count(), 0);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"There isn't enough available memory to save this link.  "
                                                           "Try closing another application."});
    EXPECT_EQ(dlg.TitleField()->text(), "Kept");
    EXPECT_TRUE(dlg.IsEdited());
    EXPECT_FALSE(dlg.Store().IsChanged());
    dlg.Store().RemoveFollower(&full);
    h.ClickButton(1026);
    ASSERT_EQ(dlg.Store().Count(), 1);
    EXPECT_EQ(dlg.Store().At(0).Title(), "Kept");
}

TEST(Editing, AddWithOnlyACategoryStoresNothing)
{
    WindowHarness h;
    CLinksDlg& dlg = h.Open();
    h.Type(dlg.CategoryBox(), "Orphan");
    h.ClickButton(1026);
    EXPECT_EQ(dlg.Store().Count(), 0);
    EXPECT_TRUE(dlg.Store().Categories().empty());
    EXPECT_TRUE(h.prompter.Messages().empty());
}

TEST(Editing, ModifyAddAndClear)
{
    WindowHarness h;
    h.WriteDataFile({"r0", "r1"}, 2);
    CLinksDlg& dlg = h.Open();
    h.ClickButton(1053);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"No item is selected for modification."});

    h.ClickRow(1);
    EXPECT_EQ(dlg.TitleField()->text(), "r1");
    EXPECT_EQ(dlg.LinkField()->text(), "http://example.com/1");
    EXPECT_EQ(dlg.CategoryBox()->currentText(), "Cat1");
    EXPECT_EQ(h.Label(1048), "Modified: 6-June-2009");
    EXPECT_TRUE(dlg.IsRetrieved());

    // Add while a record is retrieved makes a second record.
    dlg.TitleField()->clear();
    h.Type(dlg.TitleField(), "copy");
    h.ClickButton(1026);
    ASSERT_EQ(dlg.Store().Count(), 3);
    EXPECT_EQ(dlg.Store().At(1).Title(), "r1");
    EXPECT_EQ(dlg.Store().At(2).Title(), "copy");
    EXPECT_EQ(dlg.Store().At(2).Link(), "http://example.com/1");

    // Modify changes the retrieved record in place; Added stays.
    const CLinkDate added = dlg.Store().At(0).Added();
    h.ClickRow(0);
    h.Type(dlg.TitleField(), "!");
    h.ClickButton(1053);
    EXPECT_EQ(dlg.Store().At(0).Title(), "r0!");
    EXPECT_EQ(dlg.Store().At(0).Added(), added);
    EXPECT_EQ(dlg.Store().At(0).Modified(), kNow);
    EXPECT_EQ(dlg.Store().Count(), 3);

    // Modify after Clear has nothing to modify.
    h.prompter.Clear();
    h.ClickButton(1007);
    EXPECT_EQ(dlg.TitleField()->text(), "");
    EXPECT_EQ(h.Label(1048), "");
    h.ClickButton(1053);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"No item is selected for modification."});
}

TEST(Editing, SaveOnLeaveByClickByArrowKeysByUndoAndByOptions)
{
    WindowHarness h;
    h.WriteDataFile({"r0", "r1", "r2"});
    CLinksDlg& dlg = h.Open();
    h.ClickRow(0);
    h.Type(dlg.TitleField(), " edited");
    h.ClickRow(1);
    EXPECT_EQ(dlg.Store().At(0).Title(), "r0 edited");
    EXPECT_EQ(dlg.Store().At(0).Modified(), kNow);
    EXPECT_EQ(dlg.TitleField()->text(), "r1");
    EXPECT_EQ(dlg.Store().PressCount(), 1);

    // A keyboard user's edit is stored as a click stores it.
    h.Type(dlg.TitleField(), " kept");
    h.KeyInList(Qt::Key_Down);
    QTest::qWait(80);  // the 50 ms retrieval timer
    EXPECT_EQ(dlg.TitleField()->text(), "r2");
    EXPECT_EQ(dlg.Store().At(1).Title(), "r1 kept");

    // Undo with a typed edit: a step that leaves the shown link alone leaves the edit in
    // the form; one that changes the shown link stores the edit first, and it is the step
    // taken back (Redo gives it back). Nothing typed is dropped.
    h.Type(dlg.TitleField(), " typed");
    dlg.List().setFocus();
    dlg.SystemCommand(CLinksDlg::CmdUndo);
    EXPECT_EQ(dlg.Store().At(1).Title(), "r1");
    EXPECT_EQ(dlg.TitleField()->text(), "r2 typed");
    EXPECT_TRUE(dlg.IsEdited());
    dlg.SystemCommand(CLinksDlg::CmdRedo);
    EXPECT_EQ(dlg.Store().At(1).Title(), "r1 kept");
    h.ClickButton(1053);
    h.ClickRow(1);
    h.ClickRow(2, Qt::ControlModifier);
    dlg.List().setFocus();
    dlg.SystemCommand(CLinksDlg::CmdTitleCase);  // both rows, the shown one too, as one step
    ASSERT_EQ(dlg.Store().At(2).Title(), "R2 Typed");
    h.Type(dlg.TitleField(), " x");
    dlg.List().setFocus();
    dlg.SystemCommand(CLinksDlg::CmdUndo);
    EXPECT_EQ(dlg.Store().At(2).Title(), "R2 Typed");
    dlg.SystemCommand(CLinksDlg::CmdRedo);
    EXPECT_EQ(dlg.Store().At(2).Title(), "R2 Typed x");

    // A link typed into the empty form and not added yet, then Options: it is stored
    // before the sheet opens, so that Load asks about it.
    h.ClickButton(1007);
    h.Type(dlg.TitleField(), "new one");
    EXPECT_TRUE(dlg.IsEdited());
    int count = 0;
    DialogAnswer<COptionsSheet> cancel([&](COptionsSheet& sheet) {
        count = dlg.Store().Count();
        sheet.reject();
    });
    h.cancelOptions = false;
    dlg.Options().Open(COptionsController::SavingPage);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(dlg.Store().At(3).Title(), "new one");

    // The key of an Alt chord is not the list's; a key after the chord is.
    h.ClickRow(0);
    h.KeyInList(Qt::Key_Delete, Qt::AltModifier);
    EXPECT_EQ(dlg.Store().Count(), 4);
    h.KeyInList(Qt::Key_Alt);
    h.KeyInList(Qt::Key_Delete);
    EXPECT_EQ(dlg.Store().Count(), 3);
}

TEST(Editing, DeleteAsksUnlessConfirmationIsOff)
{
    WindowHarness h;
    std::vector<std::string> titles;
    for (int i = 0; i < 1300; ++i) titles.push_back("r" + std::to_string(i));
    h.WriteDataFile(titles);
    CLinksDlg& dlg = h.Open();
    EXPECT_EQ(dlg.Button(1014)->text(), "&Delete...");
    h.ClickRow(0);
    h.prompter.Script({Prompter::Answer::No});
    h.ClickButton(1014);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Delete 1 item?"});
    EXPECT_EQ(dlg.Store().Count(), 1300);

    dlg.List().States().SelectRange(0, 1233);
    h.prompter.Clear();
    h.prompter.Script({Prompter::Answer::Yes});
    h.ClickButton(1014);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Delete 1,234 items?"});
    EXPECT_EQ(dlg.Store().Count(), 66);
    EXPECT_EQ(dlg.Store().At(0).Title(), "r1234");
    EXPECT_EQ(h.Label(1096), "66 Total Links");
    EXPECT_EQ(h.Label(1083), "0 Selected Links");
    EXPECT_TRUE(dlg.Store().IsChanged());
    EXPECT_FALSE(dlg.IsRetrieved());
    EXPECT_EQ(dlg.TitleField()->text(), "r0");  // the form keeps the deleted text
    h.Close();

    h.settings.WriteInt("Misc", "Confirm Delete", 0);
    h.prompter.Clear();
    CLinksDlg& quick = h.Open();
    EXPECT_EQ(quick.Button(1014)->text(), "&Delete!");
    h.ClickRow(2);
    h.KeyInList(Qt::Key_Delete);
    EXPECT_TRUE(h.prompter.Messages().empty());
    EXPECT_EQ(quick.Store().Count(), 65);

    // Deleting every row is a change like any other: the empty list is saved, and the
    // backup keeps the version before (the test's clock makes every save a new day's first).
    quick.List().States().SelectAll();
    quick.OnDelete();
    EXPECT_EQ(quick.Store().Count(), 0);
    EXPECT_TRUE(quick.Persistence().SaveDataFile());
    h.Close();
    EXPECT_EQ(h.Open().Store().Count(), 0);
    LinkStore backup;
    FileSource source;
    ASSERT_TRUE(source.Open(h.DataPath() + ".bak"));
    (void)ReadDataFile(backup, source);
    EXPECT_EQ(backup.Count(), 66);
}

TEST(Editing, ClearAppliesTheClearSelectionValue)
{
    WindowHarness h;
    h.WriteDataFile({"r0"}, 2);
    CLinksDlg& dlg = h.Open();
    h.ClickRow(0);
    EXPECT_EQ(dlg.CategoryBox()->currentText(), "Cat0");
    dlg.Store().SetClearSelection("Work");  // not a category: the field stays
    h.ClickButton(1007);
    EXPECT_EQ(dlg.CategoryBox()->currentText(), "Cat0");
    dlg.Store().SetClearSelection("cat1");
    h.ClickButton(1007);
    EXPECT_EQ(dlg.CategoryBox()->currentText(), "Cat1");
    dlg.Store().SetClearSelection("LAST");
    h.ClickButton(1007);
    EXPECT_EQ(dlg.CategoryBox()->currentText(), "Cat1");
    dlg.Store().SetClearSelection("NONE");
    h.ClickButton(1007);
    EXPECT_EQ(dlg.CategoryBox()->currentText(), "");
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{0});  // the selection is not touched
}

TEST(Editing, CopyLinkAndTheSearchHistory)
{
    WindowHarness h;
    h.settings.WriteInt("Misc", "Copy Link", 1);
    h.WriteDataFile({"r0", "r1"});
    CLinksDlg& dlg = h.Open();
    h.Type(dlg.SearchBox(), "  Find Me ");
    h.ClickRow(1);
    EXPECT_EQ(h.clipboard.text, "http://example.com/1");
    EXPECT_FALSE(dlg.LinkField()->hasSelectedText());
    // The click put the search text into the history and emptied the box.
    EXPECT_EQ(dlg.SearchBox()->currentText(), "");
    ASSERT_EQ(dlg.SearchBox()->count(), 1);
    EXPECT_EQ(dlg.SearchBox()->itemText(0), "Find Me");
    h.Type(dlg.SearchBox(), "find me");
    h.ClickButton(1007);
    h.Type(dlg.SearchBox(), "Item 10");
    h.ClickButton(1007);
    h.Type(dlg.SearchBox(), "Item 9");
    h.ClickButton(1007);
    QStringList items;
    for (int i = 0; i < dlg.SearchBox()->count(); ++i) items << dlg.SearchBox()->itemText(i);
    EXPECT_EQ(items, (QStringList{"Find Me", "Item 9", "Item 10"}));
}

TEST(Editing, LaunchOpensTheTrimmedLinkOrSaysWhy)
{
    WindowHarness h;
    h.WriteDataFile({"r0"});
    CLinksDlg& dlg = h.Open();
    h.Type(dlg.LinkField(), "   ");
    h.ClickButton(1005);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Please put a link or full filename in the Link field."});
    EXPECT_TRUE(h.shell.Opened().empty());

    dlg.LinkField()->setText("  https://example.com/a b  ");
    h.ClickButton(1005);
    WaitForLaunches(dlg);
    EXPECT_EQ(h.shell.Opened(), std::vector<std::string>{"https://example.com/a b"});

    h.prompter.Clear();
    h.shell.answer = Shell::FileNotFound;
    dlg.LinkField()->setText("/no/such/file.txt");
    h.ClickButton(1005);
    WaitForLaunches(dlg);
    EXPECT_EQ(h.prompter.Texts(),
              std::vector<std::string>{"Could not launch \"/no/such/file.txt\".  This file was not found."});

    h.prompter.Clear();
    h.shell.answer = Shell::NoAssociation;
    h.DoubleClickRow(0);
    WaitForLaunches(dlg);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{
                                      "Could not launch \"http://example.com/0\".  You may need to use your file manager "
                                      "to set up an association for this link or full filename."});
    EXPECT_EQ(h.shell.Opened().back(), "http://example.com/0");
}

TEST(Editing, WhatOpensIsWhatIsShownAndNothingRunsWithoutAsking)
{
    WindowHarness h;
    const std::string docs = h.paths.docs;
    std::ofstream(docs + "/run.sh") << "#!/bin/sh\n";
    std::ofstream(docs + "/tool") << "binary";
    std::filesystem::permissions(docs + "/tool", std::filesystem::perms::owner_all);
    std::ofstream(docs + "/notes.pdf") << "%PDF";
    h.WriteRecords({{"Holiday", std::string("file://") + docs + "/Holiday\xE2\x80\xAE" + "fdp.sh", "", "", {0, 1}, {0, 1}},
                    {"Hidden", std::string("https://good.example/\0file:///evil.desktop", 42), "", "", {0, 1}, {0, 1}}});
    CLinksDlg& dlg = h.Open();

    // An invisible character is written out in the Link field; opening it asks, as a
    // program would be started, and names exactly what would open.
    h.ClickRow(0);
    EXPECT_EQ(dlg.LinkField()->text().toStdString(), "file://" + docs + "/Holiday<U+202E>fdp.sh");
    h.prompter.Clear();
    h.prompter.Script({Prompter::Answer::No});
    h.ClickButton(1005);
    ASSERT_EQ(h.prompter.Messages().size(), 1u);
    EXPECT_EQ(h.prompter.Texts()[0], "This link starts a program:  " + docs + "/Holiday<U+202E>fdp.sh  Start it?");
    EXPECT_FALSE(h.prompter.Messages()[0].defaultYes);
    WaitForLaunches(dlg);
    EXPECT_TRUE(h.shell.Opened().empty());
    // A link with a NUL in it is not handed on at all: the system would see only half of it.
    h.ClickRow(1);
    h.prompter.Clear();
    h.ClickButton(1005);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Could not launch \"https://good.example/<U+0000>file:///evil."
                                                           "desktop\".  It holds a control character (<U+0000>), so what "
                                                           "would be opened is not what is shown."});
    WaitForLaunches(dlg);
    EXPECT_TRUE(h.shell.Opened().empty());

    // Programs and launchers ask; Yes opens them; documents and web addresses just open.
    // A relative name is taken from the data file's folder.
    const struct {
        std::string link;
        bool asks;
        std::string opened;
    } cases[] = {
        {"run.sh", true, docs + "/run.sh"},
        {"tool", true, docs + "/tool"},
        {"notes.pdf", false, docs + "/notes.pdf"},
        {"./sub/../notes.pdf", false, docs + "/notes.pdf"},
        {"vscode://file/x", true, "vscode://file/x"},
        {"mailto:a@b.example", false, "mailto:a@b.example"},
        {"ftp://f.example/x.exe", false, "ftp://f.example/x.exe"},
        {"C:\\Tools\\setup.EXE", true, docs + "/C:\\Tools\\setup.EXE"},
    };
    for (const auto& c : cases) {
        h.ClickButton(1007);
        dlg.LinkField()->setText(QString::fromStdString(c.link));
        h.prompter.Clear();
        h.prompter.Script({Prompter::Answer::Yes});
        h.ClickButton(1005);
        WaitForLaunches(dlg);
        EXPECT_EQ(h.prompter.Messages().size(), c.asks ? 1u : 0u) << c.link;
        EXPECT_EQ(h.shell.Opened().back(), c.opened) << c.link;
    }
    // The failure names the file that was looked for.
    h.shell.answer = Shell::FileNotFound;
    dlg.LinkField()->setText("missing.txt");
    h.prompter.Clear();
    h.ClickButton(1005);
    WaitForLaunches(dlg);
    EXPECT_EQ(h.prompter.Texts(),
              std::vector<std::string>{"Could not launch \"" + docs + "/missing.txt\".  This file was not found."});
    // Too long to be handed to the system: said so.
    const LaunchCheck tooLong = CheckLaunch("https://x.example/" + std::string(LongestLaunchableLink(), 'a'), docs);
    EXPECT_EQ(tooLong.verdict, LaunchCheck::Verdict::Refuse);
    EXPECT_NE(tooLong.message.find("characters long, and this system opens links of at most"), std::string::npos);
}

TEST(Editing, TheFifthStoredRecordSaves)
{
    WindowHarness h;
    CLinksDlg& dlg = h.Open();
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(std::filesystem::exists(h.DataPath()), i > 5);
        h.ClickButton(1007);
        h.Type(dlg.TitleField(), QString("link %1").arg(i));
        h.ClickButton(1026);
    }
    EXPECT_TRUE(std::filesystem::exists(h.DataPath()));
    EXPECT_FALSE(dlg.Store().IsChanged());
    EXPECT_EQ(dlg.Store().PressCount(), 0);
}

TEST(Editing, OlderCodePageTextIsLoadedAsUtf8AndBehavesLikeTypedText)
{
    WindowHarness h;
    {
        LinkStore store;
        EXPECT_TRUE(store.InsertLink(0, "Caf\xE9", "C:\\x", "Line\r\nMore", "Caf\xE9s", {0, 1}, {0, 1}));
        AtomicFileWriter writer(false);
        ASSERT_TRUE(writer.Open(h.DataPath()) && WriteDataFile(store, writer) && writer.Commit());
    }
    CLinksDlg& dlg = h.Open();
    h.ClickRow(0);
    EXPECT_EQ(dlg.TitleField()->text(), QString::fromUtf8("Caf\xC3\xA9"));
    h.Type(dlg.LinkField(), "\\y");
    h.ClickButton(1053);
    const CAnnotatedLink& r = dlg.Store().At(0);
    EXPECT_EQ(r.Title(), "Caf\xC3\xA9");
    EXPECT_EQ(r.Category(), "Caf\xC3\xA9s");
    EXPECT_EQ(r.Description(), "Line\r\nMore");
    EXPECT_EQ(r.Link(), "C:\\x\\y");

    // Typed text finds it, and typing the category does not list it twice.
    h.Type(dlg.SearchBox(), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{0});
    h.ClickButton(1007);
    h.Type(dlg.TitleField(), "second");
    dlg.CategoryBox()->setEditText(QString());
    h.Type(dlg.CategoryBox(), QString::fromUtf8("Caf\xC3\xA9s"));
    h.ClickButton(1026);
    EXPECT_EQ(dlg.Store().Categories(), std::vector<std::string>{"Caf\xC3\xA9s"});
    EXPECT_EQ(dlg.CategoryBox()->count(), 1);
}

TEST(Editing, TheDesktopOpenerChecksFileNamesFirst)
{
    QtShell shell;
    // Nothing is started for a file that is not there, whatever the name holds.
    EXPECT_EQ(shell.Open("/no/such/folder/plan.txt"), Shell::FileNotFound);
    EXPECT_EQ(shell.Open("notes that do not exist.txt; rm -rf ~"), Shell::FileNotFound);
    EXPECT_EQ(shell.Open("file:///no/such/file.pdf"), Shell::FileNotFound);
    EXPECT_EQ(LaunchFailureText("x", Shell::AccessDenied), "Could not launch \"x\".  Access to this file was denied.");
    EXPECT_EQ(LaunchFailureText("x", Shell::OutOfMemory),
              "Could not launch \"x\".  There isn't enough available memory.  Try closing another application.");
    EXPECT_EQ(LaunchFailureText("x", Shell::Other), "Could not launch \"x\".");
}
