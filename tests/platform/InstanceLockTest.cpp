#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/qt/QtInstanceLock.h"
#include "tests/support/TempFolder.h"

TEST(InstanceLock, OneWindowPerDataFileAndDeadHoldersDoNotCount)
{
    TempFolder temp;
    const std::string path = (temp.path / "Norvelle.dat").string();
    const std::string other = (temp.path / "Other.dat").string();
    {
        EXPECT_FALSE(QtInstanceLock::HeldByAWindow(path));
        QtInstanceLock first(path);
        ASSERT_TRUE(first.Acquire());
        QSignalSpy asked(&first, &QtInstanceLock::activationRequested);
        // The browser's host sees the window without calling it forward.
        EXPECT_TRUE(QtInstanceLock::HeldByAWindow(path));
        EXPECT_FALSE(QtInstanceLock::HeldByAWindow(other));
        EXPECT_EQ(asked.count(), 0);

        // A second start on the same file (however spelled) is refused and brings the
        // first forward; another file is free.
        QtInstanceLock second((temp.path / "." / "Norvelle.dat").string());
        EXPECT_FALSE(second.Acquire());
        EXPECT_TRUE(asked.wait(2000));
        QtInstanceLock elsewhere(other);
        EXPECT_TRUE(elsewhere.Acquire());
    }
    // Released with its window.
    QtInstanceLock again(path);
    EXPECT_TRUE(again.Acquire());

    // A first run: no data file yet, and the documents folder is a link to another place.
    std::filesystem::create_directories(temp.path / "real");
    std::filesystem::create_directory_symlink(temp.path / "real", temp.path / "Documents");
    QtInstanceLock viaLink((temp.path / "Documents" / "New.dat").string());
    ASSERT_TRUE(viaLink.Acquire());
    QtInstanceLock direct((temp.path / "real" / "New.dat").string());
    EXPECT_FALSE(direct.Acquire());
}

TEST(InstanceLock, ALockLeftByAProgramThatDiedIsTakenOver)
{
    TempFolder temp;
    const std::string path = (temp.path / "Norvelle.dat").string();
    const QString lockFile = QtInstanceLock(path).LockFilePath();
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Dies holding the lock: no destructor runs.
        QtInstanceLock dying(path);
        _exit(dying.Acquire() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(lockFile));
    // A dead holder is no window; looking leaves its lock file for the next start to take.
    EXPECT_FALSE(QtInstanceLock::HeldByAWindow(path));
    QtInstanceLock next(path);
    EXPECT_TRUE(next.Acquire());
}

TEST(InstanceLock, TheHoldFollowsTheWindowToAnotherDataFile)
{
    TempFolder temp;
    const std::string first = (temp.path / "First.dat").string();
    const std::string second = (temp.path / "Second.dat").string();
    std::unique_ptr<QtInstanceLock> held;
    ASSERT_TRUE(FollowDataFile(held, first));
    ASSERT_TRUE(held);
    QtInstanceLock otherWindow(second);
    ASSERT_TRUE(otherWindow.Acquire());
    QSignalSpy asked(&otherWindow, &QtInstanceLock::activationRequested);

    // Staying on the same file keeps the hold; a file another window has is not taken,
    // and the one left behind is free for another start.
    QtInstanceLock* before = held.get();
    EXPECT_TRUE(FollowDataFile(held, first));
    EXPECT_EQ(held.get(), before);
    EXPECT_FALSE(FollowDataFile(held, second));
    EXPECT_FALSE(held);
    EXPECT_TRUE(asked.wait(2000));
    EXPECT_TRUE(QtInstanceLock(first).Acquire());
    EXPECT_TRUE(FollowDataFile(held, (temp.path / "Third.dat").string()));
}

TEST(InstanceLock, TheBrowsersHostIsAnsweredByTheWindowThatHoldsTheFile)
{
    TempFolder temp;
    const std::string path = (temp.path / "Norvelle.dat").string();
    std::string answer = "stale";
    // No window: no answer, at once.
    EXPECT_FALSE(QtInstanceLock::AskWindow(path, "{}", answer, 2000));
    EXPECT_EQ(answer, "");

    QtInstanceLock window(path);
    ASSERT_TRUE(window.Acquire());
    // The host waits for the answer, so it asks from a thread of its own here.
    auto ask = [&](const std::string& message, std::string& reply) {
        std::atomic<int> result{-1};
        std::thread asker([&] { result = QtInstanceLock::AskWindow(path, message, reply, 3000) ? 1 : 0; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return result >= 0; }, 5000));
        asker.join();
        return result == 1;
    };
    // A window without a handler takes no message.
    EXPECT_FALSE(ask("{}", answer));

    std::vector<std::string> seen;
    window.SetMessageHandler([&](const std::string& message) {
        seen.push_back(message);
        return "answer to " + std::to_string(message.size()) + " bytes";
    });
    const std::string big(3 << 20, 'x');
    for (const std::string& message : {std::string("{\"type\":\"hello\"}"), std::string("line\none"), big}) {
        ASSERT_TRUE(ask(message, answer));
        EXPECT_EQ(answer, "answer to " + std::to_string(message.size()) + " bytes");
        EXPECT_EQ(seen.back(), message);
    }
    // A second start still only brings the window forward.
    QSignalSpy asked(&window, &QtInstanceLock::activationRequested);
    QtInstanceLock second(path);
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(asked.wait(2000));
    EXPECT_EQ(seen.size(), 3u);
}
