#include "stats/StatisticsDlg.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/QtText.h"
#include "common/PlainText.h"
#include "common/AccessibleName.h"
#include "common/ColumnScaler.h"
#include "options/CountFormatter.h"
#include "store/LinkStore.h"
#include "platform/Translate.h"

CStatisticsDlg::CStatisticsDlg(std::vector<CategoryCount> rows, const CCountFormatter& counts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_rows(std::move(rows)),
      m_counts(counts)
{
    setWindowTitle(QTr("Statistics", "Statistics"));
    m_list = new QTreeWidget(this);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QTr("Statistics", "Category"), QTr("Statistics", "Count")});
    NameLike(m_list, QTr("Statistics", "Links per category"));
    m_list->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->header()->setStretchLastSection(false);
    // A long name keeps its beginning and its end, widens with the dialog, and is whole in its tooltip.
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    QList<QTreeWidgetItem*> items;
    for (const CategoryCount& row : m_rows) {
        // The first three rows are the counter's own (TOTAL, SELECTED, NO CATEGORY); the rest are the person's names.
        const QString name = items.size() < 3 ? QTr("Statistics", row.name.c_str()) : DisplayText(row.name);
        auto* item = new QTreeWidgetItem({name, QString::fromStdString(m_counts.Format(row.count))});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(0, PlainToolTip(item->text(0)));
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    m_sum = MakePlain(new QLabel(this));
    auto* close = new QPushButton(QTr("Statistics", "Close"), this);
    close->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_sum, 1);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    resize(fontMetrics().averageCharWidth() * 50, fontMetrics().height() * 24);

    // The columns are scaled once the list has its size, when the dialog first shows.

    m_keyTimer.setSingleShot(true);
    m_keyTimer.setInterval(50);
    connect(&m_keyTimer, &QTimer::timeout, this, &CStatisticsDlg::ShowSum);
    connect(m_list, &QTreeWidget::itemClicked, this, &CStatisticsDlg::ShowSum);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
}

void CStatisticsDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_scaled) return;
    m_scaled = true;
    // "Count" 75 of 300, leaving room for a scroll bar; "Category" takes the rest.
    CColumnScaler scaler(m_list->width() - 2 * m_list->frameWidth(), 300, 2, true,
                         style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    m_list->setColumnWidth(1, scaler.ScaleWidth(75));
}

CStatisticsDlg::~CStatisticsDlg()
{
    m_list->removeEventFilter(this);
    m_list->viewport()->removeEventFilter(this);
}

bool CStatisticsDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) m_keyTimer.start();
    // A click on the free part of the list changes the selection too.
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonRelease) m_keyTimer.start();
    return QDialog::eventFilter(watched, event);
}

void CStatisticsDlg::ShowSum()
{
    int64_t sum = 0;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        if (m_list->topLevelItem(i)->isSelected()) sum += m_rows[size_t(i)].count;
    const int32_t shown = sum > INT32_MAX ? INT32_MAX : int32_t(sum);
    m_sum->setText(QString::fromStdString(m_counts.Plural(shown, Tr("Statistics", "%1 item"), Tr("Statistics", "%1 items"))));
}

void ShowStatistics(const LinkStore& store, int selected, const CCountFormatter& counts, QWidget* parent)
{
    std::vector<CategoryCount> rows;
    {
        auto lock = store.Lock();
        rows = CountCategories(store, selected);
    }
    CStatisticsDlg dlg(std::move(rows), counts, parent);
    dlg.exec();
}
