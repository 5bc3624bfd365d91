#pragma once
// The branch side of a double-click on the sheet: a row of a residential feeder (its head row,
// a trunk row or a branch row) is copied into the branch dialog before it is shown, and what
// the engineer confirmed is written back into the sheet afterwards, as one step of the
// document's history.

#include <string>

#include "branch_dialog.h"
#include "dialog_host.h"
#include "document.h"

namespace wirelark {

// Fills the dialog for row uy1: the feeder's heading from the block's head row, the row's own
// cells, the length up to the start of the row, the base voltage from the feeder's system, the
// mark of the row where the second system leaves the trunk, and empty numbering boxes. Sets
// the document's s1 and e1 to the row's block. Returns false when there is nothing to show: a
// row outside the sheet or not of a residential feeder opens nothing, and a row whose block
// cannot be read is refused with an information box naming the row. The caller then shows the
// dialog and runs its activation.
bool openBranchRow(Document& document, int uy1, BranchDialog& dialog, DialogHost& host);

// After the dialog closed: a confirmed dialog is written into the sheet (row uy1, or the run
// of rows below it with "same data below"), the block is recalculated with the document's
// supply choice and its cells checked, all in one step named for the user ("No.2 の行を変更").
// A dialog closed with "キャンセル" or the close box writes nothing. A write that would fail is
// refused before anything is written, with an information box naming the row and the field.
// Returns true when the sheet was changed.
bool writeBranchRow(Document& document, int uy1, const BranchDialog& dialog, DialogHost& host);

// The name of the step that changes a row of the feeder headed by row `headRow`.
std::string branchEditStepName(const Sheet& sheet, int headRow);

}  // namespace wirelark
