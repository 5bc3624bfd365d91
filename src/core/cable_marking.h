#pragma once
// Which sizes of the shown cable group would do for the row that opened the cable selection.
// The engineer opens the table to find the smallest cable that carries the design current and
// keeps the voltage drop of the run within the allowable drop; every size row is judged here
// with the same rules as the input dialogs apply after the pick (circuit_rules.h), from what a
// double-click on the row would hand back.

#include <optional>
#include <string>
#include <vector>

#include "cable_selection.h"
#include "dialog_host.h"

namespace wirelark {

struct SizeMark {
    int gridRow = 0;  // row of the impedance grid
    // Whole amperes as the hand-back gives them; empty when the size has no allowable-current
    // row, and then the size is neither greyed nor proposed.
    std::string allowableCurrent;
    bool belowDesignCurrent = false;  // the cable would be refused for the design current
    // K × I × L × Z / 1000 with the row's own R and X, two decimals as the dialog shows it;
    // empty when the power factor or the electric system is not known.
    std::string drop;
    bool dropTooLarge = false;  // above the allowable drop (equal passes)
    bool recommended = false;   // "推奨": the smallest size that passes
};

struct SizeMarks {
    // False without a design current or a length: nothing is marked.
    bool active = false;
    std::vector<SizeMark> rows;  // every size row of the shown group, top to bottom
    std::optional<int> recommendedRow;
};

// Judges every size row of the group the selection shows for the caller's row. The drop is
// checked only where the allowable drop, the power factor and the system are known; the
// proposal is the smallest conductor (the highest resistance) that passes every check that
// could be made, a multi-core size only when its core count is the one the system needs.
SizeMarks markSizes(const CableSelection& selection, const CableRequest& request);

}  // namespace wirelark
