#include "sheet.h"

#include <gtest/gtest.h>

using namespace wirelark;

namespace {

TEST(Sheet, ANewSheetHas108EmptyRows) {
    Sheet s;
    EXPECT_EQ(s.rowCount(), 108);
    EXPECT_EQ(s.lastUsedRow(), 0);
    EXPECT_TRUE(s.cell(0, col::glyph).empty());
}

TEST(Sheet, LastUsedRowCountsASingleSpaceButTheLastPrintedRowDoesNot) {
    Sheet s;
    s.setCell(3, col::glyph, std::string(glyph::single));
    s.setCell(7, col::glyph, " ");
    EXPECT_EQ(s.lastUsedRow(), 7);
    EXPECT_EQ(s.lastPrintedRow(), 3);
}

TEST(Sheet, InsertingAndErasingRowsMovesTheRowsBelow) {
    Sheet s(5);
    s.setCell(2, col::name, "L1");
    s.insertRows(1, 2);
    EXPECT_EQ(s.rowCount(), 7);
    EXPECT_EQ(s.cell(4, col::name), "L1");
    s.eraseRows(0, 3);
    EXPECT_EQ(s.cell(1, col::name), "L1");
    s.clearCells();
    EXPECT_EQ(s.rowCount(), 4);
    EXPECT_TRUE(s.cell(1, col::name).empty());
}

}  // namespace

namespace {

TEST(Sheet, ACellErrorNamesTheRowAsTheUserCountsTheColumnAndTheText) {
    EXPECT_EQ(cellNumberError(11, col::length, "3m").message,
              "12 行目「こう長」の「3m」は数値ではありません。");
}

}  // namespace
