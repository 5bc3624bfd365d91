#include "tree_editing.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "test_sheets.h"

using namespace wirelark;
using namespace wirelark::test;

namespace {

TEST(Renumbering, NumbersHeadRowsInSheetOrderAndTiesRowsToTheHeadAbove) {
    Sheet s(12);
    s.setCell(0, col::glyph, std::string(glyph::single));  // used row above the first head
    for (int head : {2, 5, 9}) {
        s.setCell(head, col::number, "7");
        s.setCell(head, col::glyph, std::string(glyph::head));
        s.setCell(head + 1, col::glyph, std::string(glyph::lastBranch));
    }
    renumberFeeders(s);
    EXPECT_EQ(s.cell(2, col::number), "1");
    EXPECT_EQ(s.cell(5, col::number), "2");
    EXPECT_EQ(s.cell(9, col::number), "3");
    EXPECT_EQ(s.cell(0, col::feederNumber), "0");
    EXPECT_EQ(s.cell(3, col::feederNumber), "1");
    EXPECT_EQ(s.cell(6, col::feederNumber), "2");
    EXPECT_EQ(s.cell(10, col::feederNumber), "3");
    EXPECT_TRUE(s.cell(4, col::feederNumber).empty());  // unused rows get no number

    EXPECT_EQ(findFeederRange(s, 6).s1, 5);
    EXPECT_EQ(findFeederRange(s, 6).e1, 6);
    EXPECT_EQ(findFeederRange(s, 9).e1, 10);
}

TEST(FeederRangeSearch, ComparesTextsExactlyAndGivesZeroWhenNothingMatches) {
    Sheet s(6);
    s.setCell(3, col::feederNumber, "9");
    const BlockRange r = findFeederRange(s, 3);
    EXPECT_EQ(r.s1, 0);  // no head row numbered 9
    EXPECT_EQ(r.e1, 3);
}

// Feeder 1: single at row 0; feeder 2: one system, three branches at rows 1-7; feeder 3:
// single at row 8; feeder 4: one system, two branches at rows 9-13; feeder 5: two systems at
// rows 14-22. Rows 23 and below are free.
Sheet buildingSheet() {
    Sheet s(60);
    putSingleFeeder(s, 0, "L1");
    putResidentialFeeder(s, 1, 3, "R2");
    putSingleFeeder(s, 8, "L3");
    putResidentialFeeder(s, 9, 2, "R4");
    putTwoSystemFeeder(s, 14, "W5");
    renumberFeeders(s);
    return s;
}

struct MenuCase {
    const char* meaning;
    int ny1;
    int uy1;
    bool shown;
    const char* caption;
    MenuMode mode;
    bool deleteEnabled;
    bool copyEnabled;
};

std::ostream& operator<<(std::ostream& os, const MenuCase& c) {
    return os << c.meaning;
}

class PopupMenu : public ::testing::TestWithParam<MenuCase> {};

TEST_P(PopupMenu, FollowsTheRowsAtBothEndsOfTheSelection) {
    const MenuCase& c = GetParam();
    const Sheet s = buildingSheet();
    const PopupMenuDecision menu = decidePopupMenu(s, c.ny1, c.uy1);
    EXPECT_EQ(menu.shown, c.shown);
    EXPECT_EQ(menu.ny1, std::min(c.ny1, c.uy1));
    EXPECT_EQ(menu.uy1, std::max(c.ny1, c.uy1));
    if (!c.shown)
        return;
    EXPECT_EQ(menu.deleteCaption, c.caption);
    EXPECT_EQ(menu.mode, c.mode);
    EXPECT_EQ(menu.deleteEnabled, c.deleteEnabled);
    EXPECT_EQ(menu.copyEnabled, c.copyEnabled);
    EXPECT_EQ(menu.clipboardEnabled, c.copyEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PopupMenu,
    ::testing::Values(MenuCase{"single feeder names its number", 8, 8, true, "No.3 を削除する",
                               MenuMode::Feeder, true, true},
                      MenuCase{"head row of a residential feeder", 9, 9, true, "No.4 を削除する",
                               MenuMode::Feeder, true, true},
                      MenuCase{"empty row below the last feeder deletes rows and copies nothing",
                               30, 30, true, "行を削除する", MenuMode::Rows, true, false},
                      MenuCase{"branch inside a one-system tree opens nothing", 3, 3, false, "",
                               MenuMode::Feeder, false, false},
                      MenuCase{"first branch point of a one-system tree opens nothing", 2, 2, false,
                               "", MenuMode::Feeder, false, false},
                      MenuCase{"system 1 branch of a two-system tree opens the menu", 16, 16, true,
                               "No.5 を削除する", MenuMode::Feeder, true, true},
                      MenuCase{"selection ending inside a tree may be copied but not deleted", 1, 3,
                               true, "No.2 を削除する", MenuMode::Feeder, false, true},
                      MenuCase{"selection dragged upwards is put in order", 3, 1, true,
                               "No.2 を削除する", MenuMode::Feeder, false, true},
                      MenuCase{"selection from a used row to an empty one copies nothing", 14, 25,
                               true, "No.5 を削除する", MenuMode::Feeder, true, false}),
    [](const auto& p) { return caseName(p.param.meaning); });

TEST(PopupMenuCaption, FindsTheFeederThatStartsOnTheFirstRow) {
    Sheet s(20);
    putTwoSystemFeeder(s, 0);
    renumberFeeders(s);
    const PopupMenuDecision menu = decidePopupMenu(s, 3, 3);  // "││" of feeder 1
    ASSERT_TRUE(menu.shown);
    EXPECT_EQ(menu.deleteCaption, "No.1 を削除する");
}

struct InsertCase {
    const char* meaning;
    int ny1;
    int uy1;
    int inserted;
};

std::ostream& operator<<(std::ostream& os, const InsertCase& c) {
    return os << c.meaning;
}

class RowInsertion : public ::testing::TestWithParam<InsertCase> {};

TEST_P(RowInsertion, InsertsTheCountOfTheSelectionAtItsUpperRow) {
    const InsertCase& c = GetParam();
    Sheet s = buildingSheet();
    const int before = s.rowCount();
    const int lo = std::min(c.ny1, c.uy1);
    const Row moved = s.row(lo);
    EXPECT_EQ(insertBlankRows(s, c.ny1, c.uy1), c.inserted);
    EXPECT_EQ(s.rowCount(), before + c.inserted);
    for (int r = lo; r < lo + c.inserted; ++r)
        EXPECT_FALSE(s.isUsed(r)) << r;
    EXPECT_EQ(s.row(lo + c.inserted), moved);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowInsertion,
    ::testing::Values(InsertCase{"one row at the clicked row", 5, 5, 1},
                      InsertCase{"rows between two unnumbered rows", 3, 6, 3},
                      InsertCase{"head row and the four rows below it", 9, 13, 5},
                      InsertCase{"dragged upwards from below a head row", 13, 9, 5},
                      InsertCase{"on an empty row", 40, 40, 1}),
    [](const auto& p) { return caseName(p.param.meaning); });

TEST(FeederDeletion, RemovesTheSevenRowBlockAndRenumbersTheFeedersBelow) {
    Sheet s = buildingSheet();
    const int rowCount = s.rowCount();
    const Row feeder3 = s.row(8);
    const DeleteResult d = deleteRows(s, MenuMode::Feeder, 4, 4, 6);

    EXPECT_EQ(d.range, (BlockRange{1, 7}));
    EXPECT_EQ(d.message, "削除しましたので、No.の更新を行います");
    EXPECT_EQ(d.kansenno, 5);
    EXPECT_EQ(s.rowCount(), rowCount);
    // Feeder 3 moved up by seven rows and is now feeder 2, and so on.
    EXPECT_EQ(s.cell(1, col::name), feeder3[col::name]);
    EXPECT_EQ(s.cell(1, col::number), "2");
    EXPECT_EQ(s.cell(2, col::number), "3");
    EXPECT_EQ(s.cell(6, col::feederNumber), "3");
    EXPECT_EQ(s.cell(7, col::number), "4");
    EXPECT_EQ(s.cell(7, col::name), "W5");
    EXPECT_EQ(s.cell(0, col::number), "1");
    for (int r = 16; r < rowCount; ++r)
        EXPECT_FALSE(s.isUsed(r)) << r;
}

TEST(RowDeletion, RemovesExactlyTheSelectedRowsWithoutAMessage) {
    Sheet s(40);
    for (int r = 18; r <= 24; ++r)
        s.setCell(r, col::remarks, "row " + std::to_string(r));
    const DeleteResult d = deleteRows(s, MenuMode::Rows, 22, 20, 3);
    EXPECT_EQ(d.range, (BlockRange{20, 22}));
    EXPECT_TRUE(d.message.empty());
    EXPECT_EQ(d.kansenno, 2);
    EXPECT_EQ(s.rowCount(), 40);
    EXPECT_EQ(s.cell(19, col::remarks), "row 19");
    EXPECT_EQ(s.cell(20, col::remarks), "row 23");
    EXPECT_EQ(s.cell(21, col::remarks), "row 24");
    EXPECT_TRUE(s.cell(22, col::remarks).empty());
}

TEST(FeederDeletion, ARowWithoutAFeederNumberDeletesOnlyTheSelection) {
    // Matching the empty number would run from the first unnumbered row to the last unused row
    // and take every feeder in between.
    Sheet s = buildingSheet();
    putGlyph(s, 30, glyph::single);  // a used row that was never numbered
    s.setCell(30, col::feederNumber, "");
    const DeleteResult d = deleteRows(s, MenuMode::Feeder, 30, 30, 6);
    EXPECT_EQ(d.range, (BlockRange{30, 30}));
    EXPECT_EQ(s.cell(22, col::glyph), glyph::lastBranch);  // feeder 5 untouched
    EXPECT_EQ(s.cell(14, col::number), "5");
}

TEST(FeederCounter, NeverFallsBelowTheFirstNumber) {
    Sheet s(10);
    EXPECT_EQ(deleteRows(s, MenuMode::Rows, 2, 2, 1).kansenno, 1);
}

TEST(CopyAndPaste, PastesTheResidentialBlockOnAnEmptyRowWithItsOwnNumber) {
    Sheet s = buildingSheet();
    const BlockRange copied = copyFeederBlock(s, 3, 3);
    EXPECT_EQ(copied, (BlockRange{1, 7}));
    ASSERT_EQ(s.copyBuffer.size(), 7u);

    EXPECT_EQ(pasteCopyBuffer(s, 40), 7);
    EXPECT_EQ(glyphs(s, 40, 46), glyphs(s, 1, 7));
    for (int r = 40; r <= 46; ++r)
        for (int c = 0; c < kColumnCount; ++c)
            if (c != col::number && c != col::feederNumber) {
                EXPECT_EQ(s.cell(r, c), s.cell(r - 39, c)) << r << "," << c;
            }
    EXPECT_EQ(s.cell(1, col::number), "2");  // the original, above row 40, keeps its number
    EXPECT_EQ(s.cell(40, col::number), "6");
    for (int r = 40; r <= 46; ++r)
        EXPECT_EQ(s.cell(r, col::feederNumber), "6");

    // The buffer stays, so the block can be pasted again, here above the original.
    EXPECT_EQ(pasteCopyBuffer(s, 0), 7);
    EXPECT_EQ(s.cell(0, col::number), "1");
    EXPECT_EQ(s.cell(7, col::name), "L1");
    EXPECT_EQ(s.cell(7, col::number), "2");
    EXPECT_EQ(s.cell(8, col::number), "3");
}

TEST(CopyAndPaste, PastingMovesTheRowsAtThePasteRowDown) {
    Sheet s = buildingSheet();
    copyFeederBlock(s, 0, 0);
    pasteCopyBuffer(s, 8);
    EXPECT_EQ(s.cell(8, col::name), "L1");
    EXPECT_EQ(s.cell(9, col::name), "L3");
    EXPECT_EQ(s.cell(8, col::number), "3");
    EXPECT_EQ(s.cell(9, col::number), "4");
}

TEST(EmptySheet, EmptiesEveryCellAndKeepsTheRowCount) {
    Sheet s = buildingSheet();
    s.setRowCount(200);
    s.setCell(199, col::settingCells, "1");
    copyFeederBlock(s, 0, 0);
    emptySheet(s);
    EXPECT_EQ(s.rowCount(), 200);
    for (int r = 0; r < s.rowCount(); ++r)
        for (int c = 0; c < kColumnCount; ++c)
            ASSERT_TRUE(s.cell(r, c).empty()) << r << "," << c;
    EXPECT_EQ(s.copyBuffer.size(), 1u);
}

TEST(LargeSheets, RowsBeyondThe16BitLimitAreEdited) {
    Sheet s(40000);
    for (int r = 0; r < 39000; r += 10)
        putResidentialFeeder(s, r, 2);
    renumberFeeders(s);
    const DeleteResult d = deleteRows(s, MenuMode::Feeder, 35002, 35002, 1);
    EXPECT_EQ(d.range, (BlockRange{35000, 35004}));
    EXPECT_EQ(copyFeederBlock(s, 38006, 38006), (BlockRange{38005, 38009}));
    for (int i = 0; i < 20; ++i)
        pasteCopyBuffer(s, 100);
    for (int i = 0; i < 20; ++i)
        insertBlankRows(s, 200, 200);
    EXPECT_EQ(s.cell(100, col::number), "11");
    EXPECT_EQ(s.rowCount(), 40000 + 20 * 10 + 20);
}

}  // namespace

namespace {

// The one-pass block list agrees with a range search from each head row, also on a sheet whose
// numbers are not renumbered yet (a pasted block carrying another block's number).
TEST(FeederBlocks, AgreeWithTheRangeSearchFromEveryHeadRow) {
    Sheet s(30);
    const auto put = [&](int row, const char* number, std::string_view g, const char* feeder) {
        s.setCell(row, col::number, number);
        s.setCell(row, col::glyph, std::string(g));
        s.setCell(row, col::feederNumber, feeder);
    };
    put(1, "1", glyph::head, "1");
    put(2, "", glyph::firstTrunk, "1");
    put(3, "", glyph::lastBranch, "1");
    put(5, "2", glyph::single, "2");
    put(8, "1", glyph::head, "1");  // a pasted copy, not yet renumbered
    put(9, "", glyph::lastBranch, "1");
    put(12, "3", "", "");  // a number without a glyph heads nothing
    const std::vector<FeederBlock> blocks = feederBlocks(s);
    ASSERT_EQ(blocks.size(), 3u);
    for (const FeederBlock& b : blocks)
        EXPECT_EQ(b.range, findFeederRange(s, b.headRow)) << b.headRow;
    EXPECT_EQ(blocks[0].range, (BlockRange{1, 9}));
    EXPECT_EQ(blocks[1].range, (BlockRange{5, 5}));
}

// Hundreds of numbers, runs of equal ones broken up and taken again further down: the table the
// block list keeps grows several times and is asked for keys it last saw far above.
TEST(FeederBlocks, AgreeWithTheRangeSearchOnManyInterleavedNumbers) {
    const struct {
        int rows;
        int numbers;  // how many distinct feeder numbers the rows cycle through
        int run;      // rows in a row with the same number
    } cases[] = {{400, 150, 1}, {400, 150, 3}, {600, 7, 5}, {300, 300, 1}};
    for (const auto& c : cases) {
        Sheet s(c.rows);
        for (int r = 0; r < c.rows; ++r) {
            const std::string n = std::to_string((r / c.run * 37) % c.numbers + 1);
            const bool head = r % c.run == 0;
            s.setCell(r, col::number, head ? n : "");
            s.setCell(r, col::glyph, std::string(head ? glyph::head : glyph::lastBranch));
            s.setCell(r, col::feederNumber, n);
        }
        const std::vector<FeederBlock> blocks = feederBlocks(s);
        EXPECT_EQ(static_cast<int>(blocks.size()), (c.rows + c.run - 1) / c.run);
        for (const FeederBlock& b : blocks)
            EXPECT_EQ(b.range, findFeederRange(s, b.headRow)) << c.rows << "/" << b.headRow;
    }
}

}  // namespace
