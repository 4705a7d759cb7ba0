#include <gtest/gtest.h>

#include "options/CountFormatter.h"
#include "options/Settings.h"
#include "titlecase/TitleCaser.h"
#include "tests/support/FakeServices.h"

namespace {
std::vector<std::string> Words(const ExceptionSet& set)
{
    std::vector<std::string> words;
    set.GetExceptions(words);
    return words;
}
}  // namespace

TEST(Settings, FreshStoreGivesTheDefaults)
{
    MemorySettings backend;
    CSettings s;
    s.saveLimit = 77;  // overwritten by the load
    CTitleCaser exceptions;
    LoadSettings(backend, s, exceptions);
    EXPECT_TRUE(s.saveOnPresses);
    EXPECT_EQ(s.saveLimit, 5);
    EXPECT_TRUE(s.saveOnTimer);
    EXPECT_EQ(s.timerIndex, 2);
    EXPECT_EQ(s.TimerPeriodMs(), 30 * 60 * 1000);
    EXPECT_TRUE(s.saveOnClose);
    EXPECT_EQ(s.dataFile, "");
    EXPECT_TRUE(s.dataFiles.empty());
    EXPECT_TRUE(s.titleFields && s.descriptionFields);
    EXPECT_FALSE(s.categoryFields || s.linkFields || s.positionOnLast || s.allowTypos || s.interruptibleSearching);
    EXPECT_EQ(s.separation, 2);
    EXPECT_TRUE(s.useThousandsSep);
    EXPECT_EQ(s.thousandsSeparator, ",");
    EXPECT_FALSE(s.moveToTitle || s.moveToLink || s.copyLink);
    EXPECT_TRUE(s.confirmDelete && s.moveSave && s.showDayTip && s.restoreWndPlacement);
    EXPECT_EQ(s.dayTipIndex, 0);
    std::vector<std::string> defaults;
    CTitleCaser::DefaultExceptions(defaults);
    EXPECT_EQ(defaults.size(), 28u);
    EXPECT_EQ(defaults.front(), "a");
    EXPECT_EQ(defaults.back(), "via");
    EXPECT_EQ(Words(exceptions), defaults);
    EXPECT_TRUE(backend.writeOrder.empty());
}

TEST(Settings, RoundTripWritesEveryKeyInOrder)
{
    CSettings s;
    s.saveLimit = 9;
    s.timerIndex = 5;
    s.dataFile = "/home/u/links.dat";
    s.dataFiles = {"/a.dat", "/b.dat"};
    s.allowTypos = true;
    s.separation = 7;
    s.thousandsSeparator = ".";
    s.moveSave = false;
    s.dayTipIndex = 12;
    CTitleCaser exceptions;
    exceptions.SetExceptions({"of", "VS", "vs", "McX"});
    EXPECT_EQ(Words(exceptions), (std::vector<std::string>{"of", "VS", "McX"}));

    MemorySettings backend;
    SaveSettings(backend, s, exceptions);
    ASSERT_GE(backend.writeOrder.size(), 10u);
    EXPECT_EQ(backend.writeOrder[0], (std::pair<std::string, std::string>{"Saving", "Save on Presses"}));
    EXPECT_EQ(backend.writeOrder[6], (std::pair<std::string, std::string>{"Saving", "Filename Count"}));
    EXPECT_EQ(backend.writeOrder[7], (std::pair<std::string, std::string>{"Saving", "Filename00"}));
    EXPECT_EQ(backend.writeOrder.back(), (std::pair<std::string, std::string>{"Title Case", "Exception02"}));
    EXPECT_EQ(backend.ReadString("Numbers", "Thousands Separator"), ".");
    for (const auto& [section, key] : backend.writeOrder) EXPECT_NE(section, "Placement");

    CSettings loaded;
    CTitleCaser loadedExceptions;
    LoadSettings(backend, loaded, loadedExceptions);
    EXPECT_EQ(loaded.saveLimit, 9);
    EXPECT_EQ(loaded.timerIndex, 5);
    EXPECT_EQ(loaded.dataFile, s.dataFile);
    EXPECT_EQ(loaded.dataFiles, s.dataFiles);
    EXPECT_TRUE(loaded.allowTypos);
    EXPECT_EQ(loaded.separation, 7);
    EXPECT_EQ(loaded.thousandsSeparator, ".");
    EXPECT_FALSE(loaded.moveSave);
    EXPECT_EQ(loaded.dayTipIndex, 12);
    EXPECT_EQ(Words(loadedExceptions), Words(exceptions));
}

