#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "apartment_example.h"
#include "checks.h"
#include "clipboard_text.h"
#include "recalculation.h"
#include "row_kind.h"
#include "sheet_file.h"
#include "tree_editing.h"

using namespace wirelark;

namespace {

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t h = 14695981039346656037ULL;
    for (unsigned char b : bytes) {
        h ^= b;
        h *= 1099511628211ULL;
    }
    return h;
}

struct WholeSheetCase {
    const char* name;
    SupplyChoice supply;
    std::uint64_t savedFile;      // the file `recalc` writes
    std::uint64_t clipboardText;  // the whole sheet as copied
};

// Whole-sheet work on a generated sheet of about 32,000 rows, opened from its file as the
// program opens it, recalculated, checked and saved: the bytes must stay the same whatever is
// done to make it faster. A changed checksum means a changed output; find the byte that moved
// before accepting a new value.
TEST(WholeSheetOutput, RecalculatedLargeSheetStaysTheSameByte) {
    Sheet built = examples::buildLargeSheet(32000);
    auto bytes = sheetFileBytes(built);
    ASSERT_TRUE(bytes.ok()) << bytes.error().message;

    const WholeSheetCase cases[] = {
        {"transformer", SupplyKind::Transformer, 0xba0834daae10e6ecULL, 0x6cb696d9d8640b1aULL},
        {"utility", SupplyKind::Utility, 0xe96677c61fd65d81ULL, 0x91f8e3429d9c748eULL},
        {"typed 2.5 %", SupplyChoice(SupplyKind::Typed, "2.5"), 0xce95d013ed1eb459ULL,
         0xbbf5a713ed227bceULL},
    };
    for (const WholeSheetCase& c : cases) {
        SCOPED_TRACE(c.name);
        // In one run, and cut into parts recalculated side by side.
        for (const SheetThreads threads : {SheetThreads{1, 1}, SheetThreads{5, 1000}}) {
            SCOPED_TRACE(threads.parts);
            auto opened = parseSheetFile(*bytes, Sheet{}, "large.ksk");
            ASSERT_TRUE(opened.ok()) << opened.error().message;
            ASSERT_TRUE(recalculateSheet(*opened, c.supply, threads).ok());
            applyCellChecks(*opened, 0, opened->rowCount() - 1);
            auto saved = sheetFileBytes(*opened);
            ASSERT_TRUE(saved.ok()) << saved.error().message;
            EXPECT_NE(*saved, *bytes) << "the stretched copies must give the recalculation work";
            EXPECT_EQ(fnv1a(*saved), c.savedFile) << "0x" << std::hex << fnv1a(*saved);
            EXPECT_EQ(fnv1a(wholeSheetClipboardText(*opened)), c.clipboardText)
                << "0x" << std::hex << fnv1a(wholeSheetClipboardText(*opened));
        }
    }
}

}  // namespace

namespace {

// The sheet as the recalculation of every block leaves it, taken block by block as the program
// once did it: each block recalculated and judged in turn, stopping at the first that fails,
// and the cell checks of every row only when none failed.
Status blockByBlock(Sheet& sheet, const SupplyChoice& supply) {
    for (const FeederBlock& block : feederBlocks(sheet)) {
        const bool tree = rowKind(sheet.cell(block.headRow, col::glyph)) == RowKind::Head;
        const Status s = tree ? recalculateBlock(sheet, block.range.s1, block.range.e1, supply)
                              : checkBranchProtection(sheet, block.range.s1, block.range.e1);
        if (!s)
            return s;
    }
    applyCellChecks(sheet, 0, sheet.rowCount() - 1);
    return success();
}

// Blocks that follow each other with no blank row between them.
void removeBlankRowsBetweenBlocks(Sheet& sheet) {
    for (int r = sheet.lastUsedRow(); r > 0; --r)
        if (sheet.cell(r, col::glyph).empty() && !sheet.cell(r - 1, col::glyph).empty())
            sheet.eraseRows(r, 1);
}

// The head rows of the residential blocks, top to bottom.
std::vector<int> treeHeads(const Sheet& sheet) {
    std::vector<int> heads;
    for (const FeederBlock& block : feederBlocks(sheet))
        if (rowKind(sheet.cell(block.headRow, col::glyph)) == RowKind::Head)
            heads.push_back(block.headRow);
    return heads;
}

}  // namespace

