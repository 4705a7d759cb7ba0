#pragma once
#include "common/QtText.h"
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

class QMimeData;

#include "common/RowStates.h"
#include "store/LinkStore.h"

// The five columns; also the sort keys.
enum LinkColumn { ColTitle = 0, ColCategory = 1, ColDescription = 2, ColAdded = 3, ColModified = 4, ColCount = 5 };


// The text of one cell, made from the record whenever the view asks: one line (line
// breaks as blanks), at most a few thousand characters.
QString LinkCellText(const CAnnotatedLink& record, int column);

// Presents the store's records as rows without copying their text, and keeps the
// list's row states in step with every change of the rows.
class LinkListModel : public QAbstractTableModel, public StoreListener {
    Q_OBJECT
public:
    LinkListModel(LinkStore& store, RowStates& states, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void AboutToInsert(int first, int count) override;
    void Inserted(int first, int count) override;
    void AboutToRemove(const std::vector<int>& rows) override;
    void Removed(const std::vector<int>& rows) override;
    void AboutToReorder() override;
    void Reordered(const std::vector<int>& newOrder) override;
    void AboutToReset() override;
    void WasReset() override;
    void TextsChanged() override;
    void CategoriesChanged() override { emit categoriesChanged(); }
    // One record was changed in place.
    void RowChanged(int row) { emit dataChanged(index(row, 0), index(row, ColCount - 1)); }

signals:
    void categoriesChanged();

private:
    LinkStore& m_store;
    RowStates& m_states;
    bool m_resetting = false;
};

// The list of links: a report view whose selection lives in RowStates (one bit a
// row), because Qt's selection model is far too slow for the scattered selections
// that a search makes over a large collection.
class CLinkListCtrl : public QTableView {
    Q_OBJECT
public:
    CLinkListCtrl(LinkStore& store, QWidget* parent = nullptr);

    RowStates& States() { return m_states; }
    const RowStates& States() const { return m_states; }
    LinkListModel& Model() { return m_model; }

    // Freezes painting; the outermost end repaints the whole list once.
    void BeginUpdate();
    void EndUpdate();
    bool IsUpdating() const { return m_updateDepth > 0; }
    // Repaints after a change of row states made outside an update bracket.
    void RefreshRows();
    void EnsureRowVisible(int row);
    // The tooltip of a cell: empty when its text fits, else the text cut to 79 characters.
    QString CellTipText(int row, int column) const;
    // What an empty list says, in its middle (and to a screen reader).
    void SetEmptyText(const QString& text);
    // The selected links for the clipboard or a drag: as links for the programs that take
    // them (text/uri-list) and as plain text, "title <link>" one a line. Null when none.
    QMimeData* SelectedLinksData() const;

signals:
    void clicked();
    void doubleClicked();
    void rightClicked();
    // The menu of a row is asked for (a right-click on it, or the menu key on the focused row).
    void rowMenuRequested(int row, const QPoint& globalPos);
    // A key arrived in the list, before the list moves its selection.
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    // Space or Ctrl+Space picked or dropped the focused row.
    void rowPickedByKey();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void MoveFocus(int row, Qt::KeyboardModifiers modifiers);
    // Asks for the menu of the focused row; false when there is none.
    bool RequestFocusedRowMenu();
    // After the row states changed: Qt's current index follows the focused row, and
    // screen readers hear of the selection.
    void StatesChanged();

    LinkStore& m_store;
    QString m_emptyText;
    // A press on a selected row keeps the selection for a drag; a release without one
    // selects that row only, as a click does.
    QPoint m_pressAt;
    int m_pressRow = -1;
    bool m_selectOnRelease = false;
    RowStates m_states;
    LinkListModel m_model;
    int m_updateDepth = 0;
};

// Paints a row as selected or focused from the row states.
class RowStateDelegate : public QStyledItemDelegate {
public:
    RowStateDelegate(CLinkListCtrl& list) : QStyledItemDelegate(&list), m_list(list) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    CLinkListCtrl& m_list;
};
