#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/mount.h>
#include <sys/wait.h>
#include <sched.h>
#include <unistd.h>

#include "store/Sanitizers.h"
#include "options/Settings.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "session/Persistence.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Unprivileged.h"

#include <sys/resource.h>
#include <csignal>
#include <random>

namespace fs = std::filesystem;

namespace {

class FakeHost : public PersistenceHost {
public:
    explicit FakeHost(LinkStore& store) : store(store) {}
    void ResetStore() override
    {
        ++resets;
        store.FreeAllLinks();
        store.ClearCategories();
    }
    void BeginListUpdate() override { ++depth; }
    void EndListUpdate() override { --depth; }
    void EmptyCategoryField() override {}
    void LoadFinished() override { ++loads; }
    void OpenSavingOptions() override { ++options; }
    bool DataFileChangedOnDisk(bool mayAsk) override
    {
        ++diskChanges;
        askedOnWindow = mayAsk;
        // As the window does after Keep Mine: the version on disk is the one to replace.
        if (keepMine && persistence) persistence->AcceptDiskVersion();
        return keepMine;
    }
    LinkStore& store;
    CDataFilePersistence* persistence = nullptr;
    int resets = 0, depth = 0, loads = 0, options = 0, diskChanges = 0;
    bool askedOnWindow = false, keepMine = false;
};

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

LocalTime Today()
{
    SystemClock clock;
    return clock.Now();
}

struct Fixture {
    explicit Fixture(const fs::path& docs)
        : paths(docs.string()), clock(Today()), host(store), persistence(store, settings, prompter, clock, host)
    {
        persistence.SettlePaths(paths);
        host.persistence = &persistence;
    }
    void Add(const std::string& title) { EXPECT_TRUE(store.InsertLink(store.Count(), title, "l", "", "", {0, 1}, {0, 1})); }

    LinkStore store;
    CSettings settings;
    FakePrompter prompter;
    FakePaths paths;
    FixedClock clock;
    FakeHost host;
    CDataFilePersistence persistence;
};

}  // namespace

TEST(Persistence, SettlesThePathFromTheDocumentsFolderOrTheSetting)
{
    TempFolder temp;
    Fixture f(temp.path / "Documents");
    EXPECT_EQ(f.persistence.DefaultDataFolder(), (temp.path / "Documents").string() + "/");
    EXPECT_EQ(f.persistence.DataPath(), (temp.path / "Documents" / "Norvelle.dat").string());
    EXPECT_EQ(f.persistence.BackupPath(), (temp.path / "Documents" / "Norvelle.dat.bak").string());
    f.settings.dataFile = "/elsewhere/mine.dat";
    f.persistence.SettlePaths(f.paths);
    EXPECT_EQ(f.persistence.DataPath(), "/elsewhere/mine.dat");
}

TEST(Persistence, FirstRunIsSilentAndTheFirstSaveCreatesTheFolderAndFile)
{
    TempFolder temp;
    Fixture f(temp.path / "NoDocumentsYet");
    EXPECT_FALSE(f.persistence.LoadDataFile(nullptr, false));
    EXPECT_TRUE(f.prompter.Messages().empty());
    EXPECT_EQ(f.host.resets, 1);
    EXPECT_EQ(f.host.options, 0);

    // An empty store is never written.
    EXPECT_FALSE(f.persistence.SaveDataFile());
    EXPECT_FALSE(fs::exists(f.persistence.DataPath()));
    EXPECT_TRUE(f.prompter.Messages().empty());

    f.Add("one");
    f.store.SetChanged();
    f.store.IncrementPresses();
    EXPECT_TRUE(f.persistence.SaveDataFile());
    EXPECT_TRUE(fs::exists(f.persistence.DataPath()));
    EXPECT_FALSE(fs::exists(f.persistence.BackupPath()));
    EXPECT_FALSE(f.store.IsChanged());
    EXPECT_EQ(f.store.PressCount(), 0);
    EXPECT_TRUE(fs::exists(temp.path / "NoDocumentsYet" / "Norvelle.dat"));
}

