#include "sort/SortDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/AccessibleName.h"
#include "common/ColumnScaler.h"
#include "common/QtText.h"
#include "platform/Translate.h"

namespace {
const char* const kOrdinals[kSortKeys] = {TrNoop("Sort", "1st"), TrNoop("Sort", "2nd"), TrNoop("Sort", "3rd"),
                                          TrNoop("Sort", "4th"), TrNoop("Sort", "5th")};
}  // namespace

CSortDlg::CSortDlg(SortKeyTable& table, const QStringList& headings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_table(table), m_saved(table),
      m_headings(headings)
{
    setWindowTitle(QTr("Sort", "Multi-Column Sorting"));
    m_list = new QTreeWidget(this);
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({QTr("Sort", "Order"), QTr("Sort", "Column"), QTr("Sort", "Direction")});
    NameLike(m_list, QTr("Sort", "Sort order"));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSortingEnabled(false);
    m_list->header()->setSectionsClickable(false);
    m_list->header()->setStretchLastSection(false);
    for (int i = 0; i < kSortKeys; ++i) m_list->addTopLevelItem(new QTreeWidgetItem({QTr("Sort", kOrdinals[i]), "", ""}));
    for (int i = 0; i < kSortKeys; ++i) ShowRow(i);
    m_list->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    m_list->setMinimumHeight(m_list->sizeHintForRow(0) * (kSortKeys + 1) + m_list->header()->sizeHint().height());

    auto button = [this](const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        return b;
    };
    m_up = button(QTr("Sort", "Move &Up"));
    m_down = button(QTr("Sort", "Move &Down"));
    m_reverse = button(QTr("Sort", "&Reverse"));
    m_reset = button(QTr("Sort", "Re&set"));
    auto* ok = new QPushButton(QTr("Sort", "OK"), this);
    ok->setDefault(true);
    auto* cancel = button(QTr("Sort", "Cancel"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {ok, cancel, m_up, m_down, m_reverse, m_reset}) buttons->addWidget(b);
    buttons->insertSpacing(2, fontMetrics().height());
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    adjustSize();


    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_up, &QPushButton::clicked, this, &CSortDlg::MoveUp);
    connect(m_down, &QPushButton::clicked, this, &CSortDlg::MoveDown);
    connect(m_reverse, &QPushButton::clicked, this, &CSortDlg::Reverse);
    connect(m_reset, &QPushButton::clicked, this, &CSortDlg::Reset);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CSortDlg::Reverse);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &CSortDlg::UpdateButtons);
    m_list->setCurrentItem(m_list->topLevelItem(0));
    m_list->setFocus();
    UpdateButtons();
}

void CSortDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_scaled) return;
    m_scaled = true;
    // Once the list has its size: "Order" 40, "Column" 85, "Direction" 75 of 200.
    CColumnScaler scaler(m_list->width() - 2 * m_list->frameWidth(), 200, 3, false, 0);
    const int design[3] = {40, 85, 75};
    for (int c = 0; c < 3; ++c) m_list->setColumnWidth(c, scaler.ScaleWidth(design[c]));
}

void CSortDlg::ShowRow(int row)
{
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    const int column = m_table.order[row];
    item->setText(1, column >= 0 && column < m_headings.size() ? m_headings[column] : QString());
    item->setText(2, m_table.increasing[row] ? QTr("Sort", "Increasing") : QTr("Sort", "Decreasing"));
}

int CSortDlg::Selected() const { return m_list->indexOfTopLevelItem(m_list->currentItem()); }

void CSortDlg::UpdateButtons()
{
    const int row = Selected();
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row < kSortKeys - 1);
}

void CSortDlg::Move(int step)
{
    const int row = Selected(), other = row + step;
    if (row < 0 || other < 0 || other >= kSortKeys) return;
    std::swap(m_table.order[row], m_table.order[other]);
    std::swap(m_table.increasing[row], m_table.increasing[other]);
    ShowRow(row);
    ShowRow(other);
    m_list->setCurrentItem(m_list->topLevelItem(other));
    UpdateButtons();
    m_list->setFocus();
}

void CSortDlg::Reverse()
{
    const int row = Selected();
    if (row < 0) return;
    m_table.increasing[row] = !m_table.increasing[row];
    ShowRow(row);
    m_list->setFocus();
}

void CSortDlg::Reset()
{
    ResetSortKeys(m_table);
    for (int i = 0; i < kSortKeys; ++i) ShowRow(i);
}

void CSortDlg::reject()
{
    m_table = m_saved;
    QDialog::reject();
}
