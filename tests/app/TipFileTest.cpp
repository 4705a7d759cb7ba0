#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/TipFile.h"
#include "tests/support/TempFolder.h"

TEST(Tips, SplitsTrimsAndCutsLongTips)
{
    const struct {
        std::string text;
        std::vector<std::string> tips;
    } cases[] = {
        {"#First tip.#Second tip.#", {"First tip.", "Second tip."}},
        {"  One tip\r\nover two lines. ", {"One tip\r\nover two lines."}},
        {"# #  #Tip#", {"Tip"}},
        {"", {}},
        {"####", {}},
        {std::string(1024, 'a') + "Xb#c", {std::string(1024, 'a'), "b", "c"}},
        {std::string(1023, 'a') + "\xC3\xA9" "X", {std::string(1023, 'a') + "\xC3\xA9"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> tips;
        SplitTips(c.text, tips);
        EXPECT_EQ(tips, c.tips) << c.text.substr(0, 40);
    }
    std::vector<std::string> tips;
    SplitTips(std::string(100 * 1024, 'x'), tips);
    EXPECT_EQ(tips.size(), 100u);
}

TEST(Tips, ReadsFilesOfAnyKindWithoutHarm)
{
    TempFolder temp;
    const std::string path = (temp.path / "NVLTips.txt").string();
    std::vector<std::string> tips;
    EXPECT_EQ(ReadTipsFile(path, tips), TipsResult::OpenFailed);
    std::filesystem::create_directory(path);
    EXPECT_EQ(ReadTipsFile(path, tips), TipsResult::OpenFailed);
    std::filesystem::remove(path);
    std::ofstream(path) << "";
    EXPECT_EQ(ReadTipsFile(path, tips), TipsResult::Empty);
    std::ofstream(path, std::ios::binary) << "Caf\xE9 #second";
    EXPECT_EQ(ReadTipsFile(path, tips), TipsResult::Ok);
    EXPECT_EQ(tips, (std::vector<std::string>{"Caf\xC3\xA9", "second"}));
}
