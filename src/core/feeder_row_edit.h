#pragma once
// The feeder side of editing a row through its dialog: what happens when a row whose glyph
// selects the feeder dialog is double-clicked (the dialog filled from the row), and what happens
// after the dialog closed (a confirmed single feeder written into its row, a confirmed
// residential feeder laid out as a block of rows, renumbered and recalculated). Every change of
// the sheet is one step of the document, named for the engineer.

#include <string>

#include "dialog_host.h"
#include "document.h"
#include "feeder_dialog.h"
#include "write_back.h"

namespace wirelark {

// Before the dialog is shown for row `row` (uy1), double-clicked in column `column`: `patan`
// := 0 and "住宅幹線" enabled; an existing single feeder ("──▶") switches the dialog to the
// single-feeder pattern with "住宅幹線" disabled, copies the row in, derives the load type and
// forgets R and X (the row holds none); any other row leaves the dialog as it last closed. A row
// without a number gets `kansenno` as the dialog's number. The caller then shows the dialog.
void prepareFeederDialog(FeederDialog& dialog, Document& document, int row, int column,
                         DialogHost& host);

// The dialog's fields as the write-back takes them; the number of systems is the dialog's own
// 1系統/2系統 choice.
FeederEntry feederEntry(const FeederDialog& dialog);

// After the dialog closed: nothing for `patan` 0 (cancelled, closed, or not confirmed). For a
// confirmed feeder the write-back is tried first on a copy of the sheet; when any of it fails
// (a branch count that is not a whole number, a cell the recalculation cannot read) nothing is
// written and an information box names the row and the field. Otherwise the sheet changes in one
// step ("No.3 を入力", "No.3 を変更") and the document's `kansenno`, `s1` and `e1` follow. True
// when the sheet was written.
bool writeBackFeederDialog(const FeederDialog& dialog, Document& document, int row,
                           DialogHost& host);

}  // namespace wirelark
