#pragma once

// Screen readers see the list of links through an accessible table of our own: its rows
// and cells, its column headings, each row's selected state and the current row come
// from the list's row states, which Qt's own table interface cannot see (the list keeps
// its selection outside Qt's selection model for speed). Installed once, before the
// first list is shown.
void InstallLinkListAccessibility();

// The number of a cell among the list's accessible children: the column headings
// first (row -1), then each row's cells. Events about a cell name it by this number.
int LinkCellChildIndex(int row, int column);
