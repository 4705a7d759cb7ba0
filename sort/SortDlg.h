#pragma once
#include <QDialog>

#include "sort/SortKeys.h"

class QPushButton;
class QTreeWidget;

// "Multi-Column Sorting": the five keys in order of precedence, each increasing or
// decreasing. Works on the table directly; Cancel puts it back as it was.
class CSortDlg : public QDialog {
    Q_OBJECT
public:
    // headings: the names of the columns, in column order.
    CSortDlg(SortKeyTable& table, const QStringList& headings, QWidget* parent = nullptr);

    QTreeWidget* KeyList() const { return m_list; }
    QPushButton* MoveUpButton() const { return m_up; }
    QPushButton* MoveDownButton() const { return m_down; }
    QPushButton* ReverseButton() const { return m_reverse; }
    QPushButton* ResetButton() const { return m_reset; }
    void MoveUp() { Move(-1); }
    void MoveDown() { Move(1); }
    void Reverse();
    void Reset();

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Move(int step);
    void ShowRow(int row);
    void UpdateButtons();
    int Selected() const;

    SortKeyTable& m_table;
    const SortKeyTable m_saved;
    QStringList m_headings;
    QTreeWidget* m_list;
    QPushButton* m_up;
    QPushButton* m_down;
    QPushButton* m_reverse;
    QPushButton* m_reset;
    bool m_scaled = false;
};