TEST(Persistence, BacksUpOnceADay)
{
    TempFolder temp;
    Fixture f(temp.path);
    f.Add("v1");
    ASSERT_TRUE(f.persistence.SaveDataFile());
    std::string v1 = ReadAll(f.persistence.DataPath());
    f.store.Edit(0).SetTitle("v2");
    ASSERT_TRUE(f.persistence.SaveDataFile());  // same day, no backup yet: made now
    EXPECT_EQ(ReadAll(f.persistence.BackupPath()), v1);
    std::string v2 = ReadAll(f.persistence.DataPath());
    f.store.Edit(0).SetTitle("v3");
    ASSERT_TRUE(f.persistence.SaveDataFile());  // same day again: kept
    EXPECT_EQ(ReadAll(f.persistence.BackupPath()), v1);
    std::string v3 = ReadAll(f.persistence.DataPath());

    f.clock.now.day = f.clock.now.day == 1 ? 2 : 1;  // another day
    f.store.Edit(0).SetTitle("v4");
    ASSERT_TRUE(f.persistence.SaveDataFile());
    EXPECT_EQ(ReadAll(f.persistence.BackupPath()), v3);

    // Saving elsewhere still backs up the configured file, never the target.
    f.clock.now.month = f.clock.now.month == 1 ? 2 : 1;
    std::string other = (temp.path / "other.dat").string();
    ASSERT_TRUE(f.persistence.SaveDataFile(&other));
    EXPECT_FALSE(fs::exists(other + ".bak"));
    EXPECT_EQ(ReadAll(f.persistence.BackupPath()), ReadAll(f.persistence.DataPath()));
    EXPECT_TRUE(f.prompter.Messages().empty());
}

TEST(Persistence, AFailedSaveLeavesThePreviousFileWhole)
{
    TempFolder temp;
    Fixture f(temp.path);
    f.Add("old");
    ASSERT_TRUE(f.persistence.SaveDataFile());
    const std::string old = ReadAll(f.persistence.DataPath());
    for (int i = 0; i < 3; ++i) f.Add("new record " + std::to_string(i));
    StringSink sink;
    WriteDataFile(f.store, sink);

    for (size_t limit = 0; limit < sink.bytes.size(); ++limit) {
        FileFaults faults;
        faults.failWritesBeyond = int64_t(limit);
        f.store.SetChanged();
        f.store.ResetPresses();
        f.store.IncrementPresses();
        f.prompter.Clear();
        f.host.options = 0;
        ASSERT_FALSE(f.persistence.SaveDataFile()) << limit;
        ASSERT_EQ(ReadAll(f.persistence.DataPath()), old) << limit;
        EXPECT_TRUE(f.store.IsChanged());
        EXPECT_EQ(f.store.PressCount(), 1);
        ASSERT_EQ(f.prompter.Texts(), std::vector<std::string>{"Could not save annotated links into \"" +
                                                               f.persistence.DataPath() + "\".  The disk is full."});
        EXPECT_EQ(f.host.options, 1);
    }
    // No temporary file is left behind.
    int files = 0;
    for (auto& entry : fs::directory_iterator(temp.path)) files += entry.path().extension() != ".lock";
    EXPECT_EQ(files, 2);  // the data file and its backup (and the writers' lock file)

    // An explicit path does not offer the Options sheet.
    std::string blocked = (temp.path / "Norvelle.dat" / "sub" / "x.dat").string();
    f.host.options = 0;
    EXPECT_FALSE(f.persistence.SaveDataFile(&blocked));
    EXPECT_EQ(f.host.options, 0);
}

TEST(Persistence, ALinkedDataFileIsWrittenWhereItPoints)
{
    TempFolder temp;
    Fixture f(temp.path);
    fs::create_directories(temp.path / "synced");
    std::ofstream(temp.path / "synced" / "real.dat") << "old";
    fs::create_symlink(temp.path / "synced" / "real.dat", f.persistence.DataPath());
    f.Add("linked");
    ASSERT_TRUE(f.persistence.SaveDataFile());
    EXPECT_TRUE(fs::is_symlink(f.persistence.DataPath()));
    EXPECT_NE(ReadAll(temp.path / "synced" / "real.dat"), "old");
    EXPECT_EQ(ReadAll(f.persistence.DataPath()), ReadAll(temp.path / "synced" / "real.dat"));
}

