#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTest>

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
        QtInstanceLock first(path);
        ASSERT_TRUE(first.Acquire());
        QSignalSpy asked(&first, &QtInstanceLock::activationRequested);

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
    QtInstanceLock next(path);
    EXPECT_TRUE(next.Acquire());
}
