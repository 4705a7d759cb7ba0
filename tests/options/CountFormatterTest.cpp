#include <gtest/gtest.h>

#include "options/CountFormatter.h"
#include "options/Settings.h"

TEST(CountFormatter, GroupsDigitsWithTheChosenSeparator)
{
    CCountFormatter comma(true, ",");
    EXPECT_EQ(comma.Format(0), "0");
    EXPECT_EQ(comma.Format(-5), "0");
    EXPECT_EQ(comma.Format(1), "1");
    EXPECT_EQ(comma.Format(999), "999");
    EXPECT_EQ(comma.Format(1000), "1,000");
    EXPECT_EQ(comma.Format(100000), "100,000");
    EXPECT_EQ(comma.Format(2147483647), "2,147,483,647");
    EXPECT_EQ(CCountFormatter(false, ".").Format(2147483647), "2147483647");
    EXPECT_EQ(CCountFormatter(true, " ").Format(2147483647), "2 147 483 647");
    EXPECT_EQ(CCountFormatter(true, ".").Format(2147483647), "2.147.483.647");
    EXPECT_EQ(CCountFormatter(true, "5").Format(1), "1");
    EXPECT_EQ(CCountFormatter(true, "5").Format(1000), "15000");

    CSettings settings;
    settings.thousandsSeparator = "'";
    EXPECT_EQ(CCountFormatter(settings).Format(1234), "1'234");
}

TEST(CountFormatter, PluralsAndDecimalMark)
{
    CCountFormatter f(true, ",");
    EXPECT_EQ(f.Plural(0, "%1 Total Link", "%1 Total Links"), "0 Total Links");
    EXPECT_EQ(f.Plural(1, "%1 Total Link", "%1 Total Links"), "1 Total Link");
    EXPECT_EQ(f.Plural(1234, "%1 Total Link", "%1 Total Links"), "1,234 Total Links");
    EXPECT_EQ(f.Plural(1, "Delete %1 item?", "Delete %1 items?"), "Delete 1 item?");
    // A translation may put the count anywhere, and a text of one may not show it.
    EXPECT_EQ(f.Plural(2, "one", "%1 Links insgesamt, %2 bleibt"), "2 Links insgesamt, %2 bleibt");
    EXPECT_EQ(f.Plural(1, "Ein Link", "%1 Links"), "Ein Link");

    std::string figure = "1.0";
    f.LocalizeDecimal(figure);
    EXPECT_EQ(figure, "1.0");
    CCountFormatter(false, ".").LocalizeDecimal(figure);
    EXPECT_EQ(figure, "1.0");
    figure = "0.5";
    CCountFormatter(true, ".").LocalizeDecimal(figure);
    EXPECT_EQ(figure, "0,5");
}