TEST(Persistence, AFullDiskLeavesThePreviousFileWhole)
{
    TempFolder temp;
    // A child process mounts a tiny tmpfs of its own; it needs a mount namespace.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) _exit(77);
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) _exit(77);
        if (mount("tmpfs", temp.path.c_str(), "tmpfs", 0, "size=64k") != 0) _exit(77);
        Fixture f(temp.path);
        f.Add("old");
        if (!f.persistence.SaveDataFile()) _exit(10);
        const std::string old = ReadAll(f.persistence.DataPath());
        for (int i = 0; i < 200; ++i) f.Add(std::string(400, 'x'));  // about 80 KB: cannot fit
        if (f.persistence.SaveDataFile()) _exit(11);
        if (ReadAll(f.persistence.DataPath()) != old) _exit(12);
        if (f.prompter.Messages().size() != 1) _exit(13);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot mount a tmpfs here (needs root or user namespaces)";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: first save failed, 11: save reported success, 12: file changed, 13: messages";
}

TEST(Persistence, LoadingReportsMissingTruncatedAndNewerFiles)
{
    TempFolder temp;
    Fixture f(temp.path);
    std::string missing = (temp.path / "missing.dat").string();
    EXPECT_FALSE(f.persistence.LoadDataFile(&missing, false));
    EXPECT_EQ(f.prompter.Texts(), std::vector<std::string>{"Could not find data file \"" + missing + "\"."});
    EXPECT_EQ(f.host.loads, 0);

    for (int i = 0; i < 3; ++i) f.Add("r" + std::to_string(i));
    ASSERT_TRUE(f.persistence.SaveDataFile());
    std::string full = ReadAll(f.persistence.DataPath());

    // Truncated: what was read stays, the Options sheet is offered for the configured file.
    std::ofstream(f.persistence.DataPath(), std::ios::binary) << full.substr(0, full.size() - 3);
    f.prompter.Clear();
    f.store.IncrementPresses();
    EXPECT_FALSE(f.persistence.LoadDataFile(nullptr, false));
    EXPECT_EQ(f.store.Count(), 2);
    EXPECT_EQ(f.prompter.Texts(), std::vector<std::string>{"Could not read annotated links from \"" +
                                                           f.persistence.DataPath() + "\".  The file ends early, in link 3 of 3.  2 links were read; the file itself is kept as it is."});
    EXPECT_EQ(f.host.options, 1);
    EXPECT_EQ(f.host.depth, 0);
    EXPECT_EQ(f.host.loads, 1);
    EXPECT_EQ(f.store.PressCount(), 1);

    // A newer version empties the store (replace) and still counts as done.
    std::string newer = full;
    newer[0] = 3;
    std::ofstream(f.persistence.DataPath(), std::ios::binary) << newer;
    f.prompter.Clear();
    EXPECT_TRUE(f.persistence.LoadDataFile(nullptr, false));
    EXPECT_EQ(f.store.Count(), 0);
    EXPECT_EQ(f.prompter.Texts(), std::vector<std::string>{"Cannot load a data file that has a higher version number."});
    EXPECT_EQ(f.store.PressCount(), 0);

    // Appending keeps what is there.
    std::ofstream(f.persistence.DataPath(), std::ios::binary) << full;
    EXPECT_TRUE(f.persistence.LoadDataFile(nullptr, false));
    f.store.IncrementPresses();
    f.store.SetChanged(true);
    const std::string path = (temp.path / "other.dat").string();
    std::ofstream(path, std::ios::binary) << full;
    EXPECT_TRUE(f.persistence.LoadDataFile(&path, true));
    EXPECT_EQ(f.store.Count(), 6);
    EXPECT_EQ(f.store.At(3).Title(), "r0");
    EXPECT_EQ(f.store.PressCount(), 0);
    EXPECT_TRUE(f.store.IsChanged());  // loading leaves the flag alone

    // The data file in use is not appended onto itself: its links would all be there twice.
    f.prompter.Clear();
    const std::string self = f.persistence.DataPath();
    EXPECT_FALSE(f.persistence.LoadDataFile(&self, true));
    EXPECT_EQ(f.store.Count(), 6);
    EXPECT_EQ(f.prompter.Texts(), std::vector<std::string>{"Could not append \"" + self + "\".  It is the data file in "
                                                           "use: its links are already in the list."});
}