TEST(Settings, OddStoredValuesAreReadAsTheyAre)
{
    MemorySettings backend;
    backend.WriteString("Numbers", "Thousands Separator", "");
    backend.WriteInt("Title Case", "Count", 0);
    backend.WriteInt("Saving", "Filename Count", 3);
    backend.WriteString("Saving", "Filename00", " /one.dat ");
    backend.WriteString("Saving", "Filename01", "   ");
    backend.WriteString("Saving", "Filename02", "/three.dat");
    backend.WriteInt("Saving", "Save Limit", 500);  // out of range: the default
    backend.WriteInt("Saving", "Timer Index", 4000);
    backend.WriteInt("Searching", "Separation", -1);
    backend.WriteInt("Misc", "Copy Link", 7);         // any non-zero is on
    CSettings s;
    CTitleCaser exceptions;
    LoadSettings(backend, s, exceptions);
    EXPECT_EQ(s.thousandsSeparator, ",");
    EXPECT_TRUE(Words(exceptions).empty());
    EXPECT_EQ(s.dataFiles, (std::vector<std::string>{"/one.dat", "/three.dat"}));
    EXPECT_EQ(s.saveLimit, 5);
    EXPECT_EQ(s.timerIndex, 2);
    EXPECT_EQ(s.TimerPeriodMs(), 1800000);
    EXPECT_EQ(s.separation, 2);
    EXPECT_TRUE(s.copyLink);

    backend.WriteString("Numbers", "Thousands Separator", ". ");
    backend.WriteInt("Title Case", "Count", -1);
    LoadSettings(backend, s, exceptions);
    EXPECT_EQ(s.thousandsSeparator, ".");
    EXPECT_EQ(Words(exceptions).size(), 28u);

    // A shorter list leaves the old numbered keys in the store, unread.
    SaveSettings(backend, s, exceptions);
    EXPECT_EQ(backend.ReadInt("Saving", "Filename Count", -1), 2);
    EXPECT_EQ(backend.ReadString("Saving", "Filename02"), "/three.dat");

    // A corrupt count stops at the first absent key.
    MemorySettings corrupt;
    corrupt.WriteInt("Saving", "Filename Count", 2000000000);
    corrupt.WriteString("Saving", "Filename00", "/one.dat");
    corrupt.WriteString("Saving", "Filename01", "");
    corrupt.WriteString("Saving", "Filename02", "/three.dat");
    corrupt.WriteInt("Title Case", "Count", 2000000000);
    LoadSettings(corrupt, s, exceptions);
    EXPECT_EQ(s.dataFiles, (std::vector<std::string>{"/one.dat", "/three.dat"}));
    EXPECT_TRUE(Words(exceptions).empty());

    // A separator of several bytes is one character, read and written whole.
    for (const std::string sep : {"\xE2\x80\x99", "\xC2\xA0"}) {
        backend.WriteString("Numbers", "Thousands Separator", sep + "x");
        LoadSettings(backend, s, exceptions);
        EXPECT_EQ(s.thousandsSeparator, sep);
        EXPECT_EQ(CCountFormatter(s).Plural(1234, "%1 Total Link", "%1 Total Links"), "1" + sep + "234 Total Links");
        SaveSettings(backend, s, exceptions);
        EXPECT_EQ(backend.ReadString("Numbers", "Thousands Separator"), sep);
    }

    EXPECT_EQ(NumberedKey("Filename", 7), "Filename07");
    EXPECT_EQ(NumberedKey("Exception", 123), "Exception123");
}
