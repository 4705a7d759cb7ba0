#pragma once
#include <QListWidget>
#include <vector>

#include "common/SortedComboBox.h"

// A multi-selection list box that inserts where its comparison says and keeps its
// horizontal scroll range as wide as its widest row.
class CSortedListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CSortedListBox(QWidget* parent = nullptr);
    void SetCompare(TextCompare compare) { m_compare = compare; }
    void SetSorted(bool sorted) { m_sorted = sorted; }
    int Add(const QString& text);
    // -1 for an index at or beyond the end.
    int DeleteRow(int index);
    // The row whose text equals text without regard to ASCII case, or -1.
    // Selects the row, makes it the current one and scrolls it into view.
    void SelectAndShow(int row);
    int FindNoCase(const QString& text) const;
    // Deletes every selected row, in one batch.
    void DeleteSelected();
    // The row with the focus when it is also selected, else null: what Edit works on.
    QListWidgetItem* SelectedCurrent() const;
    // While on, deleting the widest row only marks the extent for recomputing.
    void SetBatchMode(bool on);
    void Reset();
    int HorizontalExtent() const { return m_widest; }

protected:
    void changeEvent(QEvent* event) override;

private:
    int Measure(const QString& text) const;
    void Recompute();
    void ApplyExtent();

    TextCompare m_compare;
    bool m_sorted = true;
    std::vector<int> m_widths;
    int m_widest = 0;
    bool m_batch = false;
    bool m_recomputePending = false;
};
