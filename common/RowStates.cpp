#include "common/RowStates.h"

#include <algorithm>
#include <cstring>

void RowStates::SetSelected(int row, bool selected)
{
    uint8_t& bit = m_selected[size_t(row)];
    if (bit == uint8_t(selected)) return;
    bit = uint8_t(selected);
    m_count += selected ? 1 : -1;
}

void RowStates::AssignRange(int first, const uint8_t* bits, int count)
{
    uint8_t* row = m_selected.data() + first;
    int delta = 0;
    for (int i = 0; i < count; ++i) {
        delta += int(bits[i]) - int(row[i]);
        row[i] = bits[i];
    }
    m_count += delta;
}

void RowStates::SelectOnly(int row)
{
    ClearSelection();
    SetSelected(row, true);
}

void RowStates::ClearSelection()
{
    if (m_count) std::fill(m_selected.begin(), m_selected.end(), uint8_t(0));
    m_count = 0;
}

void RowStates::SelectAll()
{
    std::fill(m_selected.begin(), m_selected.end(), uint8_t(1));
    m_count = Rows();
}

int RowStates::Invert()
{
    int first = -1;
    for (size_t i = 0; i < m_selected.size(); ++i) {
        m_selected[i] ^= 1;
        if (first < 0 && m_selected[i]) first = int(i);
    }
    m_count = Rows() - m_count;
    return first;
}

void RowStates::SelectRange(int a, int b)
{
    if (a > b) std::swap(a, b);
    a = std::max(a, 0);
    b = std::min(b, Rows() - 1);
    for (int row = a; row <= b; ++row) SetSelected(row, true);
}

int RowStates::SelectedAbove(int row) const
{
    for (int r = std::min(row, Rows()) - 1; r >= 0; --r)
        if (m_selected[size_t(r)]) return r;
    return -1;
}

int RowStates::SelectedBelow(int row) const
{
    int start = std::max(row + 1, 0);
    if (start >= Rows()) return -1;
    const void* hit = std::memchr(m_selected.data() + start, 1, size_t(Rows() - start));
    return hit ? int(static_cast<const uint8_t*>(hit) - m_selected.data()) : -1;
}

std::vector<int> RowStates::SelectedRows() const
{
    std::vector<int> rows;
    rows.reserve(size_t(m_count));
    for (int r = 0; r < Rows() && int(rows.size()) < m_count; ++r)
        if (m_selected[size_t(r)]) rows.push_back(r);
    return rows;
}

void RowStates::Inserted(int first, int count)
{
    m_selected.insert(m_selected.begin() + first, size_t(count), uint8_t(0));
    if (m_mark >= first) m_mark += count;
    if (m_focus >= first) m_focus += count;
    if (m_retrieved >= first) m_retrieved += count;
}

void RowStates::Removed(const std::vector<int>& rows)
{
    // Where a surviving row lands: its index less the removed rows above it.
    auto follow = [&](int row) {
        auto it = std::lower_bound(rows.begin(), rows.end(), row);
        if (it != rows.end() && *it == row) return -1;
        return row - int(it - rows.begin());
    };
    if (m_mark >= 0) m_mark = follow(m_mark);
    if (m_focus >= 0) m_focus = follow(m_focus);
    if (m_retrieved >= 0) m_retrieved = follow(m_retrieved);
    size_t write = 0, next = 0;
    for (size_t read = 0; read < m_selected.size(); ++read) {
        if (next < rows.size() && size_t(rows[next]) == read) {
            m_count -= m_selected[read];
            ++next;
        } else {
            m_selected[write++] = m_selected[read];
        }
    }
    m_selected.resize(write);
}

void RowStates::Reordered(const std::vector<int>& newOrder)
{
    std::vector<uint8_t> moved(newOrder.size());
    int mark = -1, focus = -1, retrieved = -1;
    for (size_t i = 0; i < newOrder.size(); ++i) {
        moved[i] = m_selected[size_t(newOrder[i])];
        if (newOrder[i] == m_mark) mark = int(i);
        if (newOrder[i] == m_focus) focus = int(i);
        if (newOrder[i] == m_retrieved) retrieved = int(i);
    }
    m_selected.swap(moved);
    m_mark = mark;
    m_focus = focus;
    m_retrieved = retrieved;
}

void RowStates::Reset(int rows)
{
    m_selected.assign(size_t(rows), 0);
    m_count = 0;
    m_mark = -1;
    m_focus = -1;
    m_retrieved = -1;
}
