#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "common/SortedComboBox.h"
#include "common/SortedListBox.h"
#include "app/CommandMenu.h"
#include "app/LinkListCtrl.h"
#include "import/ImportDlg.h"
#include "import/ServiceFormats.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "tests/support/BrowserFixtures.h"
#include "tests/support/DialogAnswer.h"
#include "tests/support/SpinUntil.h"
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
        // The one file found is selected already: Select takes it at once.
        EXPECT_TRUE(import.SelectButton()->isEnabled());
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
    EXPECT_EQ(dlg.Store().At(6).Category(), "News");
    EXPECT_EQ(dlg.Store().At(6).Description(), "The last one's note");
    EXPECT_EQ(dlg.Store().Categories(), std::vector<std::string>{"News"});
    EXPECT_EQ(h.Label(1096), "7 Total Links");
    // Seven links with a save limit of five: one save, not one per link past the fifth.
    EXPECT_FALSE(dlg.Store().IsChanged());
    EXPECT_EQ(dlg.Store().PressCount(), 0);
    LinkStore saved;
    FileSource source;
    ASSERT_TRUE(source.Open(h.DataPath()));
    FakePrompter quiet;
    (void)ReadDataFile(saved, source);
    EXPECT_EQ(saved.Count(), 7);

    h.prompter.Clear();
    const std::string exported = (h.temp.path / "out.html").string();
    EXPECT_TRUE(dlg.Import().ExportBookmarksTo(exported));
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Exported 7 links."});
    // The other formats Export offers write the same links in their own shape.
    const std::string xbel = (h.temp.path / "out.xbel").string();
    EXPECT_TRUE(dlg.Import().ExportBookmarksTo(xbel, {}, ExportFormat::Xbel));
    std::ifstream xml(xbel);
    const std::string xbelText((std::istreambuf_iterator<char>(xml)), {});
    EXPECT_EQ(xbelText.rfind("<?xml", 0), 0u);
    EXPECT_EQ(ServiceFormatOf(xbelText), ServiceFormat::Xbel);
    EXPECT_FALSE(dlg.Import().ExportBookmarksTo((h.temp.path / "no" / "such" / "dir" / "x.html").string()) &&
                 std::filesystem::exists(h.temp.path / "no"));

    // Several rows selected: Export offers them only; Cancel writes nothing.
    h.ClickRow(1);
    h.ClickRow(6, Qt::ControlModifier);
    h.prompter.Clear();
    h.prompter.ScriptChoices({2});
    dlg.Import().ExportCommand();
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{
        "Export only the 2 selected links, or all 7 links? [&Selected Links] [&All Links] [Cancel]"});
    h.prompter.Clear();
    const std::string selected = (h.temp.path / "selected.html").string();
    EXPECT_TRUE(dlg.Import().ExportBookmarksTo(selected, h.SelectedRows()));
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Exported 2 links."});
    std::ifstream written(selected);
    const std::string html((std::istreambuf_iterator<char>(written)), {});
    EXPECT_NE(html.find("The last one's note"), std::string::npos);
    size_t anchors = 0;
    for (size_t at = html.find("<A "); at != std::string::npos; at = html.find("<A ", at + 1)) ++anchors;
    EXPECT_EQ(anchors, 2u);

    // Nothing to export: said as Check Links says it, and no file is written.
    dlg.SystemCommand(CLinksDlg::CmdSelectAll);
    h.prompter.Script({Prompter::Answer::Yes});
    h.ClickButton(1014);
    ASSERT_EQ(dlg.Store().Count(), 0);
    h.prompter.Clear();
    const std::string empty = (h.temp.path / "empty.html").string();
    EXPECT_FALSE(dlg.Import().ExportBookmarksTo(empty));
    dlg.Import().ExportCommand();
    EXPECT_EQ(h.prompter.Texts(), (std::vector<std::string>{"There are no links to export.", "There are no links to export."}));
    EXPECT_FALSE(std::filesystem::exists(empty));
}