// The recalculation of the whole sheet checks each block's rows as soon as the block is done,
// and cuts a large sheet into parts recalculated side by side; whatever stops it, however the
// blocks lie and wherever the cuts fall, the sheet must end as block by block.
TEST(WholeSheetRecalculation, EndsAsBlockByBlockWithTheCellChecksLast) {
    const Sheet generated = examples::buildLargeSheet(2000);
    const std::vector<int> heads = treeHeads(generated);
    ASSERT_GE(heads.size(), 6u);
    const int early = heads[1];
    const int late = heads[heads.size() - 2];
    struct Case {
        const char* meaning;
        std::function<void(Sheet&)> change;
    };
    const Case cases[] = {
        {"as generated", [](Sheet&) {}},
        {"a block late in the sheet stops it",
         [&](Sheet& s) { s.setCell(late + 2, col::length, "abc"); }},
        {"an early block fails a comparison and a late one stops it",
         [&](Sheet& s) {
             s.setCell(early, col::breaker, "1");
             s.setCell(early + 1, col::allowableDrop, "0.01");
             s.setCell(late + 1, col::impedance, "x");
         }},
        {"an early block fails a comparison, nothing stops",
         [&](Sheet& s) { s.setCell(early, col::breaker, "1"); }},
        {"a late block carries an early block's number (a pasted copy)",
         [&](Sheet& s) {
             s.setCell(late, col::number, s.cell(early, col::number));
             for (int r = late; r < s.rowCount() && s.cell(r, col::feederNumber) ==
                                                        generated.cell(late, col::feederNumber);
                  ++r)
                 s.setCell(r, col::feederNumber, s.cell(early, col::feederNumber));
             s.setCell(early, col::breaker, "1");
         }},
        {"the first block stops it", [&](Sheet& s) { s.setCell(heads[0], col::length, "?"); }},
        {"blocks in the middle and late stop it",
         [&](Sheet& s) {
             s.setCell(heads[heads.size() / 2] + 1, col::length, "?");
             s.setCell(late + 1, col::impedance, "x");
         }},
        // The 8 m rule of a further trunk row right below a head counts from the cumulative
        // length of the row above the head, the last row of the block above when no blank row
        // parts them, which that block has just recalculated.
        {"every block's second row a further trunk row, counted from the block above",
         [&](Sheet& s) {
             removeBlankRowsBetweenBlocks(s);
             for (const int h : treeHeads(s)) {
                 if (h < 1)
                     continue;
                 s.setCell(h - 1, col::length, "500");
                 s.setCell(h + 1, col::glyph, "│　");
                 s.setCell(h + 1, col::sizeKey, s.cell(h - 1, col::sizeKey));
                 s.setCell(h + 1, col::allowableCurrent, "80");
                 s.setCell(h + 1, col::length, "60");
             }
         }},
        // A block's last row is a boundary between the systems when the row below it, the
        // next block's head, is of system 2.
        {"blocks without a blank row between them, every head of system 2",
         [&](Sheet& s) {
             removeBlankRowsBetweenBlocks(s);
             for (const int h : treeHeads(s)) {
                 s.setCell(h, col::systemNumber, "2");
                 if (h > 0)
                     s.setCell(h - 1, col::systemNumber, "1");
             }
         }},
        // The early block then reaches down over every block up to that row.
        {"a row of a late block carries an early block's feeder number",
         [&](Sheet& s) {
             s.setCell(late + 3, col::feederNumber, s.cell(early, col::feederNumber));
         }},
        // The late block then starts at that row, far above its head.
        {"an early row carries a late block's number",
         [&](Sheet& s) { s.setCell(early + 1, col::number, s.cell(late, col::feederNumber)); }},
    };
    // One part, and cuts wherever they may fall between blocks.
    const SheetThreads splits[] = {{1, 1}, {2, 1}, {3, 1}, {7, 100}};
    for (const Case& c : cases) {
        for (const SupplyChoice& supply :
             {SupplyChoice(SupplyKind::Transformer), SupplyChoice(SupplyKind::Typed, "2.5")}) {
            for (const SheetThreads& threads : splits) {
                SCOPED_TRACE(threads.parts);
                Sheet whole = generated;
                c.change(whole);
                Sheet reference = whole;
                const Status got = recalculateSheet(whole, supply, threads);
                const Status expected = blockByBlock(reference, supply);
                ASSERT_EQ(got.ok(), expected.ok()) << c.meaning;
                if (!got.ok()) {
                    EXPECT_EQ(got.error().message, expected.error().message) << c.meaning;
                }
                ASSERT_EQ(whole.rowCount(), reference.rowCount()) << c.meaning;
                for (int r = 0; r < whole.rowCount(); ++r)
                    ASSERT_EQ(whole.row(r), reference.row(r)) << c.meaning << ", row " << r + 1;
            }
        }
    }
}
