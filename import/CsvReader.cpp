#include "import/CsvReader.h"

#include "store/Utf.h"

CCsvReader::CCsvReader(std::string_view text, size_t maxCell) : m_text(text), m_maxCell(maxCell)
{
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF") m_at = 3;
}

bool CCsvReader::Next(std::vector<std::string>& cells)
{
    cells.clear();
    if (!m_error.empty() || m_at >= m_text.size()) return false;
    m_rowLine = m_line;
    std::string cell;
    auto keep = [&](char c) {
        if (cell.size() < m_maxCell) cell += c;
        else m_cut = true;
    };
    auto endCell = [&] {
        // A cut never leaves half a character.
        if (m_cut && cell.size() >= m_maxCell) cell.resize(Utf8CutPoint(cell, m_maxCell));
        cells.push_back(std::move(cell));
        cell.clear();
    };
    bool quoted = false;      // inside a quoted cell
    bool startOfCell = true;
    while (m_at < m_text.size()) {
        const char c = m_text[m_at++];
        if (quoted) {
            if (c == '"') {
                if (m_at < m_text.size() && m_text[m_at] == '"') {
                    keep('"');
                    ++m_at;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') ++m_line;
                keep(c);
            }
            continue;
        }
        if (c == '"' && startOfCell) {
            quoted = true;
            startOfCell = false;
        } else if (c == ',') {
            endCell();
            startOfCell = true;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && m_at < m_text.size() && m_text[m_at] == '\n') ++m_at;
            ++m_line;
            endCell();
            return true;
        } else {
            keep(c);
            startOfCell = false;
        }
    }
    if (quoted) {
        m_error = "a quoted cell that begins on line " + std::to_string(m_rowLine) + " is never closed";
        cells.clear();
        return false;
    }
    endCell();
    return true;
}

std::vector<std::string> CsvCells(std::string_view line)
{
    CCsvReader reader(line, 4096);
    std::vector<std::string> cells;
    reader.Next(cells);
    return cells;
}
