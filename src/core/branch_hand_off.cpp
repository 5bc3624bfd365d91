#include "branch_hand_off.h"

#include "checks.h"
#include "circuit_rules.h"
#include "row_kind.h"
#include "write_back.h"

namespace wirelark {

bool openBranchRow(Document& document, int uy1, BranchDialog& dialog, DialogHost& host) {
    const Sheet& sheet = document.sheet();
    if (uy1 < 0 || uy1 >= sheet.rowCount() || !opensBranchDialog(sheet.cell(uy1, col::glyph)))
        return false;
    const auto start = branchDialogStart(sheet, uy1, dialog.entry());
    if (!start) {
        host.info(start.error().message);
        return false;
    }
    document.s1 = start->range.s1;
    document.e1 = start->range.e1;
    dialog.setEntry(start->entry);
    // The sheet keeps no R and X: a cable taken from the row has none, while a cable the
    // dialog still shows from its last opening keeps its own.
    if (!sheet.cell(uy1, col::cable).empty()) {
        dialog.Label56 = kResistancePlaceholder;
        dialog.Label57 = kReactancePlaceholder;
    }
    if (start->secondSystemStart)
        dialog.Tag = 1;
    return true;
}

bool writeBranchRow(Document& document, int uy1, const BranchDialog& dialog, DialogHost& host) {
    if (dialog.state() != ScriptableDialog::State::Confirmed)
        return false;
    // The write and the recalculation run on a copy first, so that a refusal leaves the
    // sheet, its history and the unsaved-work flag exactly as they were.
    Sheet trial = document.sheet();
    const BranchWriteResult written =
        writeBranchDialogResult(trial, uy1, dialog.entry(), document.supply());
    if (!written.status) {
        host.info(written.status.error().message);
        return false;
    }
    const BlockRange range = written.range;
    applyCellChecks(trial, range.s1, range.e1);
    document.edit(branchEditStepName(document.sheet(), range.s1), [&](Sheet& sheet) {
        for (int r = range.s1; r <= range.e1; ++r)
            sheet.setRow(r, trial.row(r));
    });
    document.s1 = range.s1;
    document.e1 = range.e1;
    return true;
}

std::string branchEditStepName(const Sheet& sheet, int headRow) {
    if (headRow < 0 || headRow >= sheet.rowCount() || isBlank(sheet.cell(headRow, col::number)))
        return "行を変更";
    return "No." + std::string(sheet.cell(headRow, col::number)) + " の行を変更";
}

}  // namespace wirelark
