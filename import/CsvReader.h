#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reads comma-separated values as RFC 4180 writes them: cells in double quotes may hold
// commas, line breaks and doubled quotes; rows end with CR LF or LF; a byte-order mark
// at the start is passed over. Lenient where exports differ (a quote inside an unquoted
// cell is text), strict where a file is broken: a quoted cell still open at the end is
// an error that names the line it began on. Each cell is kept to maxCell bytes (cut
// tells when one was longer), so that a hostile file's huge cell costs no memory.
class CCsvReader {
public:
    CCsvReader(std::string_view text, size_t maxCell);
    // The next row's cells; false at the end or on an error (then Error() says which).
    bool Next(std::vector<std::string>& cells);
    // The line the last row began on, from 1.
    int64_t Line() const { return m_rowLine; }
    const std::string& Error() const { return m_error; }
    // How far into the text the reader is.
    size_t Offset() const { return m_at; }
    bool Cut() const { return m_cut; }

private:
    std::string_view m_text;
    size_t m_at = 0;
    size_t m_maxCell;
    int64_t m_line = 1;
    int64_t m_rowLine = 0;
    std::string m_error;
    bool m_cut = false;
};

// The cells of one line, for telling a file's kind by its heading row.
std::vector<std::string> CsvCells(std::string_view line);
