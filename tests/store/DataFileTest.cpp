#include <gtest/gtest.h>

#include <cstring>

#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/TempFolder.h"
#include "store/NaturalCompare.h"

#include <fstream>

#include <algorithm>
#include <filesystem>

namespace {

std::string Hex(const std::string& hex)
{
    std::string out;
    for (size_t i = 0; i + 1 < hex.size();) {
        if (hex[i] == ' ' || hex[i] == '|') {
            ++i;
            continue;
        }
        out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
        i += 2;
    }
    return out;
}

// Little-endian pieces for building files by hand.
std::string I32(int32_t v)
{
    std::string s(4, '\0');
    std::memcpy(s.data(), &v, 4);
    return s;
}
std::string Str(const std::string& text)
{
    std::string s;
    if (text.size() < 255) {
        s += char(text.size());
    } else {
        s += '\xFF';
        uint16_t n = uint16_t(text.size());
        s.append(reinterpret_cast<const char*>(&n), 2);
    }
    return s + text;
}
std::string Date(double value, int32_t status = 0)
{
    std::string s = I32(status);
    s.append(reinterpret_cast<const char*>(&value), 8);
    return s;
}
std::string RecordV2(const std::string& title, double added = 39814.0, double modified = 39814.0)
{
    return Str(title) + Str("link") + Str("") + Str("Cat") + Date(added) + Date(modified);
}

const char* const kExample =
    "02 00 00 00 | 02 00 00 00 | 04 4E 65 77 73 | 04 4C 41 53 54 | 01 00 00 00 | 04 48 6F 6D 65 | "
    "08 43 3A 5C 61 2E 74 78 74 | 00 | 04 4E 65 77 73 | 00 00 00 00 00 00 00 00 C0 70 E3 40 | "
    "00 00 00 00 00 00 00 00 C0 70 E3 40";

// Reads as the window does: the reader returns, and what it refused is told the person.
ReadResult Read(LinkStore& store, const std::string& bytes, FakePrompter& prompter)
{
    MemorySource source(bytes);
    const ReadResult result = ReadDataFile(store, source);
    if (const char* refused = RefusalMessage(result)) prompter.Error(refused);
    return result;
}

std::string Write(const LinkStore& store)
{
    StringSink sink;
    EXPECT_TRUE(WriteDataFile(store, sink));
    return sink.bytes;
}

}  // namespace

TEST(DataFile, WritesAndReadsTheDocumentedExample)
{
    LinkStore store;
    store.InsertCategorySorted("News");
    ASSERT_TRUE(store.InsertLink(0, "Home", "C:\\a.txt", "", "News", {0, 39814.0}, {0, 39814.0}));
    std::string bytes = Write(store);
    EXPECT_EQ(bytes.size(), 66u);
    EXPECT_EQ(bytes, Hex(kExample));

    LinkStore loaded;
    FakePrompter prompter;
    ReadResult result = Read(loaded, bytes, prompter);
    EXPECT_EQ(result.status, ReadStatus::Ok);
    EXPECT_EQ(result.version, 2);
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.At(0), store.At(0));
    EXPECT_EQ(loaded.Categories(), std::vector<std::string>{"News"});
    EXPECT_EQ(loaded.ClearSelection(), "LAST");
    EXPECT_TRUE(prompter.Messages().empty());
    EXPECT_FALSE(loaded.IsChanged());
}

