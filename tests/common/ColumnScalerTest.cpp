#include <gtest/gtest.h>

#include "common/ColumnScaler.h"
#include "tests/support/FakePrompter.h"

TEST(ColumnScaler, ScalesDesignWidthsToTheList)
{
    CColumnScaler main(600, 455, 5, false, 17);
    EXPECT_EQ(main.ScaleWidth(150), 198);
    EXPECT_EQ(main.ScaleWidth(0), 0);

    // A list as wide as its design gets the design widths back.
    CColumnScaler exact(455, 455, 5, false, 17);
    for (int w : {150, 100, 600, 160}) EXPECT_EQ(exact.ScaleWidth(w), w);
    CColumnScaler sort(200, 200, 3, false, 17);
    for (int w : {40, 85, 75}) EXPECT_EQ(sort.ScaleWidth(w), w);

    // Room for the scroll bar: (149 + 225 * 282) / 300.
    CColumnScaler stats(300, 300, 2, true, 17);
    EXPECT_EQ(stats.ScaleWidth(225), 211);

    // Without a divisor the quotient is truncated.
    EXPECT_EQ(CColumnScaler(199, 200, 0, false, 17).ScaleWidth(100), 99);
}

TEST(ColumnScaler, ZeroOrNegativeDesignUsesTheClientWidth)
{
    FakePrompter prompter;
    CColumnScaler zero(321, 0, 5, false, 17, &prompter);
    EXPECT_EQ(zero.ScaleWidth(100), (321 / 5 - 1 + 100 * 321) / 321);
    EXPECT_TRUE(prompter.Messages().empty());

    CColumnScaler negative(321, -1, 0, false, 17, &prompter);
    EXPECT_EQ(negative.ScaleWidth(100), 100);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].text, "m_nDesignPixels is set to 321 pixels.");

    // A list without width yet does not divide by zero.
    EXPECT_EQ(CColumnScaler(0, 0, 5, false, 17).ScaleWidth(100), 100);
}
