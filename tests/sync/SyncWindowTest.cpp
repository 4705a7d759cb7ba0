#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <filesystem>
#include <fstream>

#include "app/LinkListCtrl.h"
#include "common/SortedComboBox.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "tests/support/SpinUntil.h"
#include "tests/support/WindowHarness.h"

namespace fs = std::filesystem;

namespace {

std::string FileBytes(const std::vector<std::string>& titles, double added = 40000)
{
    LinkStore store;
    for (const std::string& t : titles) EXPECT_TRUE(store.InsertLink(store.Count(), t, "http://example.com/" + t, "", "", {0, added}, {0, added}));
    StringSink sink;
    WriteDataFile(store, sink);
    return sink.bytes;
}

// Another program writes the file: in place, or a new file renamed over it.
void WriteFromOutside(const std::string& path, const std::vector<std::string>& titles, bool rename, double added = 40000)
{
    const std::string bytes = FileBytes(titles, added);
    if (!rename) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return;
    }
    std::ofstream(path + ".sync-tmp", std::ios::binary) << bytes;
    fs::rename(path + ".sync-tmp", path);
}

// Reads a data file as another program would; false when it cannot be opened.
bool ReadInto(const std::string& path, LinkStore& store)
{
    FileSource source;
    FakePrompter quiet;
    if (!source.Open(path)) return false;
    (void)ReadDataFile(store, source);
    return true;
}

