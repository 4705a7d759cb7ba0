#include "health/DuplicatesDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

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
    auto* label = new QLabel(QString::fromStdString(
                                 counts.Plural("%s group%s of links point to the same place. ", int(groups.size())) +
                                 counts.Plural("The %s newer cop", int(copies)) + (copies == 1 ? "y is" : "ies are") +
                                 " selected in the list, the oldest copy of each group is not: press Delete to "
                                 "remove them (Undo brings them back)."),
                             this);
    label->setWordWrap(true);
    m_tree = new QTreeWidget(this);
    m_tree->setColumnCount(5);
    m_tree->setHeaderLabels({"Title", "Link", "Category", "Added", ""});
    m_tree->setRootIsDecorated(true);
    m_tree->setUniformRowHeights(true);
    // Built apart and added at once: inserting thousands of items one by one into a
    // shown tree costs a model update each.
    QList<QTreeWidgetItem*> tops;
    tops.reserve(qsizetype(groups.size()));
    for (const DuplicateGroup& group : groups) {
        auto* top = new QTreeWidgetItem;
        top->setText(0, QString::fromStdString(counts.Format(int(group.rows.size())) + " copies"));
        top->setText(1, Text(WithoutUserInfo(store.At(group.keep).link)));
        QList<QTreeWidgetItem*> copies;
        for (int row : group.rows) {
            const CAnnotatedLink& record = store.At(row);
            auto* item = new QTreeWidgetItem;
            item->setText(0, Text(record.title));
            item->setText(1, Text(WithoutUserInfo(record.link)));
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
    m_tree->setColumnWidth(3, em * 18);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_tree, 1);
    layout->addWidget(buttons);
    resize(em * 120, fontMetrics().height() * 30);
}
