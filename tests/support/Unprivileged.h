#pragma once
#include <filesystem>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

// Runs body in a child process as an ordinary user, so that file permissions bind it
// even when the tests run as root (as CI does). folder is opened to that user first.
// Failures inside body fail the calling test.
template <class Body>
void AsOrdinaryUser(const std::filesystem::path& folder, Body body)
{
    std::filesystem::permissions(folder, std::filesystem::perms::all);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        body();
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: a check failed as an ordinary user (see above), 2: could not become one";
}
