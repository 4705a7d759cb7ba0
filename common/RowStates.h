#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The selection of the list: one selected bit per row, the selected count, the
// selection mark (the anchor that retrieval and Shift-extension use) and the focused
// row. Kept in step with every insert, removal, reorder and reset of the rows.
class RowStates {
public:
    int Rows() const { return int(m_selected.size()); }
    bool IsSelected(int row) const { return m_selected[size_t(row)] != 0; }
    int SelectedCount() const { return m_count; }
    int Mark() const { return m_mark; }
    int Focus() const { return m_focus; }
    // The row shown in the form; it follows its record like the mark does.
    int Retrieved() const { return m_retrieved; }

    void SetSelected(int row, bool selected);
    // Sets rows [first, first + count) from bits (0 or 1 each).
    void AssignRange(int first, const uint8_t* bits, int count);
    void SelectOnly(int row);
    void ClearSelection();
    void SelectAll();
    // Every row's state flips; returns the first row that became selected, or -1.
    int Invert();
    // Selects the rows from a to b (either order); others are left alone.
    void SelectRange(int a, int b);
    void SetMark(int row) { m_mark = row; }
    void SetFocus(int row) { m_focus = row; }
    void SetRetrieved(int row) { m_retrieved = row; }
    // The nearest selected row above or below row, or -1.
    int SelectedAbove(int row) const;
    int SelectedBelow(int row) const;
    std::vector<int> SelectedRows() const;

    void Inserted(int first, int count);
    void Removed(const std::vector<int>& rows);  // ascending
    void Reordered(const std::vector<int>& newOrder);
    void Reset(int rows);

private:
    std::vector<uint8_t> m_selected;
    int m_count = 0;
    int m_mark = -1;
    int m_focus = -1;
    int m_retrieved = -1;
};