TEST(DataFile, StringLengthFormsRoundTrip)
{
    LinkStore store;
    for (size_t n : {0u, 1u, 254u, 255u, 65533u, 65534u, 70000u})
        ASSERT_TRUE(store.InsertLink(store.Count(), std::string(n, 'x'), "", "", "", {}, {}));
    std::string bytes = Write(store);
    // A store with no categories writes category field 1 and the clear-selection string.
    EXPECT_EQ(bytes.substr(4, 4), I32(1));
    EXPECT_EQ(bytes.substr(8, 5), Str("LAST"));

    auto prefixOf = [&](size_t n) {
        LinkStore one;
        EXPECT_TRUE(one.InsertLink(0, std::string(n, 'x'), "", "", "", {}, {}));
        std::string b = Write(one);
        return b.substr(4 + 4 + 5 + 4, n < 255 ? 1 : n <= 65533 ? 3 : 7);
    };
    EXPECT_EQ(prefixOf(254), Hex("FE"));
    EXPECT_EQ(prefixOf(255), Hex("FF FF 00"));
    EXPECT_EQ(prefixOf(65533), Hex("FF FD FF"));
    EXPECT_EQ(prefixOf(65534), Hex("FF FF FF FE FF 00 00"));

    LinkStore loaded;
    FakePrompter prompter;
    EXPECT_EQ(Read(loaded, bytes, prompter).status, ReadStatus::Ok);
    ASSERT_EQ(loaded.Count(), store.Count());
    for (int i = 0; i < store.Count(); ++i) EXPECT_EQ(loaded.At(i).Title(), store.At(i).Title());
    EXPECT_EQ(Write(loaded), bytes);
}

TEST(DataFile, ReadsOlderAndOddLayouts)
{
    FakePrompter prompter;
    {   // Version 1: one date for both.
        LinkStore store;
        std::string file = I32(1) + I32(1) + Str("LAST") + I32(1) + Str("t") + Str("l") + Str("d") + Str("c") + Date(40000.5);
        EXPECT_EQ(Read(store, file, prompter).status, ReadStatus::Ok);
        ASSERT_EQ(store.Count(), 1);
        EXPECT_EQ(store.At(0).Modified(), store.At(0).Added());
        EXPECT_EQ(store.At(0).Added().value, 40000.5);
    }
    {   // Category field 0 (or below): no names and no clear-selection string.
        LinkStore store;
        std::string file = I32(2) + I32(0) + I32(1) + RecordV2("only");
        EXPECT_EQ(Read(store, file, prompter).status, ReadStatus::Ok);
        ASSERT_EQ(store.Count(), 1);
        EXPECT_EQ(store.At(0).Title(), "only");
        EXPECT_EQ(store.ClearSelection(), "LAST");
        LinkStore negative;
        EXPECT_EQ(Read(negative, I32(2) + I32(-5) + I32(-3), prompter).status, ReadStatus::Ok);
        EXPECT_EQ(negative.Count(), 0);
    }
    {   // A clear-selection naming a category missing from the file's own list.
        LinkStore store;
        std::string file = I32(2) + I32(2) + Str("A") + Str("Work") + I32(0);
        EXPECT_EQ(Read(store, file, prompter).status, ReadStatus::Ok);
        EXPECT_EQ(store.Categories(), (std::vector<std::string>{"A", "Work"}));
        EXPECT_EQ(store.ClearSelection(), "LAST");
    }
    {   // Strings behind the wide marker become UTF-8; unpaired surrogates become U+FFFD.
        LinkStore store;
        std::string wide = Hex("FF FE FF 05") + Hex("E9 00 3D D8 00 DE 00 D8 41 00");  // é, 😀, lone high, 'A'
        std::string file = I32(2) + I32(1) + wide + I32(0);
        EXPECT_EQ(Read(store, file, prompter).status, ReadStatus::Ok);
        EXPECT_EQ(store.ClearSelection(), "LAST");
        EXPECT_EQ(store.Categories(), std::vector<std::string>{"\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD" "A"});
        LinkStore titled;
        std::string record = Hex("FF FE FF 02") + Hex("E9 00 3D D8") + Str("") + Str("") + Str("") + Date(1) + Date(1);
        EXPECT_EQ(Read(titled, I32(2) + I32(0) + I32(1) + record, prompter).status, ReadStatus::Ok);
        ASSERT_EQ(titled.Count(), 1);
        EXPECT_EQ(titled.At(0).Title(), "\xC3\xA9\xEF\xBF\xBD");
    }
    EXPECT_TRUE(prompter.Messages().empty());
}

