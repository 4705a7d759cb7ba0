#pragma once

// Screen readers see the list of links through an accessible table of our own: its rows
// and cells, its column headings, each row's selected state and the current row come
// from the list's row states, which Qt's own table interface cannot see (the list keeps
// its selection outside Qt's selection model for speed). Installed once, before the
// first list is shown.
void InstallLinkListAccessibility();
