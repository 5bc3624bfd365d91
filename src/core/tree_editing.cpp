#include "tree_editing.h"

#include "row_kind.h"

#include <string_view>
#include <unordered_map>

#include <algorithm>
#include <string>
#include <vector>

namespace wirelark {

namespace {

std::string_view glyphAt(const Sheet& sheet, int row) {
    if (row < 0 || row >= sheet.rowCount())
        return {};
    return sheet.cell(row, col::glyph);
}

int clampRow(const Sheet& sheet, int row) {
    return std::clamp(row, 0, std::max(0, sheet.rowCount() - 1));
}

// The rows between the two selection rows, in order and inside the sheet.
BlockRange selectionRange(const Sheet& sheet, int ny1, int uy1) {
    const int lo = clampRow(sheet, std::min(ny1, uy1));
    const int hi = clampRow(sheet, std::max(ny1, uy1));
    return {lo, hi};
}

// The block of row ny1, or the selection when the row carries no feeder number: matching an
// empty number would find the first unnumbered row and the last unused row of the sheet, a
// range that spans every feeder in between.
BlockRange blockOrSelection(const Sheet& sheet, int ny1, int uy1) {
    if (ny1 < 0 || ny1 >= sheet.rowCount() || isBlank(sheet.cell(ny1, col::feederNumber)))
        return selectionRange(sheet, ny1, uy1);
    const BlockRange range = findFeederRange(sheet, ny1);
    // Numbers that disagree (a head row below its own rows) give no block either.
    if (range.s1 > range.e1)
        return selectionRange(sheet, ny1, uy1);
    return range;
}

}  // namespace

void renumberFeeders(Sheet& sheet) {
    int next = 1;
    int last = 0;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        if (!isBlank(sheet.cell(r, col::number))) {
            sheet.setCell(r, col::number, std::to_string(next));
            last = next++;
        }
        if (!isBlank(sheet.cell(r, col::glyph)))
            sheet.setCell(r, col::feederNumber, std::to_string(last));
    }
}

std::vector<FeederBlock> feederBlocks(const Sheet& sheet) {
    std::unordered_map<std::string_view, int> firstNumbered;  // column 0 text -> first row
    std::unordered_map<std::string_view, int> lastMember;     // column 26 text -> last row
    std::vector<int> heads;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        firstNumbered.try_emplace(sheet.cell(r, col::number), r);
        lastMember[sheet.cell(r, col::feederNumber)] = r;
        if (!isBlank(sheet.cell(r, col::number)) && !isBlank(sheet.cell(r, col::glyph)))
            heads.push_back(r);
    }
    std::vector<FeederBlock> blocks;
    blocks.reserve(heads.size());
    for (int head : heads) {
        const std::string_view v = sheet.cell(head, col::feederNumber);
        FeederBlock block{head, {}};
        if (auto it = firstNumbered.find(v); it != firstNumbered.end())
            block.range.s1 = it->second;
        if (auto it = lastMember.find(v); it != lastMember.end())
            block.range.e1 = it->second;
        blocks.push_back(block);
    }
    return blocks;
}

BlockRange findFeederRange(const Sheet& sheet, int ny1) {
    BlockRange range;
    if (ny1 < 0 || ny1 >= sheet.rowCount())
        return range;
    const std::string_view v = sheet.cell(ny1, col::feederNumber);
    bool foundStart = false;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        if (!foundStart && sheet.cell(r, col::number) == v) {
            range.s1 = r;
            foundStart = true;
        }
        if (sheet.cell(r, col::feederNumber) == v)
            range.e1 = r;
    }
    return range;
}

bool isInnerTreeGlyph(std::string_view glyph) {
    const RowClass c = classifyRow(glyph);
    return (c.isTrunk() || c.isBranch()) && !c.twoSystemForm;
}