TEST(ImportDialog, AFirstStartOffersTheBrowsersBookmarksUntilDeclinedForGood)
{
    using namespace browser_fixtures;
    WindowHarness h;
    h.paths.home = (h.temp.path / "home").string();
    PutFirefoxProfile(h.paths.home);
    PutChromiumProfile(h.paths.home, ".config/chromium", "Default");
    auto start = [&h](std::initializer_list<int> choices) {
        h.prompter.Clear();
        h.prompter.ScriptChoices(choices);
        CLinksDlg& dlg = h.Open();
        QApplication::processEvents();
        std::vector<std::string> texts = h.prompter.Texts();
        EXPECT_EQ(dlg.List().accessibleDescription().startsWith("No links yet."), dlg.Store().Count() == 0);
        h.Close();
        return texts;
    };
    // Not Now (also Enter's and Esc's answer) asks again at the next start.
    const std::vector<std::string> asked = start({1});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].rfind("Norvelle found bookmarks in your browsers (Firefox: ", 0), 0u) << asked[0];
    EXPECT_NE(asked[0].find(", Chromium: Default).  Import them now? [&Import...] [&Not Now] [&Don't Ask Again]"),
              std::string::npos);
    // Import opens the Import dialog with the profiles found.
    DialogAnswer<CImportDlg> import([](CImportDlg& dialog) {
        EXPECT_EQ(dialog.ProfileList()->count(), 2);
        dialog.reject();
    });
    EXPECT_EQ(start({0}).size(), 1u);
    EXPECT_TRUE(import.seen);
    EXPECT_EQ(start({2}).size(), 1u);
    EXPECT_TRUE(start({}).empty());  // declined for good
    EXPECT_EQ(h.settings.ReadInt("Import", "Offer Browser Import", 1), 0);

    // A data file that is there already, even empty of links, is no first start.
    h.settings.WriteInt("Import", "Offer Browser Import", 1);
    h.WriteDataFile({});
    EXPECT_TRUE(start({0}).empty());
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
        for (int i = 0; i < dlg.Store().Count(); ++i) out.emplace_back(dlg.Store().At(i).Title());
        return out;
    };

    DialogAnswer<CImportDlg> answer([&](CImportDlg& import) {
        ASSERT_EQ(import.ProfileList()->count(), 2);
        // Counted off the window thread: the labels say so until each count is known.
        EXPECT_TRUE(SpinUntil([&] { return !import.IsCountingProfiles(); }));
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
    EXPECT_EQ(dlg.Store().At(2).Title(), "");  // the empty title stays empty
    EXPECT_EQ(dlg.Store().At(2).Added(), CUnixDates().DateOf(1510000000));
    EXPECT_EQ(dlg.Store().At(8).Category(), "Bookmarks bar");
    EXPECT_EQ(dlg.Store().At(8).Added(), NowDate(h.clock));  // dates not kept for this one
    EXPECT_EQ(h.settings.ReadInt("Import", "Keep Dates", 1), 0);
    EXPECT_EQ(h.settings.ReadInt("Import", "Skip Existing", 0), 1);
    EXPECT_EQ(Snapshot(h.paths.home), profileBefore);

    // Each import is one step: Undo takes out exactly its links, Redo puts them back.
    const std::vector<std::string> all = titles();
    EXPECT_EQ(dlg.CommandMenu().Entry(CLinksDlg::CmdUndo)->text(), "&Undo Import\tCtrl+Z");
    dlg.UndoCommands().Step(false);
    EXPECT_EQ(titles(), std::vector<std::string>(all.begin(), all.begin() + 8));
    dlg.UndoCommands().Step(false);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Mine", "Other"}));
    EXPECT_EQ(h.Label(1096), "2 Total Links");
    dlg.UndoCommands().Step(true);
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

TEST(ImportDialog, LinksDraggedOntoTheWindowFillTheFormOrAreAddedAsOneStep)
{
    WindowHarness h;
    h.WriteDataFile({"First"});
    CLinksDlg& dlg = h.Open();
    QApplication::setActiveWindow(&dlg);
    // Sends a drag and its drop; true when the window would take the drag.
    auto drop = [&dlg](QMimeData& mime) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &dropped);
        QCoreApplication::processEvents();
        return true;
    };

    // A link from a page, as Firefox drags it: address and title in UTF-16.
    QMimeData fromPage;
    const QString moz = QString::fromUtf8("https://caf\xC3\xA9.example/menu\nCaf\xC3\xA9 menu");
    fromPage.setData("text/x-moz-url", QByteArray(reinterpret_cast<const char*>(moz.utf16()), moz.size() * 2));
    ASSERT_TRUE(drop(fromPage));
    EXPECT_EQ(dlg.TitleField()->text(), QString::fromUtf8("Caf\xC3\xA9 menu"));
    EXPECT_EQ(dlg.LinkField()->text(), QString::fromUtf8("https://caf\xC3\xA9.example/menu"));
    EXPECT_EQ(QApplication::focusWidget(), dlg.TitleField());
    EXPECT_EQ(dlg.Store().Count(), 1);  // stored only by Add
    h.ClickButton(1026);
    ASSERT_EQ(dlg.Store().Count(), 2);
    EXPECT_EQ(dlg.Store().At(1).Title(), "Caf\xC3\xA9 menu");

    // Text that is not one address is not taken; an address bar's text is.
    QMimeData words;
    words.setText("two words");
    EXPECT_FALSE(drop(words));
    QMimeData bar;
    bar.setText("  https://bar.example/x  ");
    ASSERT_TRUE(drop(bar));
    EXPECT_EQ(dlg.LinkField()->text(), "https://bar.example/x");
    EXPECT_EQ(dlg.TitleField()->text(), "");

    // Several links: asked first; No adds nothing, Yes adds them as one step.
    QMimeData several;
    several.setUrls({QUrl("https://a.example/"), QUrl("https://b.example/"), QUrl("file:///home/me/notes.pdf")});
    h.prompter.Clear();
    h.prompter.Script({Prompter::Answer::No});
    ASSERT_TRUE(drop(several));
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Add 3 links?"});
    EXPECT_EQ(dlg.Store().Count(), 2);
    h.prompter.Script({Prompter::Answer::Yes});
    ASSERT_TRUE(drop(several));
    ASSERT_EQ(dlg.Store().Count(), 5);
    EXPECT_EQ(dlg.Store().At(4).Link(), "file:///home/me/notes.pdf");
    EXPECT_EQ(h.Label(1096), "5 Total Links");
    EXPECT_EQ(dlg.CommandMenu().Entry(CLinksDlg::CmdUndo)->text(), "&Undo Add\tCtrl+Z");
    dlg.UndoCommands().Step(false);
    EXPECT_EQ(dlg.Store().Count(), 2);
    dlg.UndoCommands().Step(true);
    EXPECT_EQ(dlg.Store().Count(), 5);

    // A browser's store dropped from a file manager opens the import with it.
    const std::filesystem::path store = browser_fixtures::PutChromiumProfile(h.temp.path, "chromium", "Default");
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString(store.string()))});
    DialogAnswer<CImportDlg> answer([&](CImportDlg& import) {
        EXPECT_EQ(import.FileNameField()->text().toStdString(), store.string());
        import.reject();
    });
    ASSERT_TRUE(drop(file));
    EXPECT_TRUE(answer.seen);

    // So does a service's export, told by its content whatever its name; it imports as one step.
    const std::string pocket = (h.temp.path / "part_000000.csv").string();
    std::ofstream(pocket) << "title,url,time_added,tags,status\nP,https://pocket.example/,1600000000,x,unread\n";
    QMimeData service;
    service.setUrls({QUrl::fromLocalFile(QString::fromStdString(pocket))});
    const int before = dlg.Store().Count();
    DialogAnswer<CImportDlg> imports([&](CImportDlg& import) {
        import.Import();
        import.reject();
    });
    ASSERT_TRUE(drop(service));
    ASSERT_EQ(dlg.Store().Count(), before + 1);
    EXPECT_EQ(dlg.Store().At(before).Description(), "Tags: unread, x");
    dlg.UndoCommands().Step(false);
    EXPECT_EQ(dlg.Store().Count(), before);
}

