#include "sheet.h"

namespace wirelark {

void Sheet::setRowCount(int count) { m_rows.resize(idx(count < 0 ? 0 : count)); }

int Sheet::lastUsedRow() const {
    for (int r = rowCount() - 1; r > 0; --r)
        if (!cell(r, col::glyph).empty()) return r;
    return 0;
}

int Sheet::lastPrintedRow() const {
    for (int r = rowCount() - 1; r > 0; --r)
        if (!isBlank(cell(r, col::glyph))) return r;
    return 0;
}

void Sheet::insertRows(int at, int count) {
    if (count <= 0) return;
    m_rows.insert(m_rows.begin() + at, idx(count), Row{});
}

void Sheet::eraseRows(int at, int count) {
    if (count <= 0) return;
    m_rows.erase(m_rows.begin() + at, m_rows.begin() + at + count);
}

void Sheet::clearCells() {
    for (Row& r : m_rows)
        for (std::string& c : r) c.clear();
}

}  // namespace wirelark
