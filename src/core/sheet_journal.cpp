#include "sheet_journal.h"

#include <algorithm>
#include <type_traits>

namespace wirelark {

namespace {

// Rows trimmed from the end of the sheet outside any step (the save keeps the last used row
// plus 20) come back empty, so that an older entry finds the row it names.
void reach(Sheet& sheet, int row) {
    if (row >= sheet.rowCount())
        sheet.setRowCount(row + 1);
}

}  // namespace

void SheetJournal::takeBack(Sheet& sheet, std::size_t from) {
    while (m_entries.size() > from) {
        Entry entry = std::move(m_entries.back());
        m_entries.pop_back();
        std::visit(
            [&sheet](auto& e) {
                using E = std::decay_t<decltype(e)>;
                if constexpr (std::is_same_v<E, CellWas>) {
                    reach(sheet, e.row);
                    sheet.setCell(e.row, e.column, std::move(e.text));
                } else if constexpr (std::is_same_v<E, RowWas>) {
                    reach(sheet, e.row);
                    sheet.setPackedRow(e.row, std::move(e.cells));
                } else if constexpr (std::is_same_v<E, RowsInserted>) {
                    const int at = std::min(e.at, sheet.rowCount());
                    sheet.eraseRows(at, std::min(e.count, sheet.rowCount() - at));
                } else if constexpr (std::is_same_v<E, RowsErased>) {
                    sheet.insertPackedRows(std::min(e.at, sheet.rowCount()), std::move(e.rows));
                } else {
                    sheet.replacePackedRows(std::move(e.rows));
                }
            },
            entry);
    }
}

}  // namespace wirelark
