#include "row_kind.h"

#include "sheet.h"

namespace wirelark {

RowClass classifyRow(std::string_view g) {
    if (g == glyph::single)
        return {RowKind::Single, false};
    if (g == glyph::head)
        return {RowKind::Head, false};
    if (g == glyph::firstTrunk)
        return {RowKind::FirstTrunk, false};
    if (g == glyph::firstTrunkTwo)
        return {RowKind::FirstTrunk, true};
    if (g == glyph::trunk)
        return {RowKind::Trunk, false};
    if (g == glyph::trunkTwo)
        return {RowKind::Trunk, true};
    if (g == glyph::branch)
        return {RowKind::Branch, false};
    if (g == glyph::branchTwo)
        return {RowKind::Branch, true};
    if (g == glyph::lastBranch)
        return {RowKind::LastBranch, false};
    if (g == glyph::lastBranchTwo)
        return {RowKind::LastBranch, true};
    return {};
}

}  // namespace wirelark
