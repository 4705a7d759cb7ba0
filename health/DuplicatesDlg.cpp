#include "health/DuplicatesDlg.h"

#include <algorithm>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

#include "common/PlainText.h"
#include "common/AccessibleName.h"
#include "health/LaunchCheck.h"
#include "health/LinkAddress.h"
#include "store/LinkStore.h"
#include "store/Utf.h"
#include "common/QtText.h"
#include "platform/Translate.h"

namespace {

QString Text(const std::string& bytes) { return QString::fromStdString(DisplayUtf8(bytes)).simplified(); }

std::string ShownLink(const std::string& link) { return VisibleText(DisplayUtf8(WithoutUserInfo(link))); }

}  // namespace

CDuplicatesModel::CDuplicatesModel(const std::vector<DuplicateGroup>& groups, const LinkStore& store,
                                   const CCountFormatter& counts)
    : m_counts(counts)
{
    size_t copies = 0;
    for (const DuplicateGroup& group : groups) copies += group.rows.size();
    m_groups.reserve(groups.size());
    m_copies.reserve(copies);
    for (const DuplicateGroup& group : groups) {
        const auto kept = std::find(group.rows.begin(), group.rows.end(), group.keep) - group.rows.begin();
        m_groups.push_back({m_copies.size(), int(group.rows.size()), int(kept)});
        for (int row : group.rows) {
            const CAnnotatedLink& record = store.At(row);
            m_copies.push_back({std::string(record.Title()), std::string(record.Link()), std::string(record.Category()), record.Added()});
        }
    }
}

QModelIndex CDuplicatesModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount) return {};
    // A group's row has the id 0; a copy's row names its group, counted from 1.
    if (!parent.isValid()) return size_t(row) < m_groups.size() ? createIndex(row, column, quintptr(0)) : QModelIndex();
    if (parent.internalId() != 0 || size_t(parent.row()) >= m_groups.size()) return {};
    if (row >= m_groups[size_t(parent.row())].count) return {};
    return createIndex(row, column, quintptr(parent.row()) + 1);
}

QModelIndex CDuplicatesModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == 0) return {};
    return createIndex(int(child.internalId() - 1), 0, quintptr(0));
}

int CDuplicatesModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid()) return int(m_groups.size());
    if (parent.internalId() != 0 || parent.column() != 0) return 0;
    return m_groups[size_t(parent.row())].count;
}

QVariant CDuplicatesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    if (index.internalId() == 0) {
        const Group& group = m_groups[size_t(index.row())];
        if (index.column() == ColTitle) return QString::fromStdString(Fill(Tr("Health", "%1 copies"), {m_counts.Format(group.count)}));
        if (index.column() == ColLink) return QString::fromStdString(ShownLink(m_copies[group.first + size_t(group.kept)].link));
        return {};
    }
    const Group& group = m_groups[size_t(index.internalId() - 1)];
    const Copy& copy = m_copies[group.first + size_t(index.row())];
    switch (index.column()) {
    case ColTitle: return Text(copy.title);
    case ColLink: return QString::fromStdString(ShownLink(copy.link));
    case ColCategory: return Text(copy.category);
    case ColAdded: return QString::fromStdString(FormatLinkDate(copy.added, DateStyle::List));
    case ColInList: return index.row() == group.kept ? QTr("Health", "kept") : QTr("Health", "selected");
    default: return {};
    }
}

Qt::ItemFlags CDuplicatesModel::flags(const QModelIndex& index) const
{
    // A copy has no rows under it: the view then never asks, which expanding every group
    // would otherwise do for each copy.
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    if (index.isValid() && index.internalId() != 0) flags |= Qt::ItemNeverHasChildren;
    return flags;
}

QVariant CDuplicatesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const kHeadings[ColumnCount] = {TrNoop("Health", "Title"), TrNoop("Health", "Link"),
                                                       TrNoop("Health", "Category"), TrNoop("Health", "Added"),
                                                       TrNoop("Health", "In the List")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
    return QTr("Health", kHeadings[section]);
}

CDuplicatesDlg::CDuplicatesDlg(const std::vector<DuplicateGroup>& groups, const LinkStore& store,
                               const CCountFormatter& counts, QWidget* parent)
    : QDialog(parent), m_model(groups, store, counts)
{
    setWindowTitle(QTr("Health", "Find Duplicates"));
    setSizeGripEnabled(true);
    size_t copies = 0;
    for (const DuplicateGroup& group : groups) copies += group.rows.size() - 1;
    const std::string groupsText = counts.Plural(int(groups.size()), Tr("Health", "1 group of links points to the same place.  "),
                                                 Tr("Health", "%1 groups of links point to the same place.  "));
    const std::string copiesText = counts.Plural(
        int(copies),
        Tr("Health", "The newer copy is selected in the list and the oldest is not: press Delete to remove it "
                     "(Undo brings it back)."),
        Tr("Health", "The %1 newer copies are selected in the list and the oldest of each group is not: press "
                     "Delete to remove them (Undo brings them back)."));
    auto* label = MakePlain(new QLabel(QString::fromStdString(groupsText + copiesText), this));
    label->setWordWrap(true);
    m_tree = new QTreeView(this);
    NameLike(m_tree, QTr("Health", "Links that point to the same place"));
    m_tree->setModel(&m_model);
    m_tree->setRootIsDecorated(true);
    m_tree->setUniformRowHeights(true);
    m_tree->expandAll();
    const int em = fontMetrics().averageCharWidth();
    m_tree->setColumnWidth(0, em * 30);
    m_tree->setColumnWidth(1, em * 36);
    m_tree->setColumnWidth(2, em * 14);
    // The widest date and time there is, with room to spare.
    const int padding = em * 3;
    m_tree->setColumnWidth(3, fontMetrics().horizontalAdvance("28-Sept-2000  12:00:00 PM") + padding);
    m_tree->setColumnWidth(4, std::max(fontMetrics().horizontalAdvance(QTr("Health", "selected")),
                                       fontMetrics().horizontalAdvance(QTr("Health", "In the List"))) + padding);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_tree, 1);
    layout->addWidget(buttons);
    int width = 0;
    for (int column = 0; column < m_model.columnCount(); ++column) width += m_tree->columnWidth(column);
    resize(width + em * 8, fontMetrics().height() * 30);
}
