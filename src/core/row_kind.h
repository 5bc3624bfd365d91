#pragma once
// The kind of a sheet row, read from its tree glyph (column 5). Every part of the program that
// asks what a row is (the recalculation, the branch-protection check, the pop-up menu, the
// hand-off to the input dialogs) asks here, so the glyphs are compared in one place.

#include <string_view>

namespace wirelark {

enum class RowKind {
    Other,       // empty, " " or a text the dialogs never write
    Single,      // "──▶": a single feeder
    Head,        // "-─▶┌": head row of a residential feeder
    FirstTrunk,  // "┌─┘", "┌┌┘": the trunk up to the first branch point
    Trunk,       // "│　", "││": the trunk between two branch points
    Branch,      // "├─▶", "│├▶": a branch to one dwelling
    LastBranch,  // "└─▶", "│└▶": the last branch of a system
};

struct RowClass {
    RowKind kind = RowKind::Other;
    // Drawn for a feeder of two systems beside the line of system 2: "┌┌┘", "││", "│├▶",
    // "│└▶". System 2's own rows and the rows of a one-system feeder share the plain glyphs.
    bool twoSystemForm = false;

    bool isBranch() const { return kind == RowKind::Branch || kind == RowKind::LastBranch; }
    bool isTrunk() const { return kind == RowKind::FirstTrunk || kind == RowKind::Trunk; }
    // Rows that carry the current of everything below them.
    bool isSumRow() const { return kind == RowKind::Head || isTrunk(); }
    // A row of a residential feeder's tree, edited in the branch dialog.
    bool isResidential() const { return kind == RowKind::Head || isTrunk() || isBranch(); }
};

RowClass classifyRow(std::string_view glyph);

inline RowKind rowKind(std::string_view glyph) {
    return classifyRow(glyph).kind;
}

// A double-click on a row of a residential feeder opens the branch dialog; any other row (a
// single feeder, an empty row) the feeder dialog.
inline bool opensBranchDialog(std::string_view glyph) {
    return classifyRow(glyph).isResidential();
}

}  // namespace wirelark
