#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/HugePages.h"

TEST(HugePages, TheRestartAddsToThePersonsTunablesAndPutsThemBack)
{
    EXPECT_EQ(TunablesWithHugePages(nullptr), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(TunablesWithHugePages(""), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(TunablesWithHugePages("glibc.malloc.arena_max=2"), "glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1");
    // The person's own choice about huge pages stands.
    EXPECT_EQ(TunablesWithHugePages("glibc.malloc.hugetlb=0"), std::nullopt);
    EXPECT_EQ(TunablesWithHugePages("glibc.malloc.arena_max=2:glibc.malloc.hugetlb=2"), std::nullopt);

#if defined(__linux__) && defined(__GLIBC__)
    // After a restart the programs Norvelle starts see the environment as it was.
    // (Each test runs in a process of its own.)
    unsetenv("NORVELLE_RESTARTED_TUNABLES");
    EXPECT_FALSE(RestoreEnvironmentAfterRestart());
    const struct {
        const char* marker;
        const char* restored;  // null: unset
    } cases[] = {{"unset", nullptr}, {"was:glibc.malloc.arena_max=2", "glibc.malloc.arena_max=2"}, {"was:", ""}};
    for (const auto& c : cases) {
        setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1", 1);
        setenv("NORVELLE_RESTARTED_TUNABLES", c.marker, 1);
        EXPECT_TRUE(RestoreEnvironmentAfterRestart());
        const char* now = std::getenv("GLIBC_TUNABLES");
        if (c.restored)
            EXPECT_STREQ(now, c.restored) << c.marker;
        else
            EXPECT_EQ(now, nullptr) << c.marker;
        EXPECT_EQ(std::getenv("NORVELLE_RESTARTED_TUNABLES"), nullptr);
    }
#endif
}
