#include <gtest/gtest.h>

#include "common/LaunchCheck.h"

TEST(LaunchCheck, EveryControlCharacterIsRefusedAndShown)
{
    // What the system would be handed must be what the person sees: a control character
    // (C0, DEL or C1) hides or changes part of the link, so it is refused, named as U+.
    const struct {
        const char* link;
        const char* shown;
    } controls[] = {
        {"https://a.example/\x01x", "<U+0001>"},
        {"https://a.example/\x1B[2Jx", "<U+001B>"},
        {"https://a.example/\x7Fx", "<U+007F>"},
        {"https://a.example/\xC2\x85x", "<U+0085>"},
        {"https://a.example/\xC2\x9Bx", "<U+009B>"},
    };
    for (const auto& c : controls) {
        const LaunchCheck check = CheckLaunch(c.link, "/tmp");
        EXPECT_EQ(check.verdict, LaunchCheck::Verdict::Refuse) << c.shown;
        EXPECT_NE(check.message.find(c.shown), std::string::npos) << check.message;
        EXPECT_NE(VisibleText(c.link).find(c.shown), std::string::npos) << c.shown;
    }
    EXPECT_EQ(CheckLaunch("https://a.example/~x", "/tmp").verdict, LaunchCheck::Verdict::Open);
}
