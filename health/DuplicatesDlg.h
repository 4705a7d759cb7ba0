#pragma once
#include <QAbstractItemModel>
#include <QDialog>
#include <string>
#include <vector>

#include "health/DuplicateFinder.h"
#include "options/CountFormatter.h"
#include "store/LinkDate.h"

class LinkStore;
class QTreeView;

// What Find Duplicates' report shows, copied when it is made: a row for each group, with
// a row under it for each copy. Texts become display text only when a row is painted, so
// that a report of a hundred thousand groups holds little more than their bytes.
class CDuplicatesModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { ColTitle, ColLink, ColCategory, ColAdded, ColInList, ColumnCount };
    // The caller holds the store lock.
    CDuplicatesModel(const std::vector<DuplicateGroup>& groups, const LinkStore& store, const CCountFormatter& counts);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& = {}) const override { return ColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Copy {
        std::string title, link, category;
        CLinkDate added;
    };
    struct Group {
        size_t first = 0;  // its first copy in m_copies
        int count = 0;
        int kept = 0;  // which of its copies stays
    };
    CCountFormatter m_counts;
    std::vector<Group> m_groups;
    std::vector<Copy> m_copies;
};

// Find Duplicates' report: each group of links that point to the same place, with the
// copy that stays and the copies that are selected in the list for Delete.
class CDuplicatesDlg : public QDialog {
    Q_OBJECT
public:
    // Copies what it shows, so the list may change while it is open; the caller holds
    // the store lock while it is made.
    CDuplicatesDlg(const std::vector<DuplicateGroup>& groups, const LinkStore& store, const CCountFormatter& counts,
                   QWidget* parent);
    QTreeView* Tree() const { return m_tree; }

private:
    CDuplicatesModel m_model;
    QTreeView* m_tree = nullptr;
};