TEST(DataFile, RefusesHigherVersionsWithoutTouchingTheStore)
{
    LinkStore store;
    store.InsertCategorySorted("Keep");
    ASSERT_TRUE(store.InsertLink(0, "kept", "", "", "", {}, {}));
    FakePrompter prompter;
    ReadResult result = Read(store, I32(3) + I32(1) + Str("NONE") + I32(1) + RecordV2("new"), prompter);
    EXPECT_EQ(result.status, ReadStatus::VersionRefused);
    EXPECT_EQ(result.version, 3);
    EXPECT_EQ(store.Count(), 1);
    EXPECT_EQ(store.Categories(), std::vector<std::string>{"Keep"});
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].text, "Cannot load a data file that has a higher version number.");
    EXPECT_EQ(prompter.Messages()[0].icon, Prompter::Icon::Exclamation);
    // Negative versions compare as signed numbers and are read with two dates.
    LinkStore other;
    EXPECT_EQ(Read(other, I32(-1) + I32(1) + Str("LAST") + I32(1) + RecordV2("neg"), prompter).status, ReadStatus::Ok);
    EXPECT_EQ(other.Count(), 1);
}

TEST(DataFile, AppendingKeepsTheCurrentListAndValue)
{
    FakePrompter prompter;
    LinkStore store;
    std::string first = I32(2) + I32(3) + Str("News") + Str("Work") + Str("NONE") + I32(1) + RecordV2("one");
    ASSERT_EQ(Read(store, first, prompter).status, ReadStatus::Ok);
    EXPECT_EQ(store.ClearSelection(), "NONE");

    std::string second = I32(2) + I32(3) + Str("news") + Str("Blogs") + Str("Work") + I32(2) + RecordV2("two") + RecordV2("three");
    ASSERT_EQ(Read(store, second, prompter).status, ReadStatus::Ok);
    EXPECT_EQ(store.Categories(), (std::vector<std::string>{"Blogs", "News", "Work"}));
    EXPECT_EQ(store.ClearSelection(), "NONE");  // the file's "Work" is listed, yet the value stays
    ASSERT_EQ(store.Count(), 3);
    EXPECT_EQ(store.At(1).Title(), "two");
    EXPECT_EQ(store.At(2).Title(), "three");

    // Onto a store without records it behaves like a load.
    LinkStore empty;
    empty.InsertCategorySorted("Old");
    ASSERT_EQ(Read(empty, first, prompter).status, ReadStatus::Ok);
    EXPECT_EQ(empty.Categories(), (std::vector<std::string>{"News", "Work"}));
    EXPECT_EQ(empty.ClearSelection(), "NONE");
}

