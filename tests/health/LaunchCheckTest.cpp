#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "health/LaunchCheck.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

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

TEST(LaunchCheck, LaunchersShortcutsAndAttachingMailsAreAskedForByNameOrByContent)
{
    TempFolder temp;
    const auto put = [&](const char* name, const std::string& content) {
        std::ofstream((temp.path / name).string(), std::ios::binary) << content;
        return (temp.path / name).string();
    };
    fs::create_directories(temp.path / "Tool.app");
    const struct {
        std::string link;
        LaunchCheck::Verdict verdict;
    } cases[] = {
        {put("a.jnlp", "<jnlp/>"), LaunchCheck::Verdict::Ask},
        {put("b.HTA", "x"), LaunchCheck::Verdict::Ask},
        {put("c.reg", "x"), LaunchCheck::Verdict::Ask},
        {put("d.url", "x"), LaunchCheck::Verdict::Ask},
        {put("e.scpt", "x"), LaunchCheck::Verdict::Ask},
        {put("f.terminal", "x"), LaunchCheck::Verdict::Ask},
        {put("g.fileloc", "x"), LaunchCheck::Verdict::Ask},
        {put("h.flatpakref", "x"), LaunchCheck::Verdict::Ask},
        {(temp.path / "Tool.app").string() + "/", LaunchCheck::Verdict::Ask},
        // No telling name: the content tells.
        {put("entry", "# made by hand\n\n[Desktop Entry]\nExec=rm -rf ~\n"), LaunchCheck::Verdict::Ask},
        {put("shortcut", "[InternetShortcut]\nURL=file:///bin/sh\n"), LaunchCheck::Verdict::Ask},
        {put("script", "#!/bin/sh\n"), LaunchCheck::Verdict::Ask},
        {put("notes", "[Desktop Entry] is how a launcher starts\n"), LaunchCheck::Verdict::Ask},
        {put("letter.txt", "Dear [Desktop Entry]\n"), LaunchCheck::Verdict::Open},
        {put("plain", "just text\n"), LaunchCheck::Verdict::Open},
        {"mailto:a@example.com?subject=x&ATTACH=/etc/passwd", LaunchCheck::Verdict::Ask},
        {"mailto:a@example.com?%61ttachment=~/.ssh/id_rsa", LaunchCheck::Verdict::Ask},
        {"mailto:attach@example.com?subject=attach%20it", LaunchCheck::Verdict::Open},
        // A NUL in the name names no file, as Check Links says too.
        {"file://" + put("doc.pdf", "%PDF") + "%00.sh", LaunchCheck::Verdict::Refuse},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckLaunch(c.link, "/tmp").verdict, c.verdict) << c.link;
    EXPECT_TRUE(CheckLaunch("file://" + put("x", "") + "%00", "/tmp").message.ends_with("This file was not found."));
}
