#pragma once
#include <QMetaObject>
#include <QStringList>
#include <functional>
#include <vector>

#include "sort/SortKeys.h"

class QHeaderView;
class QWidget;
class LinkStore;
class SettingsBackend;

// The main window's side of sorting: a click on a column heading sorts by it (reversed by
// a second click), and Multi-Column Sorting asks for the keys. The column sorted by and
// its direction are remembered in the settings, and its arrow shows while the rows are
// in its order: a row added or changed out of order takes it away.
class CSortController {
public:
    // `bracket` opens (true) and closes (false) the list's update around a sort.
    CSortController(LinkStore& store, QHeaderView& header, SettingsBackend& settings, std::function<void(bool)> bracket,
                    QWidget* window);
    ~CSortController();

    void OnColumnClick(int column);
    void SortCommand();
    // Sorts the rows by the keys under the store lock, repainting once.
    void SortRows(const std::vector<SortKey>& keys);
    const SortKeyTable& SortKeys() const { return m_keys; }

private:
    void CheckOrder(int first, int last);
    void Remember(int column, bool increasing);

    LinkStore& m_store;
    QHeaderView& m_header;
    SettingsBackend& m_settings;
    std::vector<QMetaObject::Connection> m_watches;
    bool m_sorting = false;
    std::function<void(bool)> m_bracket;
    QWidget* m_window;
    SortKeyTable m_keys;
    int m_lastClickedColumn = -1;
    bool m_reverse = false;
    bool m_resetKeys = true;  // the sort dialog starts from the default keys
};