TEST(ImportDialog, ProfilesAreCountedOffTheWindowThreadAndTheCountStopsWithTheDialog)
{
    TempFolder temp;
    // A large store takes a while to count; a hostile one cannot be read.
    const std::string big = (temp.path / "Bookmarks").string();
    {
        std::ofstream out(big, std::ios::binary);
        out << R"({"roots": {"other": {"children": [)";
        for (int i = 0; i < 200'000; ++i) out << R"({"type": "url", "url": "https://x/"},)";
        out << R"({"type": "url", "url": "https://last/"}]}}})";
    }
    const std::string hostile = (temp.path / "places.sqlite").string();
    std::ofstream(hostile, std::ios::binary) << std::string("SQLite format 3\0", 16) << "junk";
    const std::vector<BrowserProfile> profiles = {{"Chromium", "Big", big}, {"Firefox", "Hostile", hostile}};
    FakePrompter prompter;
    IntakeOptions options;
    const auto started = std::chrono::steady_clock::now();
    {
        CImportDlg dlg(BookmarkTarget{}, prompter, CCountFormatter(true, ","), options);
        dlg.SetProfiles(profiles);
        EXPECT_EQ(dlg.ProfileList()->item(0)->text(), "Chromium: Big (counting links...)");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(300));

    CImportDlg dlg(BookmarkTarget{}, prompter, CCountFormatter(true, ","), options);
    dlg.SetProfiles(profiles);
    // Slow under the sanitizers: the time allowed is generous.
    EXPECT_TRUE(SpinUntil([&] { return !dlg.IsCountingProfiles(); }, 60000));
    EXPECT_EQ(dlg.ProfileList()->item(0)->text(), "Chromium: Big (200,001 links)");
    EXPECT_EQ(dlg.ProfileList()->item(1)->text(), "Firefox: Hostile (cannot be read)");
}
