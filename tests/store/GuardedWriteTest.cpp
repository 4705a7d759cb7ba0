#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <random>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/GuardedWrite.h"
#include "store/DiskStamp.h"
#include "store/LinkStore.h"
#include "store/WriterTurn.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Unprivileged.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string DataFileBytes(int records, const std::string& stem = "link ")
{
    LinkStore store;
    for (int i = 0; i < records; ++i)
        EXPECT_TRUE(store.InsertLink(i, stem + std::to_string(i), "https://example.com/" + std::to_string(i), "d", "", {0, 1}, {0, 2}));
    StringSink sink;
    WriteDataFile(store, sink);
    return sink.bytes;
}

WriteResult Write(const fs::path& target, const std::string& bytes, WritePolicy policy = {})
{
    return GuardedWrite(target.string(), policy, [&](ByteSink& sink) { return sink.Write(bytes.data(), bytes.size()); });
}

// Plays a sync tool that writes its version the moment before the writer replaces the file.
class WriteBeforeRename : public FileSeam {
public:
    WriteBeforeRename(fs::path target, std::function<void(const fs::path&)> write)
        : m_target(std::move(target)), m_write(std::move(write))
    {
        SetFileSeam(this);
    }
    ~WriteBeforeRename() override { SetFileSeam(nullptr); }
    int Fault(const char* what, const std::string& path) override
    {
        if (std::strcmp(what, "rename") == 0 && path == m_target.string() && m_write) std::exchange(m_write, {})(m_target);
        return 0;
    }

private:
    fs::path m_target;
    std::function<void(const fs::path&)> m_write;
};

size_t FilesIn(const fs::path& folder)
{
    size_t n = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() != ".lock") ++n;
    return n;
}

}  // namespace

