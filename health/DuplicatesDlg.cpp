#include "health/DuplicatesDlg.h"

#include <algorithm>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/AccessibleName.h"
#include "common/LaunchCheck.h"
#include "health/LinkAddress.h"
#include "store/LinkStore.h"
#include "store/Utf.h"

namespace {

QString Text(const std::string& bytes) { return QString::fromStdString(DisplayUtf8(bytes)).simplified(); }

}  // namespace

CDuplicatesDlg::CDuplicatesDlg(const std::vector<DuplicateGroup>& groups, const LinkStore& store,
                               const CCountFormatter& counts, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle("Find Duplicates");
    setSizeGripEnabled(true);
    size_t copies = 0;
    for (const DuplicateGroup& group : groups) copies += group.rows.size() - 1;
    const std::string groupsText = groups.size() == 1 ? "1 group of links points to the same place.  "
                                                      : counts.Format(int(groups.size())) +
                                                            " groups of links point to the same place.  ";
    const std::string copiesText =
        copies == 1 ? "The newer copy is selected in the list and the oldest is not: press Delete to remove it "
                      "(Undo brings it back)."
                    : "The " + counts.Format(int(copies)) +
                          " newer copies are selected in the list and the oldest of each group is not: press "
                          "Delete to remove them (Undo brings them back).";
    auto* label = new QLabel(QString::fromStdString(groupsText + copiesText), this);
    label->setWordWrap(true);
    m_tree = new QTreeWidget(this);
    NameLike(m_tree, "Links that point to the same place");
    m_tree->setColumnCount(5);
    m_tree->setHeaderLabels({"Title", "Link", "Category", "Added", "In the List"});
    m_tree->setRootIsDecorated(true);
    m_tree->setUniformRowHeights(true);
    // Built apart and added at once: inserting thousands of items one by one into a
    // shown tree costs a model update each.
    QList<QTreeWidgetItem*> tops;
    tops.reserve(qsizetype(groups.size()));
    for (const DuplicateGroup& group : groups) {
        auto* top = new QTreeWidgetItem;
        top->setText(0, QString::fromStdString(counts.Format(int(group.rows.size())) + " copies"));
        top->setText(1, QString::fromStdString(VisibleText(DisplayUtf8(WithoutUserInfo(store.At(group.keep).link)))));
        QList<QTreeWidgetItem*> copies;
        for (int row : group.rows) {
            const CAnnotatedLink& record = store.At(row);
            auto* item = new QTreeWidgetItem;
            item->setText(0, Text(record.title));
            item->setText(1, QString::fromStdString(VisibleText(DisplayUtf8(WithoutUserInfo(record.link)))));
            item->setText(2, Text(record.category));
            item->setText(3, QString::fromStdString(FormatLinkDate(record.added, DateStyle::List)));
            item->setText(4, row == group.keep ? "kept" : "selected");
            copies.push_back(item);
        }
        top->addChildren(copies);
        top->setExpanded(true);
        tops.push_back(top);
    }
    m_tree->addTopLevelItems(tops);
    m_tree->expandAll();
    const int em = fontMetrics().averageCharWidth();
    m_tree->setColumnWidth(0, em * 30);
    m_tree->setColumnWidth(1, em * 36);
    m_tree->setColumnWidth(2, em * 14);
    // The widest date and time there is, with room to spare.
    const int padding = em * 3;
    m_tree->setColumnWidth(3, fontMetrics().horizontalAdvance("28-Sept-2000  12:00:00 PM") + padding);
    m_tree->setColumnWidth(4, std::max(fontMetrics().horizontalAdvance("selected"),
                                       fontMetrics().horizontalAdvance("In the List")) + padding);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_tree, 1);
    layout->addWidget(buttons);
    int width = 0;
    for (int column = 0; column < m_tree->columnCount(); ++column) width += m_tree->columnWidth(column);
    resize(width + em * 8, fontMetrics().height() * 30);
}
