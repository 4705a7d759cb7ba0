#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "store/DiskStamp.h"
#include "store/FileIO.h"
#include "store/GuardedWrite.h"
#include "store/WriterTurn.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

WriteResult Write(const fs::path& target, const std::string& bytes, const WritePolicy& policy)
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
