#include "page_plan.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "message_text.h"

namespace wirelark {

namespace {

// A numbered row heads a feeder block; column 24 holds the block's row count.
bool startsBlock(const Sheet& sheet, int row) {
    return !sheet.cell(row, col::number).empty() && !sheet.cell(row, col::blockRows).empty();
}

}  // namespace

std::optional<Error> checkBlockRows(const Sheet& sheet, int row, double rows, int usedRows) {
    const int available = usedRows - row;
    if (rows >= 0 && rows <= available)
        return std::nullopt;
    const std::string_view text = sheet.cell(row, col::blockRows);
    const std::string where = std::to_string(row + 1) + " 行目「" +
                              std::string(columnCaption(col::blockRows)) + "」の「" +
                              quotedText(text) + "」は";
    if (rows < 0)
        return Error{where + "行数ではありません（負の数です）。"};
    return Error{where + "シートの行数を超えています（" + std::to_string(row + 1) +
                 " 行目から最後の行まで " + std::to_string(std::max(available, 0)) + " 行です）。"};
}

std::optional<Error> checkBlockRowsTotal(double total, int usedRows) {
    if (total <= usedRows)
        return std::nullopt;
    return Error{"「" + std::string(columnCaption(col::blockRows)) + "」の合計 " +
                 formatShortest(total) + " 行がシートの行数 " + std::to_string(usedRows) +
                 " 行を超えています（幹線ブロックが重なっています）。"};
}

Expected<PagePlan> planPages(Sheet& sheet) {
    PagePlan plan;
    // Rows of the block of every numbered row, read once for both passes.
    std::vector<double> blockRows(static_cast<std::size_t>(sheet.rowCount()), 0.0);
    double total = 0;
    // Read once: the checks compare every count with the rows in use.
    const int usedRows = sheet.lastUsedRow() + 1;

    for (int q = 0; q < sheet.rowCount(); ++q) {
        if (!startsBlock(sheet, q))
            continue;
        const std::string_view text = sheet.cell(q, col::blockRows);
        const auto rows = readNumber(text);
        if (!rows)
            return cellNumberError(q, col::blockRows, rows.error());
        if (auto e = checkBlockRows(sheet, q, *rows, usedRows))
            return *e;
        total += *rows;
        if (auto e = checkBlockRowsTotal(total, usedRows))
            return *e;
        blockRows[static_cast<std::size_t>(q)] = *rows;
        const double pages = roundHalfEven(*rows / kRowsPerPage + 0.5);
        sheet.setCell(q, col::blockPages, formatShortest(pages));
        plan.maxrowsu = static_cast<int>(std::max(*rows + q - 1, -1.0));
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
