#pragma once
// Recalculation of one feeder block of the sheet, rows s1 to e1 (the head row and every trunk
// and branch row below it): the design currents of the trunk from the branches below it with
// the demand factor, the main breaker of the feeder, the length of every row from the origin,
// the voltage drop of every row and summed along the trunk, and the allowable drop.
//
// A single feeder (head glyph "──▶") is not recalculated: its current, drop and allowable drop
// are what the feeder dialog computed for it, and no tree below it sums into them.
//
// Every step stops at the first cell that should hold a number and does not; what it wrote
// before that stays, and the error names the row, the column and the text.

#include "circuit_rules.h"
#include "result.h"
#include "sheet.h"

namespace wirelark {

// Design currents: every trunk row and the head row receive the plain sum of the branch
// currents below them (both systems together). Branch currents may have decimals.
Status recalculateDesignCurrents(Sheet& sheet, int s1, int e1);

// Voltage drop of every row that has a current, a length and an impedance (column 15).
Status computeSingleDrops(Sheet& sheet, int s1, int e1);

// Lengths from the origin (column 19), trunk currents with the demand factor (column 9), the
// main breaker of the head row (column 8), the drop of every row (column 15), the drop summed
// from the origin to every branch (column 16), the allowable drop (column 17) and the "over"
// mark of a drop above it (column 23). Under SupplyKind::Typed every row is allowed the typed
// percentage.
Status sumLengthsCurrentsAndDrops(Sheet& sheet, int s1, int e1, const SupplyChoice& supply);

// The full recalculation: the three steps above, then the branch-protection check
// (checks.h), in this order, stopping at the first failure.
Status recalculateBlock(Sheet& sheet, int s1, int e1, const SupplyChoice& supply);

// The whole sheet, block by block from top to bottom: a residential block gets the full
// recalculation, a single feeder (which keeps what the feeder dialog computed) the
// branch-protection check alone; then the checks the grid makes while it draws run over every
// row. A cell that is not a number stops it with an error naming the row, the column and the
// text.
//
// A large sheet is cut between blocks into parts recalculated side by side, one per processor,
// unless a journal is attached; the sheet ends as the run from top to bottom would leave it,
// stopping where it stops.
struct SheetThreads {
    int parts = 0;              // 0: one per processor
    int minRowsPerPart = 2000;  // a smaller part costs more to start than it saves
};
Status recalculateSheet(Sheet& sheet, const SupplyChoice& supply, SheetThreads threads = {});

}  // namespace wirelark
