#include "app/LinkListCtrl.h"

#include <algorithm>
#include <utility>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include "app/LinkListAccessible.h"
#include "common/PlainText.h"
#include "store/Utf.h"
#include "common/QtText.h"
#include "platform/Translate.h"

namespace {
const char* const kHeadings[ColCount] = {TrNoop("Main", "Title"), TrNoop("Main", "Category"), TrNoop("Main", "Description"),
                                         TrNoop("Main", "Added"), TrNoop("Main", "Last Modified")};
}  // namespace

namespace {

// A cell shows one line of at most a few thousand characters: enough for the widest
// column, and a huge field costs no more to paint than a short one.
constexpr size_t kCellBytes = 8192;

QString CellText(std::string_view bytes)
{
    QString text = DisplayText(bytes.substr(0, Utf8CutPoint(bytes, kCellBytes)));
    // Line breaks read as one blank each, so the row shows as much text as fits.
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

}  // namespace

QString LinkCellText(const CAnnotatedLink& record, int column)
{
    switch (column) {
    case ColTitle: return CellText(record.Title());
    case ColCategory: return CellText(record.Category());
    case ColDescription: return CellText(record.Description());
    case ColAdded: return QString::fromStdString(FormatLinkDate(record.Added(), DateStyle::List));
    case ColModified: return QString::fromStdString(FormatLinkDate(record.Modified(), DateStyle::List));
    default: return QString();
    }
}

LinkListModel::LinkListModel(LinkStore& store, RowStates& states, QObject* parent)
    : QAbstractTableModel(parent), m_store(store), m_states(states)
{
    m_store.SetListener(this);
    m_states.Reset(m_store.Count());
}

int LinkListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_store.Count(); }

int LinkListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColCount; }

QVariant LinkListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_store.Count()) return QVariant();
    if (role == Qt::DisplayRole) return LinkCellText(std::as_const(m_store).At(index.row()), index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | (index.column() >= ColAdded ? Qt::AlignRight : Qt::AlignLeft));
    return QVariant();
}

QVariant LinkListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColCount) return QVariant();
    if (role == Qt::DisplayRole) return QTr("Main", kHeadings[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | (section >= ColAdded ? Qt::AlignRight : Qt::AlignLeft));
    return QVariant();
}

void LinkListModel::AboutToInsert(int first, int count) { beginInsertRows(QModelIndex(), first, first + count - 1); }

void LinkListModel::Inserted(int first, int count)
{
    m_states.Inserted(first, count);
    endInsertRows();
}

void LinkListModel::AboutToRemove(const std::vector<int>& rows)
{
    // One run of rows is removed as such; scattered rows reset the view once, since
    // removing them run by run costs far more than repainting.
    m_resetting = rows.back() - rows.front() + 1 != int(rows.size());
    if (m_resetting)
        beginResetModel();
    else
        beginRemoveRows(QModelIndex(), rows.front(), rows.back());
}

void LinkListModel::Removed(const std::vector<int>& rows)
{
    m_states.Removed(rows);
    if (m_resetting)
        endResetModel();
    else
        endRemoveRows();
}

void LinkListModel::AboutToReorder() { emit layoutAboutToBeChanged(); }

void LinkListModel::Reordered(const std::vector<int>& newOrder)
{
    m_states.Reordered(newOrder);
    emit layoutChanged();
}

void LinkListModel::AboutToReset() { beginResetModel(); }

void LinkListModel::WasReset()
{
    m_states.Reset(m_store.Count());
    endResetModel();
}

void LinkListModel::TextsChanged()
{
    if (m_store.Count() > 0) emit dataChanged(index(0, 0), index(m_store.Count() - 1, ColCount - 1));
}