// Another program adds a record in front of the others and renames its file into place.
void PrependFromOutside(const std::string& path, const std::string& title)
{
    LinkStore store;
    ASSERT_TRUE(ReadInto(path, store));
    EXPECT_TRUE(store.InsertLink(0, title, "http://example.com/new", "", "", {0, 40000}, {0, 40000}));
    StringSink sink;
    WriteDataFile(store, sink);
    std::ofstream(path + ".sync-tmp", std::ios::binary) << sink.bytes;
    fs::rename(path + ".sync-tmp", path);
}

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(SyncWindow, AChangedFileIsReloadedOrAskedAboutAndNothingIsLost)
{
    WindowHarness h;
    h.WriteDataFile({"r0", "r1", "r2", "r3", "r4"});
    CLinksDlg& dlg = h.Open();
    const std::string path = h.DataPath();

    // Nothing unsaved: a version renamed into place is loaded at once, keeping the view.
    h.Type(dlg.SearchBox(), "r3");
    ASSERT_TRUE(SpinUntil([&] { return !dlg.IsSearchBusy(); }));
    ASSERT_EQ(h.SelectedRows(), (std::vector<int>{3}));
    PrependFromOutside(path, "new");
    ASSERT_TRUE(SpinUntil([&] { return dlg.Store().Count() == 6; })) << "the watcher saw no change";
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{4}));
    EXPECT_EQ(dlg.TitleField()->text().toStdString(), "r3");
    EXPECT_EQ(dlg.SearchBox()->currentText().toStdString(), "r3");
    EXPECT_TRUE(dlg.StatusText()->isVisible());
    EXPECT_EQ(dlg.StatusText()->text().toStdString(),
              "The data file was changed by another program and has been loaded again.");
    EXPECT_TRUE(h.prompter.Messages().empty());

    // The same bytes with a new time: no reload, no question.
    dlg.StatusText()->hide();
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::hours(1));
    dlg.Sync().CheckDiskVersion();
    EXPECT_FALSE(dlg.StatusText()->isVisible());
    EXPECT_TRUE(h.prompter.Messages().empty());

    // Unsaved changes, a version written in place: the question, with the file's name.
    // Keep Mine copies theirs aside; the next save replaces the file.
    h.ClickRow(0);
    h.Type(dlg.TitleField(), " mine");
    h.ClickButton(1053);
    ASSERT_TRUE(dlg.Store().IsChanged());
    WriteFromOutside(path, {"theirs"}, false);
    h.prompter.ScriptChoices({1});
    dlg.Sync().CheckDiskVersion();
    ASSERT_EQ(h.prompter.Texts().size(), 2u);
    const std::string question = h.prompter.Texts()[0];
    EXPECT_NE(question.find("\"" + path + "\", changed on "), std::string::npos) << question;
    EXPECT_NE(question.find("The data file was changed by another program. Load it and lose your changes, keep your "
                            "version, or save your version under another name? [&Load It] [&Keep Mine] [&Save Mine "
                            "under Another Name]"),
              std::string::npos)
        << question;
    const std::string aside = (h.temp.path / "Documents" / "Norvelle (other version).dat").string();
    EXPECT_EQ(h.prompter.Texts()[1], "The other version of the data file is kept in \"" + aside + "\".");
    EXPECT_EQ(Contents(aside), FileBytes({"theirs"}));
    EXPECT_EQ(dlg.Store().At(0).Title(), "new mine");
    ASSERT_TRUE(dlg.Persistence().SaveDataFile());
    EXPECT_EQ(h.prompter.Texts().size(), 2u);

    // Load It: their version replaces the window's.
    h.prompter.Clear();
    h.ClickRow(1);
    h.Type(dlg.TitleField(), " lost");
    h.ClickButton(1053);
    WriteFromOutside(path, {"a", "b"}, true);
    h.prompter.ScriptChoices({0});
    dlg.Sync().CheckDiskVersion();
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(dlg.Store().IsChanged());

    // Save Mine under Another Name: ours goes to a new file, the window shows theirs.
    h.prompter.Clear();
    h.ClickRow(0);
    h.Type(dlg.TitleField(), "2");
    h.ClickButton(1053);
    WriteFromOutside(path, {"c"}, true);
    h.prompter.ScriptChoices({2});
    dlg.Sync().CheckDiskVersion();
    const std::string mine = (h.temp.path / "Documents" / "Norvelle (my version).dat").string();
    ASSERT_TRUE(fs::exists(mine));
    const std::vector<std::string> mineTitles = TitlesIn(mine);
    ASSERT_FALSE(mineTitles.empty());
    EXPECT_EQ(mineTitles[0], "a2");
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"c"}));
    EXPECT_NE(h.prompter.Texts().back().find("Your version is saved in \"" + mine + "\"."), std::string::npos);

    // A timed save on a worker leaves a changed file alone; the window then asks.
    h.ClickRow(0);
    h.Type(dlg.TitleField(), "w");
    h.ClickButton(1053);
    WriteFromOutside(path, {"c"}, true, 40001);  // "c" again, saved on another day
    h.prompter.Clear();
    h.prompter.ScriptChoices({0});
    dlg.TimedSaveTick();
    ASSERT_TRUE(SpinUntil([&] { return !h.prompter.Texts().empty(); }));
    EXPECT_NE(h.prompter.Texts()[0].find("The data file was changed by another program."), std::string::npos);
    EXPECT_EQ(TitlesIn(path), std::vector<std::string>{"c"});  // not "cw"
    EXPECT_EQ(Titles(dlg), std::vector<std::string>{"c"});

    // A damaged version cannot be loaded: the window keeps its links and says why, once.
    h.prompter.Clear();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << FileBytes({"x", "y"}).substr(0, 30);
    dlg.Sync().CheckDiskVersion();
    dlg.Sync().CheckDiskVersion();
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"c"}));
    EXPECT_FALSE(h.prompter.Texts().empty());
    const size_t reported = h.prompter.Texts().size();
    dlg.Sync().CheckDiskVersion();
    EXPECT_EQ(h.prompter.Texts().size(), reported);

    // Save Mine under Another Name while the other version cannot be read: ours goes
    // aside, and the window says that it still shows ours, unsaved.
    h.ClickRow(0);
    h.Type(dlg.TitleField(), "4");
    h.ClickButton(1053);
    h.prompter.Clear();
    h.prompter.ScriptChoices({2});
    EXPECT_FALSE(dlg.Persistence().SaveDataFile());
    const std::string mine2 = (h.temp.path / "Documents" / "Norvelle (my version 2).dat").string();
    EXPECT_EQ(h.prompter.Texts().back(), "Your version is saved in \"" + mine2 +
                                             "\".  The other version could not be read, so the window still shows "
                                             "your links.");
    EXPECT_EQ(TitlesIn(mine2), std::vector<std::string>{"c4"});
    EXPECT_EQ(Titles(dlg), std::vector<std::string>{"c4"});
    EXPECT_TRUE(dlg.Store().IsChanged());

    // Closing with changes asks first, and Keep Mine saves ours after keeping theirs; the
    // damaged version never becomes the backup.
    const std::string backup = Contents(path + ".bak");
    h.ClickRow(0);
    h.Type(dlg.TitleField(), "3");
    h.ClickButton(1053);
    h.prompter.Clear();
    h.prompter.ScriptChoices({1});
    h.Close();
    EXPECT_FALSE(h.prompter.Texts().empty());
    EXPECT_EQ(TitlesIn(path), std::vector<std::string>{"c43"});
    EXPECT_TRUE(fs::exists((h.temp.path / "Documents" / "Norvelle (other version 2).dat")));
    EXPECT_EQ(Contents(path + ".bak"), backup);
    EXPECT_EQ(TitlesIn(path + ".bak").size(), 1u);
}

