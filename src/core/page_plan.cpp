#include "page_plan.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace wirelark {

namespace {

// A numbered row heads a feeder block; column 24 holds the block's row count.
bool startsBlock(const Sheet& sheet, int row) {
    return !sheet.cell(row, col::number).empty() && !sheet.cell(row, col::blockRows).empty();
}

}  // namespace

Expected<PagePlan> planPages(Sheet& sheet) {
    PagePlan plan;
    // Rows of the block of every numbered row, read once for both passes.
    std::vector<double> blockRows(static_cast<std::size_t>(sheet.rowCount()), 0.0);

    for (int q = 0; q < sheet.rowCount(); ++q) {
        if (!startsBlock(sheet, q))
            continue;
        const std::string& text = sheet.cell(q, col::blockRows);
        const auto rows = readNumber(text);
        if (!rows)
            return cellNumberError(q, col::blockRows, rows.error());
        blockRows[static_cast<std::size_t>(q)] = *rows;
        const double pages = roundHalfEven(*rows / kRowsPerPage + 0.5);
        sheet.setCell(q, col::blockPages, formatShortest(pages));
        // A row count that runs past the sheet (a damaged file) plans only the rows that exist.
        const double last = std::min(*rows + q - 1, static_cast<double>(sheet.rowCount() - 1));
        plan.maxrowsu = static_cast<int>(std::max(last, -1.0));
    }

    int line = 0;
    for (int q = 0; q <= plan.maxrowsu; ++q) {
        if (startsBlock(sheet, q) && blockRows[static_cast<std::size_t>(q)] + line > kRowsPerPage) {
            line = 0;
            ++plan.pagesu;
        }
        ++line;
        if (line > kRowsPerPage) {
            ++plan.pagesu;
            line = 1;
        }
        sheet.setCell(q, col::pageLine, std::to_string(line));
    }
    return plan;
}

}  // namespace wirelark