int insertBlankRows(Sheet& sheet, int ny1, int uy1) {
    const int lo = std::clamp(std::min(ny1, uy1), 0, sheet.rowCount());
    const int hi = std::max(ny1, uy1);
    int count = hi - lo;
    if (lo != hi && lo < sheet.rowCount() && !sheet.cell(lo, col::number).empty())
        ++count;
    if (count <= 0)
        count = 1;
    sheet.insertRows(lo, count);
    return count;
}

PopupMenuDecision decidePopupMenu(const Sheet& sheet, int ny1, int uy1) {
    PopupMenuDecision menu;

    // The number shown in the caption: the nearest head row at or above the released row.
    std::string number;
    for (int r = std::min(uy1, sheet.rowCount() - 1); r >= 0; --r) {
        if (!sheet.cell(r, col::number).empty()) {
            number = sheet.cell(r, col::number);
            break;
        }
    }

    menu.ny1 = std::min(ny1, uy1);
    menu.uy1 = std::max(ny1, uy1);
    const std::string_view top = glyphAt(sheet, menu.ny1);
    const std::string_view bottom = glyphAt(sheet, menu.uy1);

    // Copying needs used rows at both ends of the selection.
    if (top.empty() || bottom.empty()) {
        menu.copyEnabled = false;
        menu.clipboardEnabled = false;
    }

    // A selection that starts inside a one-system tree would cut a block apart; one that ends
    // inside it may still be copied but not deleted.
    const bool topInTree = isInnerTreeGlyph(top);
    const bool bottomInTree = isInnerTreeGlyph(bottom);
    if (bottomInTree)
        menu.deleteEnabled = false;
    menu.shown = !topInTree;

    if (top.empty()) {
        menu.mode = MenuMode::Rows;
        menu.deleteCaption = "行を削除する";
    } else {
        menu.mode = MenuMode::Feeder;
        menu.deleteCaption = "No." + number + " を削除する";
    }
    return menu;
}

DeleteResult deleteRows(Sheet& sheet, MenuMode mode, int ny1, int uy1, int kansenno) {
    DeleteResult result;
    if (sheet.rowCount() == 0) {
        result.kansenno = kansenno;
        return result;
    }
    result.range = mode == MenuMode::Feeder ? blockOrSelection(sheet, ny1, uy1)
                                            : selectionRange(sheet, ny1, uy1);
    const int count = result.range.e1 - result.range.s1 + 1;
    // The row count stays: the freed rows come back empty at the bottom.
    sheet.eraseRows(result.range.s1, count);
    sheet.insertRows(sheet.rowCount(), count);
    // The counter names the next new feeder; it never goes below the first number.
    result.kansenno = std::max(1, kansenno - 1);
    if (mode == MenuMode::Feeder)
        result.message = kDeletedRenumberMessage;
    renumberFeeders(sheet);
    return result;
}

BlockRange copyFeederBlock(Sheet& sheet, int ny1, int uy1) {
    if (sheet.rowCount() == 0)
        return {};
    const BlockRange range = blockOrSelection(sheet, ny1, uy1);
    sheet.copyBuffer.clear();
    sheet.copyBuffer.reserve(static_cast<std::size_t>(range.e1 - range.s1 + 1));
    const Sheet& source = sheet;
    for (int r = range.s1; r <= range.e1; ++r)
        sheet.copyBuffer.push_back(source.row(r));
    return range;
}

int pasteCopyBuffer(Sheet& sheet, int uy1) {
    const int k = static_cast<int>(sheet.copyBuffer.size());
    if (k == 0)
        return 0;
    const int at = std::clamp(uy1, 0, sheet.rowCount());
    sheet.insertRows(at, std::vector<Row>(sheet.copyBuffer));
    // The grid grows by one row for each row copied, on top of the inserted ones.
    sheet.insertRows(sheet.rowCount(), k);
    renumberFeeders(sheet);
    return k;
}

void emptySheet(Sheet& sheet) {
    sheet.clearCells();
}

}  // namespace wirelark