TEST(DataFile, TruncationAnywhereKeepsWhatWasReadWhole)
{
    LinkStore full;
    full.InsertCategorySorted("A");
    full.InsertCategorySorted("B");
    for (const char* t : {"first", "second", "third"}) EXPECT_TRUE(full.InsertLink(full.Count(), t, "http://x", "d", "A", {0, 1.0}, {0, 2.0}));
    std::string bytes = Write(full);

    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        LinkStore store;
        FakePrompter prompter;
        ReadResult result = Read(store, bytes.substr(0, cut), prompter);
        ASSERT_EQ(result.status, ReadStatus::ReadError) << "cut at " << cut;
        EXPECT_TRUE(prompter.Messages().empty());
        ASSERT_LE(store.Count(), 2);
        for (int i = 0; i < store.Count(); ++i) EXPECT_EQ(store.At(i), full.At(i));
    }
    // Cut inside the third record: the first two and every category stay.
    LinkStore store;
    FakePrompter prompter;
    Read(store, bytes.substr(0, bytes.size() - 10), prompter);
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(store.Categories(), (std::vector<std::string>{"A", "B"}));
    // Bytes after the last record mean the count of links was damaged (a 1,000-link file
    // whose count says 232): not read whole, so that no save of what was read drops the
    // rest. Every declared link is read, and the message says what happened.
    for (int32_t count : {3, 1, 0}) {
        std::string damaged = bytes + (count == 3 ? "garbage" : "");
        // The count is the four bytes before the first record.
        if (count < 3) std::memcpy(&damaged[bytes.find(Str("first")) - 4], &count, 4);
        LinkStore extra;
        const ReadResult result = Read(extra, damaged, prompter);
        EXPECT_EQ(result.status, ReadStatus::ReadError) << count;
        EXPECT_EQ(extra.Count(), count);
        EXPECT_EQ(result.records, count);
        EXPECT_GT(result.extraBytes, 0u);
        EXPECT_NE(ReadProblem(result).find("its count of links is damaged"), std::string::npos) << ReadProblem(result);
    }

    // Many records, read in groups: every field of every record, in order, and a cut
    // inside the 600th keeps exactly the 599 before it.
    LinkStore many;
    for (int i = 0; i < 700; ++i)
        EXPECT_TRUE(many.InsertLink(i, "title " + std::to_string(i), "http://x/" + std::to_string(i),
                        std::string(size_t(i % 90), 'd') + std::to_string(i), i % 3 ? "A" : "", {0, 1.0 + i},
                        {0, 2.5 + i}));
    const std::string manyBytes = Write(many);
    LinkStore whole;
    ASSERT_EQ(Read(whole, manyBytes, prompter).status, ReadStatus::Ok);
    ASSERT_EQ(whole.Count(), 700);
    for (int i = 0; i < 700; ++i) ASSERT_EQ(whole.At(i), many.At(i)) << i;
    LinkStore upTo599;
    size_t cut = manyBytes.find("title 599");
    ASSERT_NE(cut, std::string::npos);
    EXPECT_EQ(Read(upTo599, manyBytes.substr(0, cut + 3), prompter).status, ReadStatus::ReadError);
    ASSERT_EQ(upTo599.Count(), 599);
    for (int i = 0; i < 599; ++i) ASSERT_EQ(upTo599.At(i), many.At(i)) << i;
}

TEST(DataFile, HostileLengthsAndCountsFailWithoutAllocating)
{
    FakePrompter prompter;
    const std::string head = I32(2) + I32(1) + Str("LAST");
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"4 GiB string", head + I32(1) + Hex("FF FF FF FF FF FF FF") + "abc"},
        {"64 KiB string in a short file", head + I32(1) + Hex("FF FD FF") + "abc"},
        {"2^31 - 1 records", head + I32(0x7FFFFFFF) + RecordV2("one")},
        {"2^31 category names", I32(2) + I32(0x7FFFFFFF) + Str("a") + Str("b")},
        {"marker after marker", head + I32(1) + Hex("FF FE FF FF FE FF 01") + "ab"},
        {"wide string of 2^32-1 units", head + I32(1) + Hex("FF FE FF FF FF FF FF FF FF") + "ab"},
        {"odd wide byte count", head + I32(1) + Hex("FF FE FF 02") + "abc"},
        {"wide marker at the end", head + I32(1) + Hex("FF FE FF")},
    };
    for (const Case& c : cases) {
        LinkStore store;
        ReadResult result = Read(store, c.bytes, prompter);
        EXPECT_EQ(result.status, ReadStatus::ReadError) << c.what;
        EXPECT_LE(store.Count(), 1) << c.what;
    }
    EXPECT_TRUE(prompter.Messages().empty());
}

TEST(DataFile, FailingSinkIsReported)
{
    LinkStore store;
    EXPECT_TRUE(store.InsertLink(0, std::string(100000, 'x'), "", "", "", {}, {}));
    struct Failing : ByteSink {
        bool Write(const void*, size_t) override { return false; }
    } sink;
    EXPECT_FALSE(WriteDataFile(store, sink));
}

