#pragma once
// The page plan of the 18-row export and of the print: which worksheet line every row takes.
// A feeder block that would not fit on the rest of a worksheet starts the next one, and a
// worksheet holds 18 rows.

#include "result.h"
#include "sheet.h"

namespace wirelark {

struct PagePlan {
    int pagesu = 1;    // worksheets the 18-row export needs
    int maxrowsu = 0;  // last row of the last numbered feeder block, never beyond the sheet
};

// Writes column 25 (line 1 to 18 of the row on its worksheet) for rows 0 to maxrowsu and
// column 30 (export pages of the block) on every numbered row, and returns the plan. A numbered
// row whose column 24 (rows of the block) is not a number stops the plan with an error naming
// the row; the cells written before stay.
Expected<PagePlan> planPages(Sheet& sheet);

}  // namespace wirelark
