#include <gtest/gtest.h>

#include "common/RowStates.h"

TEST(RowStates, FollowsInsertsRemovalsAndReorders)
{
    RowStates s;
    s.Reset(10);
    for (int r : {2, 5, 9}) s.SetSelected(r, true);
    s.SetSelected(5, true);  // no double counting
    EXPECT_EQ(s.SelectedCount(), 3);
    s.SetMark(5);
    s.SetFocus(9);
    s.SetRetrieved(2);

    s.Inserted(3, 2);  // rows 3 and 4 are new
    EXPECT_EQ(s.SelectedRows(), (std::vector<int>{2, 7, 11}));
    EXPECT_EQ(s.Mark(), 7);
    EXPECT_EQ(s.Focus(), 11);
    EXPECT_EQ(s.Retrieved(), 2);

    s.Removed({0, 2, 11});
    EXPECT_EQ(s.Rows(), 9);
    EXPECT_EQ(s.SelectedRows(), std::vector<int>{5});
    EXPECT_EQ(s.SelectedCount(), 1);
    EXPECT_EQ(s.Mark(), 5);
    EXPECT_EQ(s.Focus(), -1);
    EXPECT_EQ(s.Retrieved(), -1);

    std::vector<int> reversed;
    for (int i = 8; i >= 0; --i) reversed.push_back(i);
    s.Reordered(reversed);
    EXPECT_EQ(s.SelectedRows(), std::vector<int>{3});
    EXPECT_EQ(s.Mark(), 3);
}

TEST(RowStates, FindsNeighboursAndRanges)
{
    RowStates s;
    s.Reset(10);
    s.SelectRange(7, 3);
    EXPECT_EQ(s.SelectedRows(), (std::vector<int>{3, 4, 5, 6, 7}));
    EXPECT_EQ(s.SelectedAbove(3), -1);
    EXPECT_EQ(s.SelectedAbove(9), 7);
    EXPECT_EQ(s.SelectedBelow(7), -1);
    EXPECT_EQ(s.SelectedBelow(0), 3);
    EXPECT_EQ(s.SelectedBelow(-1), 3);
    s.SelectOnly(9);
    EXPECT_EQ(s.SelectedCount(), 1);
    EXPECT_EQ(s.SelectedAbove(9), -1);
    s.SelectAll();
    EXPECT_EQ(s.SelectedCount(), 10);
    s.ClearSelection();
    EXPECT_EQ(s.SelectedCount(), 0);
    EXPECT_EQ(s.SelectedBelow(0), -1);
}
