#include "sort/SortController.h"

#include <QHeaderView>

#include "sort/SortDlg.h"
#include "store/LinkStore.h"

CSortController::CSortController(LinkStore& store, QHeaderView& header, std::function<void(bool)> bracket,
                                 QWidget* window)
    : m_store(store), m_header(header), m_bracket(std::move(bracket)), m_window(window)
{
}

void CSortController::SortRows(const std::vector<SortKey>& keys)
{
    auto lock = m_store.Lock();
    m_bracket(true);
    SortLinks(m_store, keys);
    m_store.SetChanged();
    m_bracket(false);
}

void CSortController::OnColumnClick(int column)
{
    m_reverse = column == m_lastClickedColumn && !m_reverse;
    m_resetKeys = true;
    m_lastClickedColumn = column;
    SortRows({{column, !m_reverse}});
    m_header.setSortIndicatorShown(true);
    m_header.setSortIndicator(column, m_reverse ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void CSortController::SortCommand()
{
    if (m_resetKeys) ResetSortKeys(m_keys);
    m_resetKeys = false;
    m_lastClickedColumn = -1;
    QStringList headings;
    for (int c = 0; c < m_header.count(); ++c)
        headings << m_header.model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    CSortDlg dlg(m_keys, headings, m_window);
    if (dlg.exec() != QDialog::Accepted) return;
    std::vector<SortKey> keys;
    for (int i = 0; i < kSortKeys; ++i) keys.push_back({m_keys.order[i], m_keys.increasing[i]});
    SortRows(keys);
    m_header.setSortIndicatorShown(false);
}
