#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "common/SortedComboBox.h"
#include "common/SortedListBox.h"
#include "app/CommandMenu.h"
#include "import/ImportDlg.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "tests/support/BrowserFixtures.h"
#include "tests/support/DialogAnswer.h"
#include "tests/support/WindowHarness.h"

TEST(ImportDialog, FindsSelectsAndImportsABookmarkFileWithOneSave)
{
    WindowHarness h;
    const std::filesystem::path folder = h.temp.path / "exports" / "firefox";
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "bookmarks.html").string();
    std::string text = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><H3>News</H3>\n<DL><p>\n";
    for (int i = 0; i < 7; ++i) text += "<DT><A HREF=\"https://n" + std::to_string(i) + ".example/\">News " + std::to_string(i) + "</A>\n";
    text += "<DD>The last one's note\n</DL><p>\n</DL>\n";
    std::ofstream(file) << text;
    CLinksDlg& dlg = h.Open();

    DialogAnswer<CImportDlg> answer([&](CImportDlg& import) {
        EXPECT_EQ(import.windowTitle(), "Imports Favorites or Bookmarks");
        EXPECT_EQ(import.PatternField()->text(), "bookmark.htm*");
        EXPECT_FALSE(import.SelectButton()->isEnabled());
        EXPECT_EQ(import.DriveList()->currentText(), QDir::homePath());
        h.prompter.Clear();
        import.Select();
        EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Please select a file."});

        import.DriveList()->Add(QString::fromStdString(h.temp.path.string()));
        import.DriveList()->setCurrentText(QString::fromStdString(h.temp.path.string()));
        import.PatternField()->setText("bookmark.htm*");
        import.TyposBox()->setChecked(true);  // "bookmarks.html": a final extra character
        QTest::mouseClick(import.FindButton(), Qt::LeftButton);
        ASSERT_EQ(import.ResultList()->count(), 1);
        EXPECT_EQ(import.ResultList()->item(0)->text().toStdString(), file);
        EXPECT_TRUE(import.StatusLabel()->text().startsWith("Found 1 file in ")) << import.StatusLabel()->text().toStdString();
        EXPECT_EQ(import.FindButton()->text(), "&Find");
        import.ResultList()->setCurrentRow(0);
        QTest::mouseClick(import.SelectButton(), Qt::LeftButton);
        EXPECT_EQ(import.FileNameField()->text().toStdString(), file);

        h.prompter.Clear();
        QTest::keyClick(import.FileNameField(), Qt::Key_Return);  // Enter imports
        EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Imported 7 links."});
        import.PatternField()->setText("   ");
        h.prompter.Clear();
        import.FindBookmarkFiles();
        EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"The pattern's length is too short or too long."});
        import.reject();
    });
    QApplication::setActiveWindow(&dlg);
    dlg.SystemCommand(CLinksDlg::CmdImport);
    ASSERT_TRUE(answer.seen);
    ASSERT_EQ(dlg.Store().Count(), 7);
    EXPECT_EQ(dlg.Store().At(6).category, "News");
    EXPECT_EQ(dlg.Store().At(6).description, "The last one's note");
    EXPECT_EQ(dlg.Store().Categories(), std::vector<std::string>{"News"});
    EXPECT_EQ(h.Label(1096), "7 Total Links");
    // Seven links with a save limit of five: one save, not one per link past the fifth.
    EXPECT_FALSE(dlg.Store().IsChanged());
    EXPECT_EQ(dlg.Store().PressCount(), 0);
    LinkStore saved;
    FileSource source;
    ASSERT_TRUE(source.Open(h.DataPath()));
    FakePrompter quiet;
    ReadDataFile(saved, source, quiet);
    EXPECT_EQ(saved.Count(), 7);

    h.prompter.Clear();
    const std::string exported = (h.temp.path / "out.html").string();
    EXPECT_TRUE(dlg.ExportBookmarksTo(exported));
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Exported 7 links."});
    EXPECT_FALSE(dlg.ExportBookmarksTo((h.temp.path / "no" / "such" / "dir" / "x.html").string()) &&
                 std::filesystem::exists(h.temp.path / "no"));
}