TEST(Persistence, StoredRecordRuleSavesAtTheLimit)
{
    TempFolder temp;
    Fixture f(temp.path);
    f.settings.saveLimit = 5;
    for (int i = 1; i <= 4; ++i) {
        f.Add("r");
        f.persistence.StoredRecord();
        EXPECT_TRUE(f.store.IsChanged());
        EXPECT_EQ(f.store.PressCount(), i);
    }
    EXPECT_FALSE(fs::exists(f.persistence.DataPath()));
    f.Add("fifth");
    f.persistence.StoredRecord();
    EXPECT_TRUE(fs::exists(f.persistence.DataPath()));
    EXPECT_FALSE(f.store.IsChanged());
    EXPECT_EQ(f.store.PressCount(), 0);

    f.settings.saveLimit = 1;
    f.Add("every");
    f.persistence.StoredRecord();
    EXPECT_FALSE(f.store.IsChanged());

    f.settings.saveOnPresses = false;
    f.persistence.StoredRecord();
    EXPECT_TRUE(f.store.IsChanged());
    EXPECT_EQ(f.store.PressCount(), 0);

    // A save that fails still marks the record as unsaved.
    f.settings.saveOnPresses = true;
    f.store.SetChanged(false);
    FileFaults faults;
    faults.failWritesBeyond = 0;
    f.persistence.StoredRecord();
    EXPECT_TRUE(f.store.IsChanged());
}

TEST(Persistence, PathsInMessagesAreCutTo259Characters)
{
    std::string p259(259, 'p'), p300(300, 'q');
    EXPECT_EQ(FormatPathMessage("\"%.259s\"", p259), "\"" + p259 + "\"");
    EXPECT_EQ(FormatPathMessage("\"%.259s\"", p300), "\"" + std::string(259, 'q') + "\"");
    std::string wide;
    for (int i = 0; i < 300; ++i) wide += "\xC3\xA9";
    std::string cut = FormatPathMessage("%.259s", wide);
    EXPECT_EQ(cut.size(), 259u * 2);  // whole characters, never half of one
}

TEST(Persistence, SaveJobRunsOnAWorkerAndBecomesIdleAgain)
{
    TempFolder temp;
    Fixture f(temp.path);
    f.Add("timed");
    f.store.SetChanged();
    CSaveJob job;
    job.SetOwner(&f.persistence);
    EXPECT_TRUE(job.IsFinished());
    auto lock = f.store.Lock();  // the worker waits for the lock, so the job stays busy
    ASSERT_TRUE(job.Start(nullptr, 0));
    EXPECT_FALSE(job.IsFinished());
    lock.unlock();
    job.Wait();
    EXPECT_TRUE(job.IsFinished());
    EXPECT_FALSE(f.store.IsChanged());
    EXPECT_TRUE(fs::exists(f.persistence.DataPath()));
}