TEST(SyncWindow, ConflictCopiesAreOfferedOnceAndAppended)
{
    WindowHarness h;
    h.WriteDataFile({"r0", "r1"});
    const fs::path docs = h.temp.path / "Documents";
    std::ofstream(docs / "Norvelle.sync-conflict-20261207-101500-ABC.dat", std::ios::binary) << FileBytes({"c1", "c2"});
    h.prompter.ScriptChoices({0});
    CLinksDlg& dlg = h.Open();
    ASSERT_TRUE(SpinUntil([&] { return dlg.Store().Count() == 4; }));
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"r0", "r1", "c1", "c2"}));
    EXPECT_TRUE(dlg.Store().IsChanged());  // appended links are saved like typed ones
    const std::vector<std::string> texts = h.prompter.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("A sync tool left a copy of your data file"), std::string::npos);
    EXPECT_NE(texts[0].find("[&Append] [&Ignore]"), std::string::npos);

    // Told once: looking again (another load) asks nothing.
    dlg.Sync().CheckConflictCopies();
    EXPECT_EQ(h.prompter.Texts().size(), 2u);

    // A copy that arrives later with an older time (the other machine's) is offered too.
    const fs::path older = docs / "Norvelle.sync-conflict-20201207-101500-XYZ.dat";
    std::ofstream(older, std::ios::binary) << FileBytes({"o1"});
    fs::last_write_time(older, fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    h.prompter.ScriptChoices({1});
    dlg.Sync().CheckConflictCopies();
    ASSERT_EQ(h.prompter.Texts().size(), 3u);
    EXPECT_NE(h.prompter.Texts()[2].find("XYZ"), std::string::npos);
    dlg.Sync().CheckConflictCopies();
    EXPECT_EQ(h.prompter.Texts().size(), 3u);

    // A newer one that is no data file: appending it is refused and changes nothing, and
    // it is offered again (its links are not given up for one refusal) until Ignore.
    const fs::path junk = docs / "Norvelle (Ann's conflicted copy 2026-12-08).dat";
    std::ofstream(junk) << "not a data file";
    fs::last_write_time(junk, fs::file_time_type::clock::now() + std::chrono::hours(1));
    h.prompter.Clear();
    h.prompter.ScriptChoices({0});
    dlg.Sync().CheckConflictCopies();
    EXPECT_EQ(dlg.Store().Count(), 4);
    EXPECT_GE(h.prompter.Texts().size(), 2u);
    h.prompter.Clear();
    h.prompter.ScriptChoices({1});
    dlg.Sync().CheckConflictCopies();
    ASSERT_EQ(h.prompter.Texts().size(), 1u);
    EXPECT_NE(h.prompter.Texts()[0].find("Ann's conflicted copy"), std::string::npos);
    h.prompter.Clear();
    dlg.Sync().CheckConflictCopies();
    EXPECT_TRUE(h.prompter.Texts().empty());

    // The data file replaced by a folder: nothing is loaded over the window's links, and
    // once the folder is gone the links are saved where the file was.
    fs::remove(h.DataPath());
    fs::create_directory(h.DataPath());
    dlg.Store().SetChanged(false);
    dlg.Sync().CheckDiskVersion();
    EXPECT_EQ(dlg.Store().Count(), 4);
    ASSERT_FALSE(h.prompter.Texts().empty());
    EXPECT_NE(h.prompter.Texts().back().find("Could not read annotated links"), std::string::npos);
    fs::remove(h.DataPath());
    dlg.Store().SetChanged();
    h.Close();
    EXPECT_EQ(TitlesIn(h.DataPath()).size(), 4u);
}