CLinkListCtrl::CLinkListCtrl(LinkStore& store, QWidget* parent)
    : QTableView(parent), m_store(store), m_model(store, m_states)
{
    InstallLinkListAccessibility();
    setModel(&m_model);
    // The list scrolls itself to the rows it shows; Qt's current index only follows the
    // focused row for screen readers.
    setAutoScroll(false);
    setItemDelegate(new RowStateDelegate(*this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setAlternatingRowColors(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFocusPolicy(Qt::StrongFocus);
    verticalHeader()->hide();
    // Fixed row heights let the view find visible rows without asking every row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStretchLastSection(false);
    setAttribute(Qt::WA_AlwaysShowToolTips);
}

void CLinkListCtrl::BeginUpdate()
{
    if (m_updateDepth++ == 0) viewport()->setUpdatesEnabled(false);
}

void CLinkListCtrl::EndUpdate()
{
    if (m_updateDepth == 0 || --m_updateDepth > 0) return;
    viewport()->setUpdatesEnabled(true);
    viewport()->repaint();
    StatesChanged();
}

void CLinkListCtrl::RefreshRows()
{
    if (m_updateDepth > 0) return;
    viewport()->update();
    StatesChanged();
}

void CLinkListCtrl::StatesChanged()
{
    const QString description = m_store.Count() == 0 ? m_emptyText : QString();
    if (accessibleDescription() != description) setAccessibleDescription(description);
    // Qt's view tells screen readers of the current cell; it follows the focused row.
    const int focus = m_states.Focus();
    const QModelIndex current = focus >= 0 && focus < m_model.rowCount() ? m_model.index(focus, 0) : QModelIndex();
    if (current != currentIndex()) selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    if (!QAccessible::isActive()) return;
    QAccessibleEvent selection(this, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&selection);
    // Some desktop bridges pass on only a cell's own selected state: the focused row's
    // is told, so that picking it with Ctrl+Space is heard.
    if (current.isValid() && hasFocus()) {
        QAccessibleEvent cell(this, QAccessible::Selection);
        cell.setChild(LinkCellChildIndex(focus, 0));
        QAccessible::updateAccessibility(&cell);
    }
}

void CLinkListCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // QTableView would announce the new cell by a numbering that counts a column of row
    // headings this list does not have: a reader would hear the row after the current one.
    QAbstractItemView::currentChanged(current, previous);
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(LinkCellChildIndex(current.row(), current.column()));
        QAccessible::updateAccessibility(&event);
    }
}

void CLinkListCtrl::EnsureRowVisible(int row)
{
    if (row < 0 || row >= m_store.Count()) return;
    // Rows just inserted are not in the scroll range until the view lays itself out,
    // which it would do only after this scroll: the new row would stay half hidden.
    executeDelayedItemsLayout();
    updateGeometries();
    scrollTo(m_model.index(row, 0), QAbstractItemView::EnsureVisible);
}

QString CLinkListCtrl::CellTipText(int row, int column) const
{
    if (row < 0 || row >= m_store.Count() || column < 0 || column >= ColCount) return QString();
    QString text = LinkCellText(std::as_const(m_store).At(row), column);
    int needed = fontMetrics().horizontalAdvance(text) + (column == 0 ? 5 : 11);
    if (needed < columnWidth(column)) return QString();
    return text.size() >= 80 ? text.left(79) : text;
}

void CLinkListCtrl::SetEmptyText(const QString& text)
{
    m_emptyText = text;
    setAccessibleDescription(m_store.Count() == 0 ? text : QString());
    viewport()->update();
}

void CLinkListCtrl::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (m_store.Count() > 0 || m_emptyText.isEmpty()) return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int margin = fontMetrics().averageCharWidth() * 3;
    painter.drawText(viewport()->rect().adjusted(margin, margin, -margin, -margin),
                     Qt::AlignCenter | Qt::TextWordWrap, m_emptyText);
}

QMimeData* CLinkListCtrl::SelectedLinksData() const
{
    const std::vector<int> rows = m_states.SelectedRows();
    if (rows.empty()) return nullptr;
    QList<QUrl> urls;
    QString text;
    for (int row : rows) {
        const CAnnotatedLink& record = std::as_const(m_store).At(row);
        const QString link = DisplayText(record.Link());
        text += DisplayText(record.Title()) + " <" + link + ">\n";
        // Only what reads as an address goes among the links; every row is in the text.
        const QUrl url(link, QUrl::StrictMode);
        if (url.isValid() && !url.scheme().isEmpty()) urls << url;
    }
    auto* data = new QMimeData;
    if (!urls.isEmpty()) data->setUrls(urls);
    data->setText(text);
    return data;
}

void CLinkListCtrl::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    int row = rowAt(event->position().toPoint().y());
    Qt::KeyboardModifiers mods = event->modifiers();
    m_pressAt = event->position().toPoint();
    m_pressRow = event->button() == Qt::LeftButton && row >= 0 && row < m_store.Count() ? row : -1;
    m_selectOnRelease = false;
    if (event->button() == Qt::RightButton) {
        // A row already among the selected keeps the others selected for its menu.
        if (row >= 0 && !m_states.IsSelected(row)) m_states.SelectOnly(row);
        if (row >= 0) {
            m_states.SetMark(row);
            m_states.SetFocus(row);
            RefreshRows();
        }
        emit rightClicked();
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (row < 0) {
        if (!(mods & Qt::ControlModifier)) m_states.ClearSelection();
    } else if (mods & Qt::ShiftModifier) {
        if (!(mods & Qt::ControlModifier)) m_states.ClearSelection();
        m_states.SelectRange(m_states.Mark() >= 0 ? m_states.Mark() : row, row);
        if (m_states.Mark() < 0) m_states.SetMark(row);
        m_states.SetFocus(row);
    } else if (mods & Qt::ControlModifier) {
        m_states.SetSelected(row, !m_states.IsSelected(row));
        m_states.SetMark(row);
        m_states.SetFocus(row);
    } else if (m_states.IsSelected(row) && m_states.SelectedCount() > 1) {
        m_states.SetMark(row);
        m_states.SetFocus(row);
        m_selectOnRelease = true;
        RefreshRows();
        return;
    } else {
        m_states.SelectOnly(row);
        m_states.SetMark(row);
        m_states.SetFocus(row);
    }
    RefreshRows();
    emit clicked();
}

void CLinkListCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) {
        if (!RequestFocusedRowMenu()) event->ignore();
        return;
    }
    const int row = rowAt(viewport()->mapFromGlobal(event->globalPos()).y());
    // The free area below the rows belongs to the window's command menu.
    if (row < 0 || row >= m_store.Count()) {
        event->ignore();
        return;
    }
    emit rowMenuRequested(row, event->globalPos());
}

bool CLinkListCtrl::RequestFocusedRowMenu()
{
    const int row = m_states.Focus() >= 0 ? m_states.Focus() : m_states.Mark();
    if (row < 0 || row >= m_store.Count()) return false;
    EnsureRowVisible(row);
    emit rowMenuRequested(row, viewport()->mapToGlobal(visualRect(m_model.index(row, 0)).bottomLeft()));
    return true;
}

void CLinkListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rowAt(event->position().toPoint().y()) >= 0) emit doubleClicked();
}

// Dragging does not select: the list selects by click and keyboard only. A drag from a
// row carries the selected links out to another program.
void CLinkListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressRow < 0 || !(event->buttons() & Qt::LeftButton)) return;
    if ((event->position().toPoint() - m_pressAt).manhattanLength() < QApplication::startDragDistance()) return;
    m_pressRow = -1;
    m_selectOnRelease = false;
    QMimeData* data = SelectedLinksData();
    if (!data) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
}

void CLinkListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    const int row = m_pressRow;
    m_pressRow = -1;
    if (!m_selectOnRelease || event->button() != Qt::LeftButton || row < 0 || row >= m_store.Count()) return;
    m_selectOnRelease = false;
    m_states.SelectOnly(row);
    RefreshRows();
    emit clicked();
}

void CLinkListCtrl::keyPressEvent(QKeyEvent* event)
{
    // An Alt chord is a mnemonic or a menu key for the window, never a key for the list.
    if (event->modifiers() & Qt::AltModifier) {
        event->ignore();
        return;
    }
    // Shift+F10 is the menu key of keyboards without one.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        RequestFocusedRowMenu();
        return;
    }
    // Ctrl+C copies the selected links; the form's fields copy their own text.
    if (event->matches(QKeySequence::Copy)) {
        if (QMimeData* data = SelectedLinksData()) QApplication::clipboard()->setMimeData(data);
        return;
    }
    emit keyDown(event->key(), event->modifiers());
    const int rows = m_store.Count();
    const int focus = m_states.Focus() >= 0 ? m_states.Focus() : (m_states.Mark() >= 0 ? m_states.Mark() : -1);
    const int page = std::max(1, viewport()->height() / std::max(1, rowHeight(0)) - 1);
    int target;
    switch (event->key()) {
    case Qt::Key_Up: target = focus < 0 ? 0 : focus - 1; break;
    case Qt::Key_Down: target = focus < 0 ? 0 : focus + 1; break;
    case Qt::Key_PageUp: target = focus < 0 ? 0 : focus - page; break;
    case Qt::Key_PageDown: target = focus < 0 ? 0 : focus + page; break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = rows - 1; break;
    case Qt::Key_Space:
        if (focus >= 0 && focus < rows) {
            if (event->modifiers() & Qt::ControlModifier)
                m_states.SetSelected(focus, !m_states.IsSelected(focus));
            else
                m_states.SetSelected(focus, true);
            m_states.SetMark(focus);
            RefreshRows();
            emit rowPickedByKey();
        }
        return;
    default:
        // Tab and the like move the focus between controls as usual.
        if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) QTableView::keyPressEvent(event);
        else event->ignore();
        return;
    }
    if (rows == 0) return;
    MoveFocus(std::clamp(target, 0, rows - 1), event->modifiers());
}

void CLinkListCtrl::MoveFocus(int row, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ShiftModifier) {
        int anchor = m_states.Mark() >= 0 ? m_states.Mark() : row;
        if (!(modifiers & Qt::ControlModifier)) m_states.ClearSelection();
        m_states.SelectRange(anchor, row);
        m_states.SetMark(anchor);
    } else if (!(modifiers & Qt::ControlModifier)) {
        m_states.SelectOnly(row);
        m_states.SetMark(row);
    }
    m_states.SetFocus(row);
    EnsureRowVisible(row);
    RefreshRows();
}

bool CLinkListCtrl::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QTableView::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    QModelIndex index = indexAt(help->pos());
    QString tip = index.isValid() ? CellTipText(index.row(), index.column()) : QString();
    if (tip.isEmpty()) {
        QToolTip::hideText();
    } else {
        QRect cell = visualRect(index).intersected(viewport()->rect());
        QToolTip::showText(help->globalPos(), PlainToolTip(tip), viewport(), cell);
    }
    return true;
}

void RowStateDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const RowStates& states = m_list.States();
    const int row = index.row();
    if (row < states.Rows() && states.IsSelected(row))
        option->state |= QStyle::State_Selected;
    else
        option->state &= ~QStyle::State_Selected;
    if (row == states.Focus() && m_list.hasFocus())
        option->state |= QStyle::State_HasFocus;
    else
        option->state &= ~QStyle::State_HasFocus;
}
