#include <gtest/gtest.h>

#include "titlecase/TitleCaser.h"

namespace {
std::string Converted(const CTitleCaser& caser, std::string title)
{
    caser.Convert(title);
    return title;
}
}  // namespace

TEST(TitleCaser, ConvertsWithTheDefaultExceptions)
{
    const CTitleCaser caser;
    const std::pair<const char*, const char*> cases[] = {
        {"the lord of the rings", "The Lord of the Rings"},
        {"war and peace: a novel", "War and Peace: A Novel"},
        {"a tale of two cities", "A Tale of Two Cities"},
        {"what it's all about", "What It's All About"},
        {"working with IBM mainframes", "Working with IBM Mainframes"},
        {"THE LORD OF THE RINGS", "The LORD of the RINGS"},
        {"LORDOFTHERINGS", "Lordoftherings"},
        {"the", "The"},
        {"of mice and men", "Of Mice and Men"},
        {"notes: on the road", "Notes: On the Road"},
        {"\"the road\" again", "\"the Road\" Again"},
        {"don't stop", "Don'T Stop"},
        {"3D printing at home", "3d Printing at Home"},
        {"  padded title \r\n", "Padded Title"},
        {"", ""},
        {"...!?", "...!?"},
        {"old McDonald had a farm", "Old McDonald Had a Farm"},
        // UTF-8: Unicode letters and case changes, typographic apostrophes.
        {"\xC3\xA9lan vital", "\xC3\x89lan Vital"},
        {"\xC3\x9C" "BER", "\xC3\x9C" "ber"},
        {"what it\xE2\x80\x99s all about", "What It\xE2\x80\x99s All About"},
        {"stra\xC3\x9F" "e und platz", "Stra\xC3\x9F" "e Und Platz"},
        // Bytes that are not UTF-8 stay exactly as they are.
        {"caf\xE9 of the world", "Caf\xE9 of the World"},
        {"\xFF\xFE title", "\xFF\xFE Title"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(Converted(caser, in), out) << in;

    const std::string longTitle(10000, 'w');
    EXPECT_EQ(Converted(caser, longTitle), "W" + std::string(9999, 'w'));
}

TEST(TitleCaser, KeepsEachExceptionInItsFirstCase)
{
    CTitleCaser caser;
    std::vector<std::string> defaults;
    CTitleCaser::DefaultExceptions(defaults);
    ASSERT_EQ(defaults.size(), 28u);
    std::vector<std::string> words;
    caser.GetExceptions(words);
    EXPECT_EQ(words, defaults);

    caser.SetExceptions({"von", "VON", "of the", "", "  ", "McX", "iPhone", "\xC3\xBC" "ber"});
    words.clear();
    caser.GetExceptions(words);
    EXPECT_EQ(words, (std::vector<std::string>{"von", "of the", "", "  ", "McX", "iPhone", "\xC3\xBC" "ber"}));
    EXPECT_EQ(Converted(caser, "LUDWIG VON beethoven"), "LUDWIG von Beethoven");
    EXPECT_EQ(Converted(caser, "out of the blue"), "Out Of The Blue");  // "of the" never matches
    EXPECT_EQ(Converted(caser, "my IPHONE and mcx"), "My iPhone And McX");
    EXPECT_EQ(Converted(caser, "reise \xC3\x9C" "BER land"), "Reise \xC3\xBC" "ber Land");
    EXPECT_EQ(Converted(caser, "first: von here"), "First: Von Here");
}
