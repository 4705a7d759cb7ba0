#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "common/SortedComboBox.h"
#include "common/SortedListBox.h"
#include "import/ImportDlg.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
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
