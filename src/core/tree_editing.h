#pragma once
// The branch tree of the sheet: feeder numbers and the rows of a feeder block.

#include "sheet.h"

namespace wirelark {

// First and last row of a feeder block (`s1`, `e1`).
struct BlockRange {
    int s1 = 0;
    int e1 = 0;
};

// Numbers the head rows 1, 2, 3 ... from top to bottom (column 0) and gives every used row the
// number of the nearest head row at or above it (column 26; "0" above the first head row).
void renumberFeeders(Sheet& sheet);

// The feeder block that row `ny1` belongs to: from the first row whose column 0 equals the
// row's feeder number (column 26) to the last row whose column 26 equals it. Texts are compared
// exactly; a part that is not found is 0.
BlockRange findFeederRange(const Sheet& sheet, int ny1);

}  // namespace wirelark
