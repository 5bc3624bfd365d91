#include "page_plan.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "test_sheets.h"
#include "tree_editing.h"

using namespace wirelark;
using namespace wirelark::test;

namespace {

// A feeder block of `rows` rows at `row`: a numbered head row carrying the row count and used
// rows below it.
void putBlock(Sheet& s, int row, int rows) {
    s.setCell(row, col::number, "?");
    s.setCell(row, col::blockRows, std::to_string(rows));
    for (int r = row; r < row + rows; ++r)
        putGlyph(s, r, r == row ? glyph::head : glyph::branch);
}

std::string line(const Sheet& s, int row) {
    return std::string(s.cell(row, col::pageLine));
}

TEST(PagePlan, ABlockTooLongForThePageStartsANewWorksheetEvenAtTheTop) {
    Sheet s(40);
    putBlock(s, 0, 20);
    const auto plan = planPages(s);
    ASSERT_TRUE(plan.ok());
    EXPECT_EQ(plan->pagesu, 3);  // rows on worksheets 1 and 2; worksheet 3 stays an empty form
    EXPECT_EQ(plan->maxrowsu, 19);
    EXPECT_EQ(line(s, 0), "1");
    EXPECT_EQ(line(s, 17), "18");
    EXPECT_EQ(line(s, 18), "1");
    EXPECT_EQ(line(s, 19), "2");
    EXPECT_TRUE(line(s, 20).empty());
    EXPECT_EQ(s.cell(0, col::blockPages), "2");
}

TEST(PagePlan, ASecondBlockThatDoesNotFitAfterTheFirstStartsTheNextWorksheet) {
    Sheet s(40);
    putBlock(s, 0, 10);
    putBlock(s, 10, 10);
    const auto plan = planPages(s);
    ASSERT_TRUE(plan.ok());
    EXPECT_EQ(plan->pagesu, 2);
    EXPECT_EQ(plan->maxrowsu, 19);
    EXPECT_EQ(line(s, 9), "10");
    EXPECT_EQ(line(s, 10), "1");
    EXPECT_EQ(line(s, 19), "10");
    EXPECT_EQ(s.cell(10, col::blockPages), "1");
}

TEST(PagePlan, NineteenSingleFeedersFillOnePageAndStartTheNext) {
    Sheet s(40);
    for (int r = 0; r < 19; ++r)
        putBlock(s, r, 1);
    const auto plan = planPages(s);
    ASSERT_TRUE(plan.ok());
    EXPECT_EQ(plan->pagesu, 2);
    EXPECT_EQ(line(s, 17), "18");
    EXPECT_EQ(line(s, 18), "1");
}

TEST(PagePlan, UnnumberedRowsAfterTheLastBlockAreNotPlanned) {
    Sheet s(40);
    putBlock(s, 2, 3);
    putGlyph(s, 10, glyph::single);  // used, but no feeder of its own
    const auto plan = planPages(s);
    ASSERT_TRUE(plan.ok());
    EXPECT_EQ(plan->maxrowsu, 4);
    EXPECT_EQ(line(s, 0), "1");  // rows above the first block take their lines too
    EXPECT_EQ(line(s, 4), "5");
    EXPECT_TRUE(line(s, 10).empty());
}

TEST(PagePlan, ASheetWithoutFeedersIsOnePage) {
    Sheet s(20);
    const auto plan = planPages(s);
    ASSERT_TRUE(plan.ok());
    EXPECT_EQ(plan->pagesu, 1);
    EXPECT_EQ(plan->maxrowsu, 0);
}

struct PagesCase {
    int rows;
    const char* pages;
};

std::ostream& operator<<(std::ostream& os, const PagesCase& c) {
    return os << c.rows << " rows";
}

class BlockPages : public ::testing::TestWithParam<PagesCase> {};

// rows / 18 + 0.5 rounded, an exact half to the even neighbour.
TEST_P(BlockPages, AreRowsOverEighteenPlusAHalfRoundedToEven) {
    Sheet s(120);
    putBlock(s, 0, GetParam().rows);
    ASSERT_TRUE(planPages(s).ok());
    EXPECT_EQ(s.cell(0, col::blockPages), GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(Cases, BlockPages,
                         ::testing::Values(PagesCase{1, "1"}, PagesCase{9, "1"},
                                           PagesCase{18, "2"},                      // 1.5 -> 2
                                           PagesCase{27, "2"}, PagesCase{36, "2"},  // 2.5 -> 2
                                           PagesCase{54, "4"}),                     // 3.5 -> 4
                         [](const auto& p) { return "rows" + std::to_string(p.param.rows); });

TEST(PagePlan, ARowCountThatIsNotANumberNamesTheRowAndStopsThePlan) {
    Sheet s(40);
    putBlock(s, 0, 3);
    putBlock(s, 3, 2);
    s.setCell(3, col::blockRows, "2行");
    const auto plan = planPages(s);
    ASSERT_FALSE(plan.ok());
    EXPECT_EQ(plan.error().message, cellNumberError(3, col::blockRows, "2行").message);
    EXPECT_NE(plan.error().message.find("4 行目"), std::string::npos);
    EXPECT_EQ(s.cell(0, col::blockPages), "1");  // written before the failing row
}

struct DamagedCountCase {
    const char* meaning;
    int row;
    const char* count;
    const char* errorHas;
};

TEST(PagePlan, ARowCountTheSheetCannotHoldStopsThePlanNamingTheRow) {
    const DamagedCountCase cases[] = {
        {"a block running past the last row", 25, "1000000", "26 行目「幹線の行数」の「1000000」"},
        {"one row more than the rows in use below the head", 25, "4", "最後の行まで 3 行"},
        {"a negative count", 3, "-2", "負の数"},
        {"blocks that overlap beyond the rows in use", 1, "3", "合計"},
    };
    for (const DamagedCountCase& c : cases) {
        Sheet s(30);
        putBlock(s, 0, 1);
        putBlock(s, c.row, 3);
        s.setCell(0, col::blockRows, "2");  // one row into the next block
        s.setCell(c.row, col::blockRows, c.count);
        const auto plan = planPages(s);
        ASSERT_FALSE(plan.ok()) << c.meaning;
        EXPECT_NE(plan.error().message.find(c.errorHas), std::string::npos)
            << c.meaning << ": " << plan.error().message;
    }
    Sheet fits(30);
    putBlock(fits, 25, 5);  // exactly the rows that are there
    ASSERT_TRUE(planPages(fits).ok());
    // Empty rows of the grid below the last used row are no rows of a block: a file that says
    // so would make the export write thousands of empty worksheets.
    Sheet empty(100000);
    putBlock(empty, 0, 1);
    empty.setCell(0, col::blockRows, "99999");
    EXPECT_FALSE(planPages(empty).ok());
}

}  // namespace