TEST(ImportDialog, ImportsBrowserProfilesAsUndoableStepsWithTheChoicesRemembered)
{
    using namespace browser_fixtures;
    WindowHarness h;
    h.paths.home = (h.temp.path / "home").string();
    const std::filesystem::path places = PutFirefoxProfile(h.paths.home);
    const std::filesystem::path chromium = PutChromiumProfile(h.paths.home, ".config/chromium", "Default");
    const auto profileBefore = Snapshot(h.paths.home);
    const CLinkDate then = LinkDateFromLocal({2001, 1, 1, 0, 0, 0});
    h.WriteRecords({{"Mine", "http://debian.org", "", "", then, then}, {"Other", "https://x.example/", "", "", then, then}});
    CLinksDlg& dlg = h.Open();
    auto titles = [&dlg] {
        std::vector<std::string> out;
        for (int i = 0; i < dlg.Store().Count(); ++i) out.push_back(dlg.Store().At(i).title);
        return out;
    };

    DialogAnswer<CImportDlg> answer([&](CImportDlg& import) {
        ASSERT_EQ(import.ProfileList()->count(), 2);
        EXPECT_EQ(import.ProfileList()->item(0)->text(), "Firefox: default-release (8 links)");
        EXPECT_EQ(import.ProfileList()->item(1)->text(), "Chromium: Default (5 links)");
        EXPECT_TRUE(import.KeepDatesBox()->isChecked());
        EXPECT_TRUE(import.SkipExistingBox()->isChecked());
        import.ProfileList()->setCurrentRow(0);
        EXPECT_EQ(import.FileNameField()->text().toStdString(), places.string());
        h.prompter.Clear();
        QTest::mouseClick(import.ImportButton(), Qt::LeftButton);
        // Both Debian bookmarks point where "Mine" does.
        EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Imported 6 links.  Skipped 2 links already in the list."});
        import.KeepDatesBox()->setChecked(false);
        import.ProfileList()->setCurrentRow(1);
        h.prompter.Clear();
        QTest::keyClick(import.FileNameField(), Qt::Key_Return);
        EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Imported 5 links."});
        import.reject();
    });
    QApplication::setActiveWindow(&dlg);
    dlg.SystemCommand(CLinksDlg::CmdImport);
    ASSERT_TRUE(answer.seen);
    ASSERT_EQ(dlg.Store().Count(), 13);
    EXPECT_EQ(dlg.Store().At(2).title, "");  // the empty title stays empty
    EXPECT_EQ(dlg.Store().At(2).added, CUnixDates().DateOf(1510000000));
    EXPECT_EQ(dlg.Store().At(8).category, "Bookmarks bar");
    EXPECT_EQ(dlg.Store().At(8).added, h.clock.NowDate());  // dates not kept for this one
    EXPECT_EQ(h.settings.ReadInt("Import", "Keep Dates", 1), 0);
    EXPECT_EQ(h.settings.ReadInt("Import", "Skip Existing", 0), 1);
    EXPECT_EQ(Snapshot(h.paths.home), profileBefore);

    // Each import is one step: Undo takes out exactly its links, Redo puts them back.
    const std::vector<std::string> all = titles();
    EXPECT_EQ(dlg.CommandMenu().Entry(CLinksDlg::CmdUndo)->text(), "&Undo Import\tCtrl+Z");
    dlg.UndoCommand(false);
    EXPECT_EQ(titles(), std::vector<std::string>(all.begin(), all.begin() + 8));
    dlg.UndoCommand(false);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Mine", "Other"}));
    EXPECT_EQ(h.Label(1096), "2 Total Links");
    dlg.UndoCommand(true);
    EXPECT_EQ(titles(), std::vector<std::string>(all.begin(), all.begin() + 8));
    EXPECT_EQ(dlg.CommandMenu().Entry(CLinksDlg::CmdRedo)->text(), "Re&do Import\tCtrl+Y");

    // The choices come back when the dialog opens again.
    DialogAnswer<CImportDlg> again([&](CImportDlg& import) {
        EXPECT_FALSE(import.KeepDatesBox()->isChecked());
        EXPECT_TRUE(import.SkipExistingBox()->isChecked());
        import.reject();
    });
    dlg.SystemCommand(CLinksDlg::CmdImport);
    EXPECT_TRUE(again.seen);
}
