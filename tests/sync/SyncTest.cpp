#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "store/LinkStore.h"
#include "sync/ConflictCopies.h"
#include "store/DiskStamp.h"
#include "sync/MergeStores.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

TEST(Sync, ConflictCopiesOfEachSyncToolAreFoundAndNothingElse)
{
    const std::pair<const char*, bool> names[] = {
        {"Norvelle.sync-conflict-20261207-101500-ABCDEFG.dat", true},       // Syncthing
        {"Norvelle (Ann's conflicted copy 2026-12-07).dat", true},          // Dropbox
        {"Norvelle (conflicted copy 2026-12-07 101500).dat", true},         // Nextcloud
        {"Norvelle (Conflicted Copy).dat", true},
        {"Norvelle.dat.conflict", true},
        {"Norvelle.dat.conflict-20261207", true},
        {"Norvelle.dat", false},
        {"Norvelle.dat.bak", false},
        {"Norvelle (other version).dat", false},
        {"Norvelle (my version).dat", false},
        {"Norvelle.sync-conflict-1.txt", false},
        {"Other (conflicted copy).dat", false},
        {"Norvelle2 (conflicted copy).dat", false},
        {"Norvelle (conflicted copy).dat.tmp", false},
    };
    for (const auto& [name, conflict] : names) EXPECT_EQ(IsConflictCopyName("Norvelle.dat", name), conflict) << name;
    EXPECT_TRUE(IsConflictCopyName("links", "links.sync-conflict-2026"));

    TempFolder temp;
    auto touch = [&](const char* name, int age) {
        const fs::path p = temp.path / name;
        std::ofstream(p) << name;
        fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(age));
        return p.string();
    };
    touch("Norvelle.dat", 0);
    const std::string older = touch("Norvelle (conflicted copy 1).dat", 5);
    const std::string newer = touch("Norvelle.sync-conflict-2.dat", 1);
    touch("Unrelated.sync-conflict-2.dat", 0);
    fs::create_directory(temp.path / "Norvelle.dat.conflict-folder");
    const std::vector<ConflictCopy> copies = FindConflictCopies((temp.path / "Norvelle.dat").string());
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].path, newer);
    EXPECT_EQ(copies[1].path, older);
    EXPECT_GT(copies[0].modified, copies[1].modified);
    EXPECT_TRUE(FindConflictCopies((temp.path / "missing" / "Norvelle.dat").string()).empty());

    // Reached through a link from another folder: the copies beside the real file, once.
    fs::create_directory(temp.path / "elsewhere");
    fs::create_symlink(temp.path / "Norvelle.dat", temp.path / "elsewhere" / "Links.dat");
    const std::vector<ConflictCopy> linked = FindConflictCopies((temp.path / "elsewhere" / "Links.dat").string());
    ASSERT_EQ(linked.size(), 2u);
    EXPECT_EQ(linked[0].path, newer);
    fs::create_directory_symlink(temp.path, temp.path / "same");
    EXPECT_EQ(FindConflictCopies((temp.path / "same" / "Norvelle.dat").string()).size(), 2u);
}

TEST(Sync, StampsTellContentFromTime)
{
    TempFolder temp;
    const std::string path = (temp.path / "a.dat").string();
    EXPECT_EQ(StampOf(path).kind, DiskStamp::Kind::Missing);
    std::ofstream(path) << std::string(100000, 'x');
    const DiskStamp first = StampOf(path);
    EXPECT_EQ(first.kind, DiskStamp::Kind::File);
    EXPECT_EQ(first.size, 100000u);
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(2));
    const DiskStamp touched = StampOf(path);
    EXPECT_TRUE(touched.SameContent(first));
    EXPECT_NE(touched.modified, first.modified);
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(50000) << 'y';  // same size
    EXPECT_FALSE(StampOf(path).SameContent(first));
    // A change in any of the last bytes, past the last whole word, shows too, with the
    // size and the time kept.
    for (int at : {1000, 1001, 1002}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(1003, 'x');
        const DiskStamp tail = StampOf(path);
        const auto time = fs::last_write_time(path);
        std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(at) << 'y';
        fs::last_write_time(path, time);
        EXPECT_FALSE(StampOf(path).SameContent(tail)) << at;
    }
    EXPECT_EQ(StampOf(temp.path.string()).kind, DiskStamp::Kind::Other);
    EXPECT_EQ(FreeNameWithTag(path, "mine"), (temp.path / "a (mine).dat").string());

    // Hashed in pieces while written or read, a file gets the stamp that reading it whole gives.
    std::string bytes;
    for (int i = 0; i < 1000; ++i) bytes += char(i * 7);
    StringSink written;
    HashingSink hashing(written);
    for (size_t at = 0, piece = 1; at < bytes.size(); at += piece, piece = piece % 13 + 1)
        hashing.Write(bytes.data() + at, std::min(piece, bytes.size() - at));
    std::ofstream(path, std::ios::binary | std::ios::trunc) << written.bytes;
    const DiskStamp whole = StampOf(path);
    EXPECT_EQ(whole.size, 1000u);
    EXPECT_TRUE(hashing.Stamp(path).SameContent(whole));
    MemorySource source(bytes);
    HashingSource reading(source);
    char head[5];
    reading.Read(head, sizeof head);  // a reader that stops early: the rest is still counted
    EXPECT_TRUE(reading.Finish(path).SameContent(whole));
}

TEST(Sync, MergeKeepsEveryRecordOnceAndUnitesCategories)
{
    LinkStore a, b, out;
    auto add = [](LinkStore& s, const char* title, const char* link, double added = 1) {
        EXPECT_TRUE(s.InsertLink(s.Count(), title, link, "d", "Cat", {0, added}, {0, added}));
    };
    add(a, "Same", "http://same/");
    add(a, "Twice", "http://twice/");
    add(a, "Twice", "http://twice/");
    add(a, "Only A", "http://a/");
    add(b, "Only B", "http://b/");
    add(b, "Same", "http://same/");
    add(b, "Same", "http://same/", 2);  // another date: another record
    add(b, "Twice", "http://twice/");
    a.SetCategoriesInOrder({"Work", "Home"});
    b.SetCategoriesInOrder({"home", "Music"});
    const MergeCounts counts = MergeStores(a, b, out);
    EXPECT_EQ(counts.onlyFirst, 2);
    EXPECT_EQ(counts.onlySecond, 2);
    EXPECT_EQ(counts.both, 2);
    std::vector<std::string> titles;
    for (int i = 0; i < out.Count(); ++i) titles.emplace_back(out.At(i).Title());
    EXPECT_EQ(titles, (std::vector<std::string>{"Same", "Twice", "Twice", "Only A", "Only B", "Same"}));
    EXPECT_EQ(out.At(5).Added().value, 2);
    EXPECT_EQ(out.Categories().size(), 3u);
    EXPECT_TRUE(out.HasCategory("Music"));
}
