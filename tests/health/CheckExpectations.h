#pragma once
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "health/LinkCheck.h"

// What the link check tests expect of one link.
struct ExpectedCheck {
    std::string link;
    LinkState state;
    int status;
    std::string finalAddress;
};

// Keeps every result by the link's index.
struct CheckCollector : CheckSink {
    std::map<int, LinkCheckResult> results;
    int finished = 0;
    void LinkChecked(const LinkCheckResult& r) override { results[r.index] = r; }
    void CheckFinished() override { ++finished; }
};

inline std::vector<std::string> LinksOf(const std::vector<ExpectedCheck>& expected)
{
    std::vector<std::string> links;
    for (const ExpectedCheck& e : expected) links.push_back(e.link);
    return links;
}

inline void ExpectResults(const std::map<int, LinkCheckResult>& results, const std::vector<ExpectedCheck>& expected)
{
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].link);
        auto found = results.find(int(i));
        ASSERT_NE(found, results.end());
        EXPECT_EQ(found->second.state, expected[i].state) << StateText(found->second);
        EXPECT_EQ(found->second.status, expected[i].status);
        EXPECT_EQ(found->second.finalAddress, expected[i].finalAddress);
    }
}
