#include "app/LinkListAccessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPointer>

#include "app/LinkListCtrl.h"

int LinkCellChildIndex(int row, int column) { return (row + 1) * ColCount + column; }

namespace {

int ChildIndex(int row, int column) { return LinkCellChildIndex(row, column); }

QRect GlobalRect(QWidget* widget, QRect rect) { return QRect(widget->mapToGlobal(rect.topLeft()), rect.size()); }

class LinkTableAccessible;

// A cell, or with row -1 a column heading.
class LinkCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    LinkCellAccessible(CLinkListCtrl* list, int row, int column) : m_list(list), m_row(row), m_column(column) {}

    bool isValid() const override { return m_list && m_row < m_list->Model().rowCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_list ? m_list->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_list.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return m_row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || t != QAccessible::Name) return QString();
        const LinkListModel& model = m_list->Model();
        if (m_row < 0) return model.headerData(m_column, Qt::Horizontal, Qt::DisplayRole).toString();
        return model.data(model.index(m_row, m_column), Qt::DisplayRole).toString();
    }

    QRect rect() const override
    {
        if (!isValid()) return QRect();
        if (m_row < 0) {
            QHeaderView* header = m_list->horizontalHeader();
            const QRect section(header->sectionViewportPosition(m_column), 0, header->sectionSize(m_column), header->height());
            return GlobalRect(header->viewport(), section.intersected(header->viewport()->rect()));
        }
        const QRect cell = m_list->visualRect(m_list->Model().index(m_row, m_column));
        return GlobalRect(m_list->viewport(), cell.intersected(m_list->viewport()->rect()));
    }

    QAccessible::State state() const override
    {
        QAccessible::State st;
        if (!isValid()) {
            st.invalid = true;
            return st;
        }
        // Scrolled out of the list, as a heading can be after horizontal scrolling.
        if (rect().isEmpty()) {
            st.invisible = true;
            st.offscreen = true;
        }
        if (m_row < 0) return st;
        st.selectable = true;
        st.focusable = true;
        st.selected = isSelected();
        st.focused = m_list->hasFocus() && m_row == m_list->States().Focus() && m_column == 0;
        return st;
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    bool isSelected() const override
    {
        return m_row >= 0 && isValid() && m_row < m_list->States().Rows() && m_list->States().IsSelected(m_row);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        QAccessibleInterface* table = parent();
        return table && m_row >= 0 ? QList<QAccessibleInterface*>{table->child(ChildIndex(-1, m_column))}
                                   : QList<QAccessibleInterface*>{};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<CLinkListCtrl> m_list;
    int m_row, m_column;
};

class LinkTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit LinkTableAccessible(CLinkListCtrl* list) : QAccessibleWidget(list, QAccessible::Table) {}
    ~LinkTableAccessible() override { ForgetCells(); }

    CLinkListCtrl* List() const { return static_cast<CLinkListCtrl*>(widget()); }

    QAccessible::State state() const override
    {
        QAccessible::State st = QAccessibleWidget::state();
        st.multiSelectable = true;
        return st;
    }
    int childCount() const override { return ChildIndex(rowCount(), 0); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount()) return nullptr;
        auto found = m_cells.constFind(index);
        if (found != m_cells.constEnd()) return QAccessible::accessibleInterface(*found);
        auto* cell = new LinkCellAccessible(List(), index / ColCount - 1, index % ColCount);
        m_cells.insert(index, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child) return -1;
        if (const auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface())
            return ChildIndex(cell->rowIndex(), cell->columnIndex());
        if (child->role() == QAccessible::ColumnHeader)
            for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it)
                if (QAccessible::accessibleInterface(*it) == child) return it.key();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        CLinkListCtrl* list = List();
        QHeaderView* header = list->horizontalHeader();
        const QPoint inHeader = header->viewport()->mapFromGlobal(QPoint(x, y));
        if (header->viewport()->rect().contains(inHeader)) {
            const int column = header->logicalIndexAt(inHeader.x());
            return column >= 0 ? child(ChildIndex(-1, column)) : nullptr;
        }
        const QModelIndex index = list->indexAt(list->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? child(ChildIndex(index.row(), index.column())) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        const int row = List()->States().Focus();
        return List()->hasFocus() && row >= 0 && row < rowCount() ? child(ChildIndex(row, 0)) : nullptr;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        return row >= 0 && row < rowCount() && column >= 0 && column < ColCount ? child(ChildIndex(row, column)) : nullptr;
    }
    int selectedCellCount() const override { return selectedRowCount() * ColCount; }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        // Every cell of a large selection would be an object each: a reader asking for
        // cells gets those of the first rows, and the rows themselves from selectedRows.
        QList<QAccessibleInterface*> cells;
        for (int row : selectedRows()) {
            if (cells.size() >= kMostSelectedCells) break;
            for (int column = 0; column < ColCount; ++column) cells.append(child(ChildIndex(row, column)));
        }
        return cells;
    }
    QString columnDescription(int column) const override
    {
        return List()->Model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    QString rowDescription(int) const override { return QString(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return List()->States().SelectedCount(); }
    int columnCount() const override { return ColCount; }
    int rowCount() const override { return List()->Model().rowCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        const std::vector<int> rows = List()->States().SelectedRows();
        return QList<int>(rows.begin(), rows.end());
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        return row >= 0 && row < List()->States().Rows() && List()->States().IsSelected(row);
    }
    // The selection is the person's, made in the list itself.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override
    {
        // Rows came, went or moved: the cells handed out no longer name the same records.
        if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) ForgetCells();
    }

private:
    static constexpr int kMostSelectedCells = 1000 * ColCount;

    void ForgetCells()
    {
        for (QAccessible::Id id : std::as_const(m_cells)) QAccessible::deleteAccessibleInterface(id);
        m_cells.clear();
    }

    mutable QHash<int, QAccessible::Id> m_cells;
};

QAccessibleInterface* LinkListFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CLinkListCtrl") && object && object->isWidgetType())
        return new LinkTableAccessible(static_cast<CLinkListCtrl*>(object));
    return nullptr;
}

}  // namespace

void InstallLinkListAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(LinkListFactory);
        return true;
    }();
    (void)installed;
}