TEST(Persistence, AFileThatWasNotReadWholeIsNeverReplacedByWhatWasRead)
{
    TempFolder temp;
    Fixture f(temp.path);
    for (int i = 0; i < 3; ++i) f.Add("r" + std::to_string(i));
    ASSERT_TRUE(f.persistence.SaveDataFile());
    const std::string full = ReadAll(f.persistence.DataPath());
    const std::string saveError = "Could not save annotated links into \"" + f.persistence.DataPath() + "\".";

    // A newer program's file: refused, and the user is led to the Saving page.
    std::string newer = full;
    newer[0] = 3;
    std::ofstream(f.persistence.DataPath(), std::ios::binary) << newer;
    ASSERT_TRUE(f.persistence.LoadDataFile(nullptr, false));
    f.Add("typed after the refusal");
    f.prompter.Clear();
    f.host.options = 0;
    EXPECT_FALSE(f.persistence.SaveDataFile());
    EXPECT_EQ(f.prompter.Texts(),
              std::vector<std::string>{saveError + "  Not all of its links could be read, and those would be lost."});
    EXPECT_EQ(f.host.options, 1);
    EXPECT_EQ(ReadAll(f.persistence.DataPath()), newer);
    EXPECT_FALSE(fs::exists(f.persistence.BackupPath()));
    // Another file can still be chosen and saved.
    std::string other = (temp.path / "other.dat").string();
    EXPECT_TRUE(f.persistence.SaveDataFile(&other));

    // A damaged file: copied aside once, with a notice, before the first save replaces it;
    // the backup keeps the copy it had.
    fs::remove(f.persistence.BackupPath());
    std::ofstream(f.persistence.DataPath(), std::ios::binary) << full.substr(0, full.size() - 3);
    const std::string damaged = ReadAll(f.persistence.DataPath());
    std::ofstream(f.persistence.DataPath() + ".damaged") << "an older copy";
    EXPECT_FALSE(f.persistence.LoadDataFile(nullptr, false));
    ASSERT_EQ(f.store.Count(), 2);
    f.prompter.Clear();
    EXPECT_TRUE(f.persistence.SaveDataFile());
    const std::string aside = f.persistence.DataPath() + ".damaged-2";
    EXPECT_EQ(ReadAll(aside), damaged);
    EXPECT_EQ(ReadAll(f.persistence.DataPath() + ".damaged"), "an older copy");
    EXPECT_EQ(f.prompter.Texts(), std::vector<std::string>{"Part of the data file could not be read.  The whole file as "
                                                           "it was is kept in \"" + aside + "\"."});
    EXPECT_FALSE(fs::exists(f.persistence.BackupPath()));
    f.prompter.Clear();
    EXPECT_TRUE(f.persistence.SaveDataFile());
    EXPECT_TRUE(f.prompter.Texts().empty());
    EXPECT_FALSE(fs::exists(f.persistence.DataPath() + ".damaged-3"));

    // A read-only file (even for an administrator) is not rewritten.
    fs::permissions(f.persistence.DataPath(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string readOnly = ReadAll(f.persistence.DataPath());
    f.Add("more");
    f.prompter.Clear();
    EXPECT_FALSE(f.persistence.SaveDataFile());
    EXPECT_EQ(f.prompter.Texts(), std::vector<std::string>{saveError + "  It is read-only."});
    EXPECT_EQ(ReadAll(f.persistence.DataPath()), readOnly);
}

TEST(Persistence, PermissionsAreRespectedAndAnUnwritableFolderIsWrittenInPlace)
{
    TempFolder temp;
    AsOrdinaryUser(temp.path, [&] {
        Fixture f(temp.path / "docs");
        f.Add("kept");
        ASSERT_TRUE(f.persistence.SaveDataFile());
        const std::string original = ReadAll(f.persistence.DataPath());

        // A file the user cannot read: the load fails and no save replaces it.
        fs::permissions(f.persistence.DataPath(), fs::perms::none);
        EXPECT_FALSE(f.persistence.LoadDataFile(nullptr, false));
        f.Add("new");
        f.prompter.Clear();
        EXPECT_FALSE(f.persistence.SaveDataFile());
        EXPECT_EQ(f.prompter.Texts(), std::vector<std::string>{"Could not save annotated links into \"" +
                                                               f.persistence.DataPath() +
                                                               "\".  Not all of its links could be read, and those "
                                                               "would be lost."});
        fs::permissions(f.persistence.DataPath(), fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(ReadAll(f.persistence.DataPath()), original);

        // A writable file in a folder where nothing can be created is written in place.
        ASSERT_TRUE(f.persistence.LoadDataFile(nullptr, false));
        for (int i = 0; i < 50; ++i) f.Add("added in place " + std::to_string(i));
        fs::permissions(temp.path / "docs", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_TRUE(f.persistence.SaveDataFile());
        LinkStore back;
        FileSource source;
        ASSERT_TRUE(source.Open(f.persistence.DataPath()));
        FakePrompter quiet;
        EXPECT_EQ(ReadDataFile(back, source).status, ReadStatus::Ok);
        EXPECT_EQ(back.Count(), 51);
        // And cut to its new size when it shrinks.
        f.store.FreeAllLinks();
        f.Add("only");
        EXPECT_TRUE(f.persistence.SaveDataFile());
        StringSink expected;
        WriteDataFile(f.store, expected);
        EXPECT_EQ(ReadAll(f.persistence.DataPath()), expected.bytes);

        // Cut off half way (a bad disk): the save fails and says where the links are, and the
        // next load restores them from that copy and says so.
        for (int i = 0; i < 3000; ++i) f.Add("kept through a failure " + std::to_string(i));
        {
            FileFaults faults;
            faults.writePath = f.persistence.DataPath();
            faults.failWritesBeyond = 1 << 16;
            faults.writeError = EIO;
            f.prompter.Clear();
            EXPECT_FALSE(f.persistence.SaveDataFile());
            ASSERT_EQ(f.prompter.Texts().size(), 1u);
            EXPECT_NE(f.prompter.Texts()[0].find("The links are kept in \"" + f.paths.state + "/recovery/"),
                      std::string::npos)
                << f.prompter.Texts()[0];
        }
        f.prompter.Clear();
        EXPECT_TRUE(f.persistence.LoadDataFile(nullptr, false));
        EXPECT_EQ(f.store.Count(), 3001);
        ASSERT_FALSE(f.prompter.Texts().empty());
        EXPECT_NE(f.prompter.Texts()[0].find("was cut off before it ended.  The links it was saving have been restored."),
                  std::string::npos);
        fs::permissions(temp.path / "docs", fs::perms::owner_all);
    });
}

TEST(Persistence, ASuccessfulSaveRemovesTemporaryFilesOfKilledSaves)
{
    TempFolder temp;
    Fixture f(temp.path);
    f.Add("one");
    const std::string stale = f.persistence.DataPath() + ".0badf00d.tmp";
    const std::vector<std::string> others = {f.persistence.DataPath() + ".notes.tmp", f.persistence.DataPath() + ".0BADF00D.tmp",
                                             (temp.path / "Other.dat.0badf00d.tmp").string()};
    for (const auto& name : others) std::ofstream(name) << "x";
    std::ofstream(stale) << "half a save";
    ASSERT_TRUE(f.persistence.SaveDataFile());
    EXPECT_FALSE(fs::exists(stale));
    for (const auto& name : others) EXPECT_TRUE(fs::exists(name)) << name;
}

TEST(Persistence, TextOfOlderFilesIsLoadedAsUtf8)
{
    TempFolder temp;
    Fixture f(temp.path);
    // "Über" and "für" as a Western Windows code page writes them, beside UTF-8 text.
    const std::string legacy = "\xDC" "ber", utf8 = "\xC3\x9C" "ber";
    f.store.InsertCategorySorted(legacy);
    f.store.InsertCategorySorted(utf8);
    f.store.InsertCategorySorted("News");
    f.store.SetClearSelection(legacy);
    EXPECT_TRUE(f.store.InsertLink(0, "f\xFCr dich", "l", "caf\xE9\r\n\x93quoted\x94", legacy, {0, 1}, {0, 1}));
    EXPECT_TRUE(f.store.InsertLink(1, "f\xC3\xBCr", "l", "", "News", {0, 1}, {0, 1}));
    ASSERT_TRUE(f.persistence.SaveDataFile());
    ASSERT_TRUE(f.persistence.LoadDataFile(nullptr, false));
    EXPECT_EQ(f.store.At(0).Title(), "f\xC3\xBCr dich");
    EXPECT_EQ(f.store.At(0).Description(), "caf\xC3\xA9\r\n\xE2\x80\x9Cquoted\xE2\x80\x9D");
    EXPECT_EQ(f.store.At(0).Category(), utf8);
    EXPECT_EQ(f.store.At(1).Title(), "f\xC3\xBCr");
    EXPECT_EQ(f.store.Categories(), (std::vector<std::string>{utf8, "News"}));
    EXPECT_TRUE(f.store.HasCategory(utf8));
    EXPECT_EQ(f.store.ClearSelection(), utf8);
    EXPECT_FALSE(f.store.IsChanged());
}

TEST(Persistence, RunningOutOfMemoryIsReportedAndKeepsTheRecordsReadWhole)
{
#if defined(NORVELLE_ADDRESS_SANITIZER) || defined(NORVELLE_THREAD_SANITIZER)
    GTEST_SKIP() << "a memory limit and a sanitizer's reserved memory do not mix";
#endif
    TempFolder temp;
    // Files whose one text is 256 MB (sparse), read with the memory limited to less: a
    // Category name, and the title of a record after 300 ordinary ones.
    const fs::path hugeCategory = temp.path / "category.dat", hugeTitle = temp.path / "title.dat";
    {
        std::ofstream out(hugeCategory, std::ios::binary);
        const unsigned char head[] = {2, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x10};
        out.write(reinterpret_cast<const char*>(head), sizeof head);
    }
    fs::resize_file(hugeCategory, (256u << 20) + 64);
    LinkStore ordinary;
    for (int i = 0; i < 300; ++i)
        EXPECT_TRUE(ordinary.InsertLink(i, "t" + std::to_string(i), "l", "d" + std::to_string(i), "", {0, 1}, {0, 2}));
    {
        StringSink sink;
        ASSERT_TRUE(WriteDataFile(ordinary, sink));
        std::string bytes = sink.bytes;
        bytes[13] = char(0x2D);  // the record count, 300 (0x12C), becomes 301
        const unsigned char title[] = {0xFF, 0xFF, 0xFF, 0, 0, 0, 0x10};
        bytes.append(reinterpret_cast<const char*>(title), sizeof title);
        std::ofstream out(hugeTitle, std::ios::binary);
        out.write(bytes.data(), std::streamsize(bytes.size()));
    }
    fs::resize_file(hugeTitle, fs::file_size(hugeTitle) + (256u << 20) + 64);
    for (const auto& [path, kept] : {std::pair{hugeCategory, 0}, std::pair{hugeTitle, 300}}) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            rlimit limit{128u << 20, 128u << 20};
            if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(77);
            LinkStore store;
            FakePrompter prompter;
            FileSource source;
            if (!source.Open(path.string())) _exit(10);
            ReadResult result = ReadDataFile(store, source);
            if (const char* refused = RefusalMessage(result)) prompter.Error(refused);
            if (result.status != ReadStatus::OutOfMemory) _exit(11);
            if (prompter.Texts() != std::vector<std::string>{"Could not read the data file into memory.  Close "
                                                             "another application and try again."})
                _exit(12);
            if (store.Count() != kept) _exit(13);
            for (int i = 0; i < kept; ++i)
                if (!(store.At(i) == ordinary.At(i))) _exit(14);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << "the read aborted";
        if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot limit the memory here";
        EXPECT_EQ(WEXITSTATUS(status), 0) << path << ": 10 open, 11 status, 12 message, 13 count, 14 a record";
    }
}

TEST(Persistence, AKilledSaveLeavesTheOldFileOrTheNewOneNeverAMix)
{
    TempFolder temp;
    auto bytesOf = [](int records, const char* stem) {
        LinkStore store;
        for (int i = 0; i < records; ++i)
            EXPECT_TRUE(store.InsertLink(i, stem + std::to_string(i), "https://example.com/" + std::to_string(i), "d", "c", {0, 1}, {0, 2}));
        StringSink sink;
        WriteDataFile(store, sink);
        return sink.bytes;
    };
    const std::string oldBytes = bytesOf(3000, "old "), newBytes = bytesOf(3500, "new ");
    Fixture f(temp.path);
    const std::string path = f.persistence.DataPath(), backup = f.persistence.BackupPath();
    std::mt19937 random(12345);
    int killedMidway = 0;
    for (int round = 0; round < 200; ++round) {
        { std::ofstream(path, std::ios::binary | std::ios::trunc) << oldBytes; }
        fs::remove(backup);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves the new links over the old ones again and again, with the daily
            // backup due every time (the clock says another day).
            Fixture saver(temp.path);
            MemorySource source(newBytes);
            FakePrompter quiet;
            (void)ReadDataFile(saver.store, source);
            saver.clock.now.year = 2001;
            saver.persistence.SetSyncToDisk(false);
            for (;;) saver.persistence.SaveDataFile();
        }
        usleep(useconds_t(random() % 4000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string now = ReadAll(path);
        ASSERT_TRUE(now == oldBytes || now == newBytes) << "round " << round << ": " << now.size() << " bytes";
        if (fs::exists(backup)) {
            const std::string copy = ReadAll(backup);
            ASSERT_TRUE(copy == oldBytes || copy == newBytes) << "round " << round << ": backup of " << copy.size();
        }
        killedMidway += now == oldBytes;
    }
    // The next save that runs to its end removes what killed saves left behind.
    f.Add("after");
    ASSERT_TRUE(f.persistence.SaveDataFile());
    for (const auto& entry : fs::directory_iterator(temp.path)) EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    RecordProperty("rounds killed before the first save ended", killedMidway);
}

TEST(Persistence, AFileChangedByAnotherProgramIsNeverSavedOverWithoutAsking)
{
    TempFolder temp;
    Fixture f(temp.path);
    const std::string path = f.persistence.DataPath();
    f.Add("mine");
    ASSERT_TRUE(f.persistence.SaveDataFile());
    auto bytes = [&] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string ours = bytes();

    // The same bytes with a new time are no change.
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::hours(1));
    EXPECT_FALSE(f.persistence.DataFileChangedOnDisk());
    f.store.SetChanged();
    EXPECT_TRUE(f.persistence.SaveDataFile());
    EXPECT_EQ(f.host.diskChanges, 0);

    // Another version arrives (written in place): neither the window nor a worker writes over it.
    const std::string theirs = "other program's bytes";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << theirs;
    EXPECT_TRUE(f.persistence.DataFileChangedOnDisk());
    f.store.SetChanged();
    EXPECT_FALSE(f.persistence.SaveDataFile(nullptr, true, false));
    EXPECT_EQ(f.host.diskChanges, 1);
    EXPECT_FALSE(f.host.askedOnWindow);
    EXPECT_EQ(bytes(), theirs);
    EXPECT_TRUE(f.store.IsChanged());
    EXPECT_FALSE(f.persistence.SaveDataFile());
    EXPECT_TRUE(f.host.askedOnWindow);
    EXPECT_EQ(bytes(), theirs);
    EXPECT_TRUE(f.prompter.Messages().empty());  // no "Could not save": the host asked

    // Saving elsewhere is not held up.
    const std::string elsewhere = (temp.path / "copy.dat").string();
    EXPECT_TRUE(f.persistence.SaveDataFile(&elsewhere));

    // The user keeps theirs: the other version goes aside, then the save replaces the file.
    const std::string aside = f.persistence.KeepDiskVersionAside();
    EXPECT_EQ(aside, (temp.path / "Norvelle (other version).dat").string());
    f.persistence.AcceptDiskVersion();
    f.store.SetChanged();
    EXPECT_TRUE(f.persistence.SaveDataFile());
    EXPECT_EQ(bytes(), ours);
    std::ifstream kept(aside, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), theirs);
    EXPECT_EQ(f.persistence.KeepDiskVersionAside(), (temp.path / "Norvelle (other version 2).dat").string());

    // Replaced through a rename, and the host says to go ahead (it kept the other aside).
    const std::string renamed = path + ".new";
    std::ofstream(renamed, std::ios::binary) << "renamed in";
    fs::rename(renamed, path);
    f.host.keepMine = true;
    f.store.SetChanged();
    EXPECT_TRUE(f.persistence.SaveDataFile());
    EXPECT_EQ(f.host.diskChanges, 3);
    EXPECT_EQ(bytes(), ours);

    // Deleted while open: the next save makes it again without a question.
    fs::remove(path);
    EXPECT_FALSE(f.persistence.DataFileChangedOnDisk());
    f.store.SetChanged();
    EXPECT_TRUE(f.persistence.SaveDataFile());
    EXPECT_EQ(f.host.diskChanges, 3);
    EXPECT_EQ(bytes(), ours);

    // Loading takes the loaded version as known; switching to another file takes that one.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << theirs;
    EXPECT_TRUE(f.persistence.DataFileChangedOnDisk());
    f.persistence.SetDataPath(elsewhere);
    EXPECT_FALSE(f.persistence.DataFileChangedOnDisk());
    f.persistence.SetDataPath(path);
    EXPECT_FALSE(f.persistence.DataFileChangedOnDisk());
    ASSERT_TRUE(f.persistence.SaveDataFile(&elsewhere));
    fs::copy_file(elsewhere, path, fs::copy_options::overwrite_existing);
    EXPECT_TRUE(f.persistence.DataFileChangedOnDisk());
    f.store.SetChanged();
    EXPECT_TRUE(f.persistence.LoadDataFile(nullptr, false));
    EXPECT_FALSE(f.persistence.DataFileChangedOnDisk());
    EXPECT_FALSE(f.store.IsChanged());  // the window holds what is on disk
}