TEST(DataFile, HugeFilesManyCategoriesAndEqualNamesReadSafelyAndStably)
{
    // One record, then zeros to 100 GiB (sparse): the reader reserves by what can be there.
    TempFolder temp;
    LinkStore one;
    EXPECT_TRUE(one.InsertLink(0, "only", "l", "", "", {0, 1}, {0, 1}));
    const std::filesystem::path huge = temp.path / "huge.dat";
    {
        AtomicFileWriter writer(false);
        ASSERT_TRUE(writer.Open(huge.string()) && WriteDataFile(one, writer) && writer.Commit());
    }
    std::error_code ec;
    std::filesystem::resize_file(huge, 100ull << 30, ec);
    if (!ec) {
        LinkStore store;
        FileSource source;
        FakePrompter prompter;
        ASSERT_TRUE(source.Open(huge.string()));
        // Not read whole: the zeros after the record are no link anyone can see.
        EXPECT_EQ(ReadDataFile(store, source).status, ReadStatus::ReadError);
        EXPECT_EQ(store.Count(), 1);
    }

    // 100,000 names, some alike under the natural order ("01" and "1"), some only in case:
    // read in one sort, one entry per name regardless of case, and written back unchanged.
    LinkStore many;
    std::vector<std::string> names;
    for (int i = 0; i < 100000; ++i) names.push_back("Topic " + std::to_string(i % 50000) + (i >= 50000 ? "x" : ""));
    names.push_back("01");
    names.push_back("1");
    names.push_back("topic 7");
    many.SetCategoriesInOrder(names);
    StringSink first;
    ASSERT_TRUE(WriteDataFile(many, first));
    LinkStore read;
    MemorySource source(first.bytes);
    FakePrompter prompter;
    EXPECT_EQ(ReadDataFile(read, source).status, ReadStatus::Ok);
    EXPECT_EQ(read.Categories().size(), 100002u);  // "topic 7" is "Topic 7"
    StringSink second, third;
    ASSERT_TRUE(WriteDataFile(read, second));
    LinkStore again;
    MemorySource source2(second.bytes);
    (void)ReadDataFile(again, source2);
    ASSERT_TRUE(WriteDataFile(again, third));
    EXPECT_EQ(second.bytes, third.bytes);
    const auto& sorted = read.Categories();
    EXPECT_EQ(std::find(sorted.begin(), sorted.end(), "01") + 1, std::find(sorted.begin(), sorted.end(), "1"));
}

TEST(DataFile, FuzzFindingsStayMended)
{
    // A NUL inside a name compared like the end of the text in one place and like a
    // character in another, so no sort could order such names and a file changed order
    // each time it was read and written.
    EXPECT_EQ(NaturalCompare("a\0b", std::string_view("a")), 0);
    EXPECT_EQ(NaturalCompare(std::string_view("a\0b", 3), std::string_view("a\0c", 3)), 0);
    std::ifstream in(std::string(NORVELLE_SOURCE_DIR) + "/tests/regression/datafile-nul-in-category.dat", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_FALSE(bytes.empty());
    FakePrompter prompter;
    LinkStore first;
    MemorySource source(bytes);
    // The fuzzer's file has bytes after its last declared link (not read whole); what was
    // read must still write the same bytes each time.
    const ReadResult read = ReadDataFile(first, source);
    ASSERT_EQ(read.status, ReadStatus::ReadError);
    ASSERT_GT(read.extraBytes, 0u);
    StringSink once, twice;
    WriteDataFile(first, once);
    LinkStore second;
    MemorySource again(once.bytes);
    (void)ReadDataFile(second, again);
    WriteDataFile(second, twice);
    EXPECT_EQ(once.bytes, twice.bytes);
}

TEST(DataFile, TextsAroundWhereABlockTakesItsWideFormReadBackWhole)
{
    // A record's block keeps short sizes up to 65,535 bytes and switches form past them:
    // a category of exactly that size, and one byte either side, reads back whole.
    for (size_t size : {65534u, 65535u, 65536u}) {
        LinkStore store;
        const std::string category(size, 'c'), title(size, 't');
        ASSERT_TRUE(store.InsertLink(0, title, "l", "d", category, {0, 1}, {0, 2}));
        ASSERT_EQ(store.At(0).Category().size(), size);
        LinkStore back;
        FakePrompter prompter;
        ASSERT_EQ(Read(back, Write(store), prompter).status, ReadStatus::Ok) << size;
        ASSERT_EQ(back.Count(), 1);
        EXPECT_EQ(back.At(0).Category(), category) << size;
        EXPECT_EQ(back.At(0).Title(), title) << size;
        EXPECT_EQ(back.At(0).Description(), "d") << size;
    }
}
