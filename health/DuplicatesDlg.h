#pragma once
#include <QDialog>
#include <vector>

#include "health/DuplicateFinder.h"
#include "options/CountFormatter.h"

class LinkStore;
class QTreeWidget;

// Find Duplicates' report: each group of links that point to the same place, with the
// copy that stays and the copies that are selected in the list for Delete.
class CDuplicatesDlg : public QDialog {
    Q_OBJECT
public:
    // Copies what it shows, so the list may change while it is open; the caller holds
    // the store lock while it is made.
    CDuplicatesDlg(const std::vector<DuplicateGroup>& groups, const LinkStore& store, const CCountFormatter& counts,
                   QWidget* parent);
    QTreeWidget* Tree() const { return m_tree; }

private:
    QTreeWidget* m_tree = nullptr;
};