TEST(GuardedWrite, WhatMayBeReplacedAndWhatNever)
{
    TempFolder temp;
    const fs::path input = temp.path / "A.dat", out = temp.path / "out.html";
    const std::string links = DataFileBytes(3);
    WriteAll(input, links);

    // The input of the operation, under any of its names, is never replaced.
    fs::create_hard_link(input, temp.path / "hard.dat");
    fs::create_symlink(input, temp.path / "soft.dat");
    WritePolicy reading;
    reading.inputs = {input.string()};
    reading.replaceConfirmed = true;
    for (const char* name : {"A.dat", "hard.dat", "soft.dat"}) {
        const WriteResult result = Write(temp.path / name, "<html>", reading);
        EXPECT_EQ(result.outcome, WriteResult::Outcome::Refused) << name;
        EXPECT_EQ(result.reason, "It is the file being read.") << name;
    }
    EXPECT_EQ(ReadAll(input), links);

    // A folder is refused; a new file is written; one that holds links only on the
    // person's word, as is one that is not a data file where a data file goes.
    fs::create_directory(temp.path / "folder");
    EXPECT_EQ(Write(temp.path / "folder", "x").reason, "It is a folder.");
    EXPECT_TRUE(Write(out, "<html>").Ok());
    WritePolicy data;
    data.dataFile = true;
    WriteResult asked = Write(input, "new", data);
    EXPECT_EQ(asked.outcome, WriteResult::Outcome::NeedsAnswer);
    EXPECT_EQ(asked.links, 3);
    EXPECT_EQ(ReplaceQuestion(input.string(), "3", 3),
              "\"" + input.string() + "\" already holds 3 links that this window did not load.  Replace them?");
    asked = Write(out, "new", data);
    EXPECT_EQ(asked.outcome, WriteResult::Outcome::NeedsAnswer);
    EXPECT_EQ(asked.links, 0);
    EXPECT_EQ(ReadAll(out), "<html>");
    EXPECT_TRUE(Write(out, "<html>2", {}).Ok());  // an export over an export
    data.replaceConfirmed = true;
    EXPECT_TRUE(Write(input, DataFileBytes(1), data).Ok());
    EXPECT_EQ(LinksInDataFile(input.string()), 1);

    // A file read whole is replaced; one of which not every link could be read, never.
    WritePolicy whole;
    whole.target = TargetRead::Whole;
    EXPECT_TRUE(Write(input, links, whole).Ok());
    WritePolicy unread;
    unread.target = TargetRead::Unreadable;
    EXPECT_EQ(Write(input, "x", unread).outcome, WriteResult::Outcome::Refused);
    // A damaged one is kept whole beside itself first.
    const std::string damaged = links.substr(0, links.size() - 5);
    WriteAll(input, damaged);
    WritePolicy partly;
    partly.target = TargetRead::Damaged;
    const WriteResult replaced = Write(input, links, partly);
    ASSERT_TRUE(replaced.Ok());
    EXPECT_EQ(replaced.damagedCopy, input.string() + ".damaged");
    EXPECT_EQ(ReadAll(replaced.damagedCopy), damaged);

    // Read-only for everyone, even for an administrator: refused, and the file is as it was.
    fs::permissions(input, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(Write(input, "x", whole).reason, "It is read-only.");
    EXPECT_EQ(ReadAll(input), links);
    fs::permissions(input, fs::perms::owner_read | fs::perms::owner_write);

    // The permissions of the file replaced are kept: a private file stays private.
    WriteAll(temp.path / "private.dat", "");
    fs::permissions(temp.path / "private.dat", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(Write(temp.path / "private.dat", links, whole).Ok());
    EXPECT_EQ(fs::status(temp.path / "private.dat").permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST(GuardedWrite, DevicesAndFifosAreWrittenIntoNeverReplaced)
{
    TempFolder temp;
    WritePolicy stream;
    stream.mayStream = true;
    // A device that swallows everything; one that is always full; neither is replaced.
    EXPECT_TRUE(Write("/dev/null", "bytes", stream).streamed);
    const WriteResult full = Write("/dev/full", "bytes", stream);
    EXPECT_EQ(full.outcome, WriteResult::Outcome::Failed);
    EXPECT_EQ(full.reason, "The disk is full.");
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(Write("/dev/null", "bytes").outcome, WriteResult::Outcome::Refused);

    // A fifo gets the bytes in order.
    const fs::path fifo = temp.path / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = ReadAll(fifo); });
    EXPECT_TRUE(Write(fifo, "through the pipe", stream).Ok());
    reader.join();
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(GuardedWrite, TheNewFileIsSyncedBeforeItsNameAndEveryFailureLeavesTheOldOne)
{
    TempFolder temp;
    const fs::path target = temp.path / "Norvelle.dat";
    WriteAll(target, "old");
    WritePolicy whole;
    whole.target = TargetRead::Whole;
    {
        FileFaults faults;
        ASSERT_TRUE(Write(target, "new", whole).Ok());
        const std::vector<std::string> events = faults.Events();
        ASSERT_EQ(events.size(), 4u);
        EXPECT_EQ(events[0], "create " + target.string());
        EXPECT_EQ(events[1].substr(0, 5 + target.string().size()), "sync " + target.string());  // the temporary file
        EXPECT_EQ(events[2], "rename " + target.string());
        EXPECT_EQ(events[3], "syncfolder " + target.string());
    }
    // A failed sync, rename or write, or no new file allowed in a folder where the file
    // may not be written either: the old file stays and no temporary file is left.
    for (const char* what : {"sync", "rename", "write", "create"}) {
        FileFaults faults;
        if (std::string(what) == "write")
            faults.failWritesBeyond = 0;
        else
            faults.faults[what] = EIO;
        const WriteResult result = Write(target, "newer", whole);
        EXPECT_EQ(result.outcome, WriteResult::Outcome::Failed) << what;
        EXPECT_FALSE(result.reason.empty()) << what;
        EXPECT_EQ(ReadAll(target), "new") << what;
        int files = 0;
        for ([[maybe_unused]] auto& entry : fs::directory_iterator(temp.path)) ++files;
        EXPECT_EQ(files, 1) << what;
    }

    // The real rename failing, not only its seam: the target became a folder a moment
    // before. The write says it failed and leaves no temporary file.
    {
        FileFaults faults;
        faults.beforeRename = [&](const std::string&) {
            fs::remove(target);
            fs::create_directories(target / "inside");
        };
        const WriteResult result = Write(target, "newest", whole);
        EXPECT_EQ(result.outcome, WriteResult::Outcome::Failed);
        EXPECT_FALSE(result.reason.empty());
        EXPECT_TRUE(fs::is_directory(target / "inside"));
        int files = 0;
        for ([[maybe_unused]] auto& entry : fs::directory_iterator(temp.path)) ++files;
        EXPECT_EQ(files, 1);
        fs::remove_all(target);
    }

    // A read error in the middle of a copy fails the copy: no shortened copy passes for whole.
    const std::string bytes = DataFileBytes(5000);
    WriteAll(temp.path / "big.dat", bytes);
    {
        FileFaults faults;
        faults.failReadsAt = 1 << 16;
        const WriteResult copy = CopyFileGuarded((temp.path / "big.dat").string(), (temp.path / "copy.dat").string(), {});
        EXPECT_EQ(copy.outcome, WriteResult::Outcome::Failed);
        EXPECT_EQ(copy.reason, "It could not be read whole.");
        EXPECT_FALSE(fs::exists(temp.path / "copy.dat"));
        EXPECT_FALSE(CopyWholeDataFile((temp.path / "big.dat").string(), (temp.path / "copy.dat").string(), {}).Ok());
        EXPECT_FALSE(fs::exists(temp.path / "copy.dat"));
    }
    // Only a data file that reads whole is copied as a backup.
    EXPECT_TRUE(CopyWholeDataFile((temp.path / "big.dat").string(), (temp.path / "copy.dat").string(), {}).Ok());
    EXPECT_EQ(ReadAll(temp.path / "copy.dat"), bytes);
    WriteAll(temp.path / "cut.dat", bytes.substr(0, bytes.size() - 1));
    EXPECT_FALSE(CopyWholeDataFile((temp.path / "cut.dat").string(), (temp.path / "copy.dat").string(), {}).Ok());
    EXPECT_EQ(ReadAll(temp.path / "copy.dat"), bytes);
}

TEST(GuardedWrite, InPlaceReservesFirstAndAKilledWriteIsRestoredFromItsRecoveryCopy)
{
    TempFolder temp;
    AsOrdinaryUser(temp.path, [&] {
        const fs::path folder = temp.path / "shared", state = temp.path / "state";
        fs::create_directories(folder);
        const fs::path target = folder / "Norvelle.dat";
        const std::string oldBytes = DataFileBytes(3000, "old "), newBytes = DataFileBytes(3500, "new ");
        WriteAll(target, oldBytes);
        // The folder lets no file be created; the file itself may be written.
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        WritePolicy policy;
        policy.target = TargetRead::Whole;
        policy.stateFolder = state.string();
        policy.sync = false;

        // A full disk: the new size cannot be reserved, and the file is untouched.
        {
            FileFaults faults;
            faults.faults["reserve"] = ENOSPC;
            const WriteResult full = Write(target, newBytes, policy);
            EXPECT_EQ(full.outcome, WriteResult::Outcome::Failed);
            EXPECT_EQ(full.reason, "The disk is full.");
            EXPECT_TRUE(ReadAll(target) == oldBytes);
            EXPECT_TRUE(fs::is_empty(state / "recovery"));
        }
        // The real reservation failing, not only its seam: under a limit of file size
        // between the two sizes, nothing is written into the file (not even restored).
        {
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                // The limit comes into force just before the reservation, once the new
                // bytes are written beside.
                signal(SIGXFSZ, SIG_IGN);
                FileFaults limitAtReserve;
                limitAtReserve.beforeCall = [&](const std::string& what) {
                    const rlimit limit{rlim_t(oldBytes.size() + 100), RLIM_INFINITY};
                    if (what == "reserve") setrlimit(RLIMIT_FSIZE, &limit);
                };
                const WriteResult big = Write(target, newBytes, policy);
                const bool untouched = ReadAll(target) == oldBytes && limitAtReserve.writesTo[target.string()] == 0;
                _exit(big.outcome == WriteResult::Outcome::Failed && !big.reason.empty() && untouched ? 0 : 1);
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a failed reservation touched the file";
        }
        // The recovery copy that could not be put on the disk stops the write before the
        // file is touched: a crash then would leave neither version.
        {
            WritePolicy synced = policy;
            synced.sync = true;
            FileFaults faults;
            faults.faults["sync"] = EIO;
            faults.faultFolder = (state / "recovery").string();
            const WriteResult unsynced = Write(target, newBytes, synced);
            EXPECT_EQ(unsynced.outcome, WriteResult::Outcome::Failed);
            EXPECT_EQ(faults.writesTo[target.string()], 0);
            EXPECT_TRUE(ReadAll(target) == oldBytes);
        }
        const WriteResult inPlace = Write(target, newBytes, policy);
        ASSERT_TRUE(inPlace.Ok());
        EXPECT_TRUE(inPlace.inPlace);
        EXPECT_TRUE(ReadAll(target) == newBytes);
        EXPECT_TRUE(fs::is_empty(state / "recovery"));

        // Killed at any moment, the next load finds the old links or the new ones, never a mix.
        std::mt19937 random(4321);
        int restored = 0, mixed = 0;
        for (int round = 0; round < 30; ++round) {
            WriteAll(target, oldBytes);
            // The moment of the kill counts from the child's first write, however slowly a
            // sanitizer lets a forked process start.
            int started[2];
            ASSERT_EQ(pipe(started), 0);
            pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                // A slow disk under the file, so that most kills land in the middle of a write.
                FileFaults slow;
                slow.writePath = target.string();
                slow.writeDelayUs = 1000;
                const char go = 1;
                if (::write(started[1], &go, 1) != 1) _exit(1);
                for (;;) Write(target, newBytes, policy);
            }
            close(started[1]);
            char go = 0;
            ASSERT_EQ(::read(started[0], &go, 1), 1);
            close(started[0]);
            usleep(useconds_t(500 + random() % 4000));
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            const std::string before = ReadAll(target);
            mixed += before != oldBytes && before != newBytes;
            const std::string message = RecoverInterruptedWrite(target.string(), state.string());
            restored += !message.empty();
            const std::string now = ReadAll(target);
            ASSERT_TRUE(now == oldBytes || now == newBytes) << "round " << round << ": " << now.size() << " bytes";
        }
        // Most kills land in the middle of a write, and each of those is put right; of the
        // files as they were, the program's folder keeps the newest five.
        EXPECT_GE(mixed, 5);
        EXPECT_GE(restored, mixed);
        int damaged = 0;
        for (const auto& entry : fs::directory_iterator(state / "recovery"))
            damaged += entry.path().filename().string().find(".damaged") != std::string::npos;
        EXPECT_EQ(damaged, std::min(mixed, 5));
        // A save cut off with the file half written (a bad disk): its recovery copy stays,
        // and the next load restores from it and keeps the damaged file.
        WriteAll(target, oldBytes);
        {
            FileFaults faults;
            faults.failWritesBeyond = 1 << 16;
            faults.writePath = target.string();
            faults.writeError = EIO;
            const WriteResult cut = Write(target, newBytes, policy);
            EXPECT_EQ(cut.outcome, WriteResult::Outcome::Failed);
            EXPECT_NE(cut.reason.find("The links are kept in"), std::string::npos) << cut.reason;
        }
        EXPECT_TRUE(ReadAll(target) != newBytes && ReadAll(target) != oldBytes);
        const std::string message = RecoverInterruptedWrite(target.string(), state.string());
        EXPECT_NE(message.find("was cut off before it ended.  The links it was saving have been restored.  The file "
                               "as it was is kept in"),
                  std::string::npos)
            << message;
        EXPECT_TRUE(message.ends_with("(The last 5 such copies are kept there.)")) << message;
        EXPECT_TRUE(ReadAll(target) == newBytes);
        EXPECT_EQ(RecoverInterruptedWrite(target.string(), state.string()), "");

        // A restore cut off in its turn (its copy moved aside as ".restore", the mark left):
        // the next load finishes it.
        WriteAll(target, oldBytes);
        {
            FileFaults faults;
            faults.failWritesBeyond = 1 << 16;
            faults.writePath = target.string();
            faults.writeError = EIO;
            ASSERT_EQ(Write(target, newBytes, policy).outcome, WriteResult::Outcome::Failed);
        }
        int moved = 0;
        for (const auto& entry : fs::directory_iterator(state / "recovery"))
            if (entry.path().extension() == ".dat") {
                fs::rename(entry.path(), fs::path(entry.path()).replace_extension(".restore"));
                ++moved;
            }
        ASSERT_EQ(moved, 1);
        EXPECT_NE(RecoverInterruptedWrite(target.string(), state.string()).find("have been restored"), std::string::npos);
        EXPECT_TRUE(ReadAll(target) == newBytes);
        fs::permissions(folder, fs::perms::owner_all);
    });
}

TEST(GuardedWrite, AFileOfANewerVersionIsReplacedOnlyOnThePersonsWord)
{
    // An export (not a data file) over a newer program's data file still asks first.
    TempFolder temp;
    const fs::path target = temp.path / "links.html";
    std::string newer = DataFileBytes(2);
    newer[0] = 3;
    WriteAll(target, newer);
    for (bool dataFile : {false, true}) {
        WritePolicy policy;
        policy.dataFile = dataFile;
        const WriteResult asked = Write(target, "<html>", policy);
        EXPECT_EQ(asked.outcome, WriteResult::Outcome::NeedsAnswer) << dataFile;
        EXPECT_LT(asked.links, 0) << dataFile;
        EXPECT_EQ(ReadAll(target), newer);
    }
}

TEST(WriterTurn, TheReplaceHappensOnlyOverWhatWasRead)
{
    TempFolder temp;
    const fs::path path = temp.path / "Norvelle.dat";
    WriteAll(path, "version one");
    WritePolicy policy;
    policy.target = TargetRead::Whole;
    policy.expected = StampOf(path.string());

    // Another program's version, written in place or renamed into place between the
    // writer's read and its replace, is kept, and the writer is told whose it is.
    const std::function<void(const fs::path&)> inPlace = [](const fs::path& p) { WriteAll(p, "their version"); };
    const std::function<void(const fs::path&)> renamed = [](const fs::path& p) {
        WriteAll(p.string() + ".sync", "their version");
        fs::rename(p.string() + ".sync", p);
    };
    for (const auto& other : {inPlace, renamed}) {
        WriteAll(path, "version one");
        WriteBeforeRename seam(path, other);
        const WriteResult result = Write(path, "mine", policy);
        EXPECT_EQ(result.outcome, WriteResult::Outcome::Changed);
        EXPECT_NE(result.reason.find("Another program wrote another version of it after it was read"), std::string::npos)
            << result.reason;
        EXPECT_EQ(ReadAll(path), "their version");
        EXPECT_EQ(FilesIn(temp.path), 1u) << "a temporary file was left";
    }

    // A version changed before the write began is refused as well; the one that was read is
    // replaced; a file deleted meanwhile is made again; one made where none was read is kept.
    WriteAll(path, "changed before");
    EXPECT_EQ(Write(path, "mine", policy).outcome, WriteResult::Outcome::Changed);
    WriteAll(path, "version one");
    EXPECT_TRUE(Write(path, "mine", policy).Ok());
    EXPECT_EQ(ReadAll(path), "mine");
    fs::remove(path);
    EXPECT_TRUE(Write(path, "again", policy).Ok());
    policy.expected = DiskStamp{};
    {
        WriteBeforeRename seam(path, inPlace);
        fs::remove(path);
        EXPECT_EQ(Write(path, "mine", policy).outcome, WriteResult::Outcome::Changed);
        EXPECT_EQ(ReadAll(path), "their version");
    }
}

TEST(WriterTurn, TwoBitsThatCancelInASimpleHashStillShow)
{
    // Flipping the top bit of two neighbouring 8-byte words leaves a multiply-and-xor hash
    // of words unchanged; a version changed so must not pass for the one that was read.
    TempFolder temp;
    std::string bytes(64, 'a');
    WriteAll(temp.path / "a", bytes);
    bytes[7] ^= char(0x80);
    bytes[15] ^= char(0x80);
    WriteAll(temp.path / "b", bytes);
    EXPECT_FALSE(StampOf((temp.path / "a").string()).SameContent(StampOf((temp.path / "b").string())));
    // Nor a change of one byte among the last few, in a file whose size is no whole number
    // of words, with size and time kept.
    std::string tail(61, 'a');
    WriteAll(temp.path / "c", tail);
    const auto time = fs::last_write_time(temp.path / "c");
    tail[57] = 'b';
    WriteAll(temp.path / "c2", tail);
    fs::last_write_time(temp.path / "c2", time);
    EXPECT_FALSE(StampOf((temp.path / "c").string()).SameContent(StampOf((temp.path / "c2").string())));
}

TEST(WriterTurn, WritersTakeTurnsAndWaitWithALimit)
{
    TempFolder temp;
    const fs::path path = temp.path / "Norvelle.dat";
    WritePolicy policy;
    policy.dataFile = true;
    policy.replaceConfirmed = true;
    const int timeout = WriterTurnTimeoutMs();
    SetWriterTurnTimeoutMs(300);

    // Another process holds the turn: the write waits, then says why and writes nothing.
    const std::string lockPath = WriterTurnLockPath(path.string());
    EXPECT_EQ(lockPath, (temp.path / ".Norvelle.dat.lock").string());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        WriterTurn turn;
        const bool taken = turn.Take(path.string());
        char c = taken ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        usleep(600 * 1000);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    const WriteResult busy = Write(path, "mine", policy);
    EXPECT_EQ(busy.outcome, WriteResult::Outcome::Failed);
    EXPECT_EQ(busy.reason, "Another program was writing it and did not finish within 1 second.");
    EXPECT_FALSE(fs::exists(path));
    // It lets go when it ends, however it ends.
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(Write(path, "mine", policy).Ok());

    // A thread holding the turn takes it again at once; another thread waits for it.
    WriterTurn held;
    ASSERT_TRUE(held.Take(path.string()));
    EXPECT_TRUE(Write(path, "again", policy).Ok());
    WriteResult fromOther;
    std::thread([&] { fromOther = Write(path, "other", policy); }).join();
    EXPECT_EQ(fromOther.outcome, WriteResult::Outcome::Failed);
    std::thread late([&] { fromOther = Write(path, "other", policy); });
    usleep(50 * 1000);
    held.Release();
    late.join();
    EXPECT_TRUE(fromOther.Ok());
    EXPECT_EQ(ReadAll(path), "other");
    close(ready[0]);
    close(ready[1]);
    SetWriterTurnTimeoutMs(timeout);
}

TEST(WriterTurn, TidyingUpRemovesOnlyTheTemporaryFilesOfWritersThatAreGone)
{
    TempFolder temp;
    const fs::path path = temp.path / "Norvelle.dat";
    const fs::path leftover = temp.path / "Norvelle.dat.0000abcd.tmp", busy = temp.path / "Norvelle.dat.1234abcd.tmp";
    WriteAll(leftover, "killed");
    WriteAll(busy, "writing");
    const int fd = open(busy.c_str(), O_RDONLY);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    RemoveStaleTemps(path.string());
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_TRUE(fs::exists(busy)) << "another writer's file in progress was removed";
    close(fd);
    RemoveStaleTemps(path.string());
    EXPECT_FALSE(fs::exists(busy));

    // Another writer tidies up at the very moment before this one renames its file (after
    // it was closed): the file is still this writer's, and the write succeeds.
    WriteBeforeRename seam(path, [](const fs::path& p) { RemoveStaleTemps(p.string()); });
    WritePolicy policy;
    policy.replaceConfirmed = true;
    const WriteResult result = Write(path, "mine", policy);
    EXPECT_TRUE(result.Ok()) << result.reason;
    EXPECT_EQ(ReadAll(path), "mine");
}
