#include "tree_editing.h"

#include <gtest/gtest.h>

using namespace wirelark;

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

}  // namespace
