#pragma once
// The page plan of the 18-row export and of the print: which worksheet line every row takes.
// A feeder block that would not fit on the rest of a worksheet starts the next one, and a
// worksheet holds 18 rows.

#include <optional>

#include "result.h"
#include "sheet.h"

namespace wirelark {

struct PagePlan {
    int pagesu = 1;    // worksheets the 18-row export needs
    int maxrowsu = 0;  // last row of the last numbered feeder block, never beyond the sheet
};

// Checks the row count `rows` that column 24 of the numbered row `row` gives its feeder block
// against the sheet: it counts rows from `row` on, so it cannot be negative nor reach beyond the
// last used row (every row of a block carries its tree glyph). The count comes from the file
// and decides how many rows and worksheets the export and the print go through; a damaged one
// must not run them on through millions of empty rows.
// `usedRows` is Sheet::lastUsedRow() + 1, found once by the caller.
std::optional<Error> checkBlockRows(const Sheet& sheet, int row, double rows, int usedRows);
// The blocks do not overlap: their counts together cannot exceed the used rows of the sheet.
std::optional<Error> checkBlockRowsTotal(double total, int usedRows);

// Writes column 25 (line 1 to 18 of the row on its worksheet) for rows 0 to maxrowsu and
// column 30 (export pages of the block) on every numbered row, and returns the plan. A numbered
// row whose column 24 (rows of the block) is not a number, or fails the checks above, stops the
// plan with an error naming the row; the cells written before stay.
Expected<PagePlan> planPages(Sheet& sheet);

}  // namespace wirelark
