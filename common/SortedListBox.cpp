#include "common/SortedListBox.h"

#include <QEvent>
#include <QFontMetrics>
#include <QScrollBar>
#include <algorithm>

#include "store/NaturalCompare.h"

CSortedListBox::CSortedListBox(QWidget* parent) : QListWidget(parent), m_compare(CompareNoCase)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Every row takes the first row's size, which carries the widest width.
    setUniformItemSizes(true);
}

int CSortedListBox::Measure(const QString& text) const
{
    return std::min(fontMetrics().horizontalAdvance(text) + 6, 32767);
}

int CSortedListBox::Add(const QString& text)
{
    const int index = m_sorted ? SortedIndexOf(m_compare, count(), [this](int i) { return item(i)->text(); }, text) : count();
    insertItem(index, text);
    int width = Measure(text);
    m_widths.insert(m_widths.begin() + index, width);
    m_widest = std::max(m_widest, width);
    ApplyExtent();
    return index;
}

int CSortedListBox::DeleteRow(int index)
{
    if (index < 0 || index >= count()) return -1;
    delete takeItem(index);
    int width = m_widths[size_t(index)];
    m_widths.erase(m_widths.begin() + index);
    if (width >= m_widest) {
        if (m_batch)
            m_recomputePending = true;
        else
            Recompute();
    }
    return count();
}

void CSortedListBox::SetBatchMode(bool on)
{
    m_batch = on;
    if (on)
        m_recomputePending = false;
    else if (m_recomputePending) {
        m_recomputePending = false;
        Recompute();
    }
}

void CSortedListBox::Reset()
{
    clear();
    m_widths.clear();
    m_widest = 0;
    m_batch = false;
    m_recomputePending = false;
    ApplyExtent();
}

void CSortedListBox::changeEvent(QEvent* event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        for (int i = 0; i < count(); ++i) m_widths[size_t(i)] = Measure(item(i)->text());
        Recompute();
    }
}

void CSortedListBox::Recompute()
{
    m_widest = m_widths.empty() ? 0 : *std::max_element(m_widths.begin(), m_widths.end());
    ApplyExtent();
}

void CSortedListBox::ApplyExtent()
{
    // Rows are laid out as wide as the widest one, which sets the scroll range.
    if (count() > 0) item(0)->setSizeHint(QSize(m_widest, fontMetrics().height() + 2));
}

void CSortedListBox::DeleteSelected()
{
    SetBatchMode(true);
    for (int i = count() - 1; i >= 0; --i)
        if (item(i)->isSelected()) DeleteRow(i);
    SetBatchMode(false);
}

QListWidgetItem* CSortedListBox::SelectedCurrent() const
{
    QListWidgetItem* current = currentItem();
    return current && current->isSelected() ? current : nullptr;
}

int CSortedListBox::FindNoCase(const QString& text) const
{
    const QByteArray wanted = text.toUtf8();
    for (int i = 0; i < count(); ++i) {
        const QByteArray row = item(i)->text().toUtf8();
        if (EqualsNoCase(std::string_view(row.constData(), size_t(row.size())),
                         std::string_view(wanted.constData(), size_t(wanted.size()))))
            return i;
    }
    return -1;
}

void CSortedListBox::SelectAndShow(int row)
{
    QListWidgetItem* it = item(row);
    if (!it) return;
    it->setSelected(true);
    setCurrentRow(row, QItemSelectionModel::NoUpdate);
    scrollToItem(it);
}
