#include <gtest/gtest.h>

#include <QFont>

#include "common/SortedComboBox.h"
#include "common/SortedListBox.h"
#include "store/NaturalCompare.h"

TEST(SortedControls, InsertWhereTheComparisonSays)
{
    CSortedComboBox combo;
    combo.Add("Item 2");
    combo.Add("Item 30");
    combo.SetCompare(NaturalCompare);
    EXPECT_EQ(combo.Add("Item 10"), 1);
    EXPECT_EQ(combo.Add("item 10"), 1);  // before the equal item

    CSortedComboBox plain;
    plain.Add("Item 2");
    plain.Add("Item 30");
    EXPECT_EQ(plain.Add("Item 10"), 0);  // case-insensitive order: "Item 1..." first
    plain.SetSorted(false);
    EXPECT_EQ(plain.Add("Aardvark"), 3);

    CSortedListBox list;
    list.SetCompare(NaturalCompare);
    for (const char* t : {"b", "Item 30", "Item 2", "a"}) list.Add(t);
    QStringList order;
    for (int i = 0; i < list.count(); ++i) order << list.item(i)->text();
    EXPECT_EQ(order, (QStringList{"a", "b", "Item 2", "Item 30"}));
}

TEST(SortedControls, ListBoxExtentFollowsTheWidestRow)
{
    CSortedListBox list;
    list.Add("x");
    list.Add(QString(60, 'W'));
    list.Add("medium text");
    const int widest = list.HorizontalExtent();
    EXPECT_EQ(widest, list.fontMetrics().horizontalAdvance(QString(60, 'W')) + 6);
    EXPECT_EQ(list.DeleteRow(99), -1);

    int wide = 0;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->text().size() == 60) wide = i;
    list.DeleteRow(wide);
    EXPECT_EQ(list.HorizontalExtent(), list.fontMetrics().horizontalAdvance("medium text") + 6);

    // In batch mode the extent is recomputed once, when the batch ends.
    list.Add(QString(60, 'W'));
    list.SetBatchMode(true);
    while (list.count() > 1) list.DeleteRow(0);
    EXPECT_EQ(list.HorizontalExtent(), widest);
    list.SetBatchMode(false);
    EXPECT_EQ(list.HorizontalExtent(), list.fontMetrics().horizontalAdvance(list.item(0)->text()) + 6);

    QFont big = list.font();
    big.setPointSize(big.pointSize() * 2);
    list.setFont(big);
    EXPECT_EQ(list.HorizontalExtent(), QFontMetrics(big).horizontalAdvance(list.item(0)->text()) + 6);

    list.Reset();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.HorizontalExtent(), 0);
}
