#include "sort/SortController.h"

#include <QAbstractItemModel>
#include <QHeaderView>

#include "platform/SettingsBackend.h"
#include "sort/SortDlg.h"
#include "store/LinkStore.h"

namespace {
const char* const kSection = "Sort";
}  // namespace

CSortController::CSortController(LinkStore& store, QHeaderView& header, SettingsBackend& settings,
                                 std::function<void(bool)> bracket, QWidget* window)
    : m_store(store), m_header(header), m_settings(settings), m_bracket(std::move(bracket)), m_window(window)
{
    const int column = m_settings.ReadInt(kSection, "Column", -1);
    if (column >= 0 && column < kSortKeys) {
        m_lastClickedColumn = column;
        m_reverse = m_settings.ReadInt(kSection, "Increasing", 1) == 0;
        m_header.setSortIndicatorShown(true);
        m_header.setSortIndicator(column, m_reverse ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    QAbstractItemModel* model = m_header.model();
    const auto all = [this] { CheckOrder(0, m_store.Count() - 1); };
    m_watches = {
        QObject::connect(model, &QAbstractItemModel::rowsInserted, [this](const QModelIndex&, int first, int last) { CheckOrder(first, last); }),
        QObject::connect(model, &QAbstractItemModel::dataChanged, [this](const QModelIndex& from, const QModelIndex& to) { CheckOrder(from.row(), to.row()); }),
        QObject::connect(model, &QAbstractItemModel::modelReset, all),
        QObject::connect(model, &QAbstractItemModel::layoutChanged, all)};
}

CSortController::~CSortController()
{
    for (const QMetaObject::Connection& watch : m_watches) QObject::disconnect(watch);
}

void CSortController::CheckOrder(int first, int last)
{
    if (m_sorting || m_lastClickedColumn < 0) return;
    if (RowsInOrder(m_store, {m_lastClickedColumn, !m_reverse}, first, last)) return;
    m_lastClickedColumn = -1;
    m_reverse = false;
    m_header.setSortIndicatorShown(false);
    Remember(-1, true);
}

void CSortController::Remember(int column, bool increasing)
{
    m_settings.WriteInt(kSection, "Column", column);
    m_settings.WriteInt(kSection, "Increasing", increasing ? 1 : 0);
}

void CSortController::SortRows(const std::vector<SortKey>& keys)
{
    auto lock = m_store.Lock();
    m_sorting = true;
    m_bracket(true);
    SortLinks(m_store, keys);
    m_store.SetChanged();
    m_bracket(false);
    m_sorting = false;
}

void CSortController::OnColumnClick(int column)
{
    m_reverse = column == m_lastClickedColumn && !m_reverse;
    m_resetKeys = true;
    m_lastClickedColumn = column;
    SortRows({{column, !m_reverse}});
    m_header.setSortIndicatorShown(true);
    m_header.setSortIndicator(column, m_reverse ? Qt::DescendingOrder : Qt::AscendingOrder);
    Remember(column, !m_reverse);
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
    Remember(-1, true);
}
