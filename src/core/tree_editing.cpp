#include "tree_editing.h"

#include "row_kind.h"

#include <string_view>

#include <algorithm>
#include <cstdint>
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

// A row for each text of a column, by open addressing. The texts are a sheet's feeder numbers,
// a few hundred or thousand distinct ones however long the sheet; a general hash map would
// spend its time on a node for each.
class RowByText {
  public:
    RowByText() : m_slots(64) {}
    RowByText(const RowByText&) = delete;
    RowByText& operator=(const RowByText&) = delete;

    // The row kept for `key`; a new key gets `row`, and with `replace` a known one does too.
    // Rows next to each other mostly carry the same text: the slot of the last key is tried
    // before any hashing.
    void put(std::string_view key, int row, bool replace) {
        if (m_last && m_last->key == key) {
            if (replace)
                m_last->row = row;
            return;
        }
        Slot& slot = find(key);
        m_last = &slot;
        if (slot.used && !replace)
            return;
        if (!slot.used) {
            slot.used = true;
            slot.key = key;
            if (++m_count * 2 > m_slots.size()) {
                slot.row = row;
                grow();
                return;
            }
        }
        slot.row = row;
    }
    // The row kept for `key`, or -1.
    int get(std::string_view key) const {
        const Slot& slot = const_cast<RowByText*>(this)->find(key);
        return slot.used ? slot.row : -1;
    }

  private:
    struct Slot {
        std::string_view key;
        int row = -1;
        bool used = false;
    };

    static std::uint64_t hash(std::string_view key) {
        std::uint64_t h = 14695981039346656037ull;  // FNV-1a
        for (const char c : key)
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        return h;
    }
    Slot& find(std::string_view key) {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash(key) & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (!slot.used || slot.key == key)
                return slot;
        }
    }
    void grow() {
        m_last = nullptr;
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        for (const Slot& slot : old)
            if (slot.used)
                find(slot.key) = slot;
    }

    std::vector<Slot> m_slots;  // a power of two of them, at most half used
    std::size_t m_count = 0;
    Slot* m_last = nullptr;  // the slot of the last key put, used
};

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
    RowByText firstNumbered;  // column 0 text -> first row
    RowByText lastMember;     // column 26 text -> last row
    std::vector<int> heads;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        firstNumbered.put(sheet.cell(r, col::number), r, false);
        lastMember.put(sheet.cell(r, col::feederNumber), r, true);
        if (!isBlank(sheet.cell(r, col::number)) && !isBlank(sheet.cell(r, col::glyph)))
            heads.push_back(r);
    }
    std::vector<FeederBlock> blocks;
    blocks.reserve(heads.size());
    for (int head : heads) {
        const std::string_view v = sheet.cell(head, col::feederNumber);
        FeederBlock block{head, {}};
        if (const int first = firstNumbered.get(v); first >= 0)
            block.range.s1 = first;
        if (const int last = lastMember.get(v); last >= 0)
            block.range.e1 = last;
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
