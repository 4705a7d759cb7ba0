#pragma once
#include <QStringList>
#include <functional>
#include <vector>

#include "sort/SortKeys.h"

class QHeaderView;
class QWidget;
class LinkStore;

// The main window's side of sorting: a click on a column heading sorts by it (reversed by
// a second click), and Multi-Column Sorting asks for the keys.
class CSortController {
public:
    // `bracket` opens (true) and closes (false) the list's update around a sort.
    CSortController(LinkStore& store, QHeaderView& header, std::function<void(bool)> bracket, QWidget* window);

    void OnColumnClick(int column);
    void SortCommand();
    // Sorts the rows by the keys under the store lock, repainting once.
    void SortRows(const std::vector<SortKey>& keys);
    const SortKeyTable& SortKeys() const { return m_keys; }

private:
    LinkStore& m_store;
    QHeaderView& m_header;
    std::function<void(bool)> m_bracket;
    QWidget* m_window;
    SortKeyTable m_keys;
    int m_lastClickedColumn = -1;
    bool m_reverse = false;
    bool m_resetKeys = true;  // the sort dialog starts from the default keys
};
