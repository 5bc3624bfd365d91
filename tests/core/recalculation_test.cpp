#include "recalculation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checks.h"
#include "sheet_rows.h"

using namespace wirelark;
using wirelark::test::setCells;

namespace {

// A residential feeder as the feeder dialog lays it out: head row, then for each branch a
// trunk row and a branch row; with two systems, system 1's rows first.
struct Residential {
    std::string_view system = "単相3線";
    std::string feederLength = "20";
    std::string trunkLength = "3";
    std::string impedance = "1";  // of the feeder's cable, which the trunk takes too
    std::string mainBreaker{};
    std::vector<std::string> system1{};  // design currents of the branches
    std::vector<std::string> system2{};
};

// Writes the block from row `at`; returns its last row.
int lay(Sheet& s, int at, const Residential& f) {
    const bool two = !f.system2.empty();
    setCells(s, at,
             {{col::number, "1"},
              {col::system, f.system},
              {col::glyph, glyph::head},
              {col::length, f.feederLength},
              {col::loadName, "L1"},
              {col::mainBreaker, f.mainBreaker},
              {col::impedance, f.impedance}});
    int row = at;
    for (int j = 1; j <= (two ? 2 : 1); ++j) {
        const std::vector<std::string>& branches = j == 1 ? f.system1 : f.system2;
        const std::string system = std::to_string(j);
        for (std::size_t i = 0; i < branches.size(); ++i) {
            std::string_view trunk = !two ? glyph::trunk : j == 1 ? glyph::trunkTwo : glyph::trunk;
            if (i == 0 && j == 1)
                trunk = two ? glyph::firstTrunkTwo : glyph::firstTrunk;
            setCells(s, row + 1,
                     {{col::glyph, trunk},
                      {col::length, f.trunkLength},
                      {col::impedance, f.impedance},
                      {col::systemNumber, system}});
            const std::string_view branch = two && j == 1 ? glyph::branchTwo : glyph::branch;
            setCells(s, row + 2,
                     {{col::glyph, branch},
                      {col::designCurrent, branches[i]},
                      {col::systemNumber, system}});
            row += 2;
        }
        s.setCell(row, col::glyph,
                  std::string(two && j == 1 ? glyph::lastBranchTwo : glyph::lastBranch));
    }
    for (int r = at; r <= row; ++r)
        s.setCell(r, col::feederNumber, "1");
    return row;
}

std::vector<std::string> column(const Sheet& s, int column, int first, int last) {
    std::vector<std::string> out;
    for (int r = first; r <= last; ++r)
        out.emplace_back(s.cell(r, column));
    return out;
}

using Texts = std::vector<std::string>;

TEST(DesignCurrents, TrunkRowsFirstReceiveThePlainSumOfTheBranchesBelow) {
    Sheet s(10);
    const int last = lay(s, 0, {.system1 = {"30", "30", "20"}});
    ASSERT_TRUE(recalculateDesignCurrents(s, 0, last).ok());
    EXPECT_EQ(column(s, col::designCurrent, 0, last),
              (Texts{"80", "80", "30", "50", "30", "20", "20"}));
}

TEST(DesignCurrents, BranchCurrentsWithDecimalsAreSummedAsNumbers) {
    Sheet s(10);
    const int last = lay(s, 0, {.system1 = {"12.5", "10"}});
    ASSERT_TRUE(recalculateDesignCurrents(s, 0, last).ok());
    EXPECT_EQ(column(s, col::designCurrent, 0, last), (Texts{"22.5", "22.5", "12.5", "10", "10"}));
    ASSERT_TRUE(recalculateBlock(s, 0, last, SupplyKind::Transformer).ok());
    EXPECT_EQ(s.cell(0, col::designCurrent), "22") << "22.5 A rounds to the even ampere";
}

TEST(DesignCurrents, ABranchCurrentThatIsNoNumberStopsWithRowsBelowAlreadyDone) {
    Sheet s(10);
    const int last = lay(s, 0, {.system1 = {"30", "3O", "20"}});
    s.setCell(1, col::designCurrent, "old");
    Status st = recalculateDesignCurrents(s, 0, last);
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().message, "5 行目「設計負荷電流」の「3O」は数値ではありません。");
    EXPECT_EQ(s.cell(5, col::designCurrent), "20");
    EXPECT_EQ(s.cell(1, col::designCurrent), "old");
}

TEST(Recalculation, OneSystemWithFewBranchesCarriesTheFullSum) {
    Sheet s(10);
    const int last = lay(s, 0, {.system1 = {"30", "30", "20"}});
    ASSERT_TRUE(recalculateBlock(s, 0, last, SupplyKind::Transformer).ok());
    EXPECT_EQ(column(s, col::designCurrent, 0, last),
              (Texts{"80", "80", "30", "50", "30", "20", "20"}));
}

TEST(Recalculation, EightDwellingsReduceTheFirstTrunkRowAndRaiseTheMainBreaker) {
    Sheet s(20);
    const int last = lay(s, 0, {.mainBreaker = "50", .system1 = Texts(8, "10")});
    ASSERT_TRUE(recalculateBlock(s, 0, last, SupplyKind::Transformer).ok());
    // 80 A × 78 % = 62.4 A at the head and the first branch point; below it the plain sums.
    EXPECT_EQ(s.cell(0, col::designCurrent), "62");
    EXPECT_EQ(s.cell(1, col::designCurrent), "62");
    Texts trunk;
    for (int r = 3; r < last; r += 2)
        trunk.emplace_back(s.cell(r, col::designCurrent));
    EXPECT_EQ(trunk, (Texts{"70", "60", "50", "40", "30", "20", "10"}));
    EXPECT_EQ(s.cell(0, col::mainBreaker), "75");
}

TEST(Recalculation, TheMainBreakerIsOnlyRaisedWhenBelowAndAStandardRatingFits) {
    struct Case {
        const char* meaning;
        std::string main;
        Texts branches;
        std::string after;
    };
    const Case cases[] = {
        {"a larger main breaker stays", "100", {"30", "30"}, "100"},
        {"an equal one stays", "60", {"30", "30"}, "60"},
        {"a smaller one is raised to the next rating", "50", {"30", "30"}, "60"},
        {"no main breaker, none is added", "", {"30", "30"}, ""},
        {"1700 A is beyond every standard rating",
         "1000",
         {"340", "340", "340", "340", "340"},
         "1000"},
    };
    for (const Case& c : cases) {
        Sheet s(20);
        const int last = lay(s, 0, {.mainBreaker = c.main, .system1 = c.branches});
        ASSERT_TRUE(recalculateBlock(s, 0, last, SupplyKind::Transformer).ok()) << c.meaning;
        EXPECT_EQ(s.cell(0, col::mainBreaker), c.after) << c.meaning;
    }
}

TEST(Recalculation, LengthsAndDropsAddUpAlongTheTrunkToEachBranch) {
    // Head 30 m with 1.20 V; trunk pieces 3 m with 0.10 V each; the branch below the second
    // trunk piece is 10 m with 0.50 V. The pieces' drops are 0.09996 V and 0.10002 V, summed
    // as the sheet shows them.
    Sheet s(10);
    const int last = lay(s, 0, {.feederLength = "30", .system1 = {"20", "20"}});
    ASSERT_EQ(last, 4);
    s.setCell(0, col::impedance, "1");
    s.setCell(1, col::impedance, "0.833");
    s.setCell(3, col::impedance, "1.667");
    setCells(s, 4, {{col::length, "10"}, {col::impedance, "2.5"}});
    ASSERT_TRUE(recalculateBlock(s, 0, last, SupplyKind::Transformer).ok());
    EXPECT_EQ(column(s, col::singleDrop, 0, last), (Texts{"1.20", "0.10", "0.00", "0.10", "0.50"}));
    EXPECT_EQ(column(s, col::cumulativeLength, 0, last), (Texts{"30", "33", "33", "36", "46"}));
    EXPECT_EQ(s.cell(4, col::summedDrop), "1.9");
    EXPECT_EQ(s.cell(2, col::summedDrop), "1.3");
    EXPECT_EQ(column(s, col::summedDrop, 0, 1), (Texts{"", ""}))
        << "trunk rows have no summed drop";
}

TEST(Recalculation, ABranchWithoutLengthTakesTheNearestBranchAboveInItsSystem) {
    Sheet s(12);
    const int last = lay(s, 0, {.feederLength = "30", .system1 = {"10", "10", "10"}});
    s.setCell(4, col::length, "7");
    ASSERT_TRUE(recalculateBlock(s, 0, last, SupplyKind::Transformer).ok());
    // Branches at 33 (no length yet, 0), 36 + 7, 39 + 7 (taken from the branch above).
    EXPECT_EQ(column(s, col::cumulativeLength, 2, last), (Texts{"33", "36", "43", "39", "46"}));
}

TEST(Recalculation, AllowableDropsByTheSystemsBaseVoltageAndTheDistance) {
    struct Case {
        const char* meaning;
        std::string_view system;
        std::string feederLength;
        SupplyChoice supply;
        std::string allowable;
    };
    const Case cases[] = {
        {"three-phase three-wire at 130 m: 200 V × 6 %", "三相3線", "124", SupplyKind::Transformer,
         "12"},
        {"three-phase four-wire at 70 m: 230 V × 5 % = 11.5", "三相4線", "64",
         SupplyKind::Transformer, "12"},
        {"three-phase four-wire at 10 m: 230 V × 3 % = 6.9", "三相4線", "4",
         SupplyKind::Transformer, "7"},
        {"utility supply at 130 m: 100 V × 5 %", "単相3線", "124", SupplyKind::Utility, "5"},
        {"utility supply at 250 m: 100 V × 6 %", "単相3線", "244", SupplyKind::Utility, "6"},
        {"an unknown system counts on 100 V", "単相5線", "4", SupplyKind::Transformer, "3"},
        {"a typed 4.5 % on 100 V, whatever the distance", "単相3線", "244",
         SupplyChoice(SupplyKind::Typed, "4.5"), "4"},
        {"a typed 6 % on 230 V = 13.8", "三相4線", "4", SupplyChoice(SupplyKind::Typed, "6"), "14"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meaning);
        Sheet s(10);
        // Branch at the feeder length + 3 m of trunk + 3 m of branch.
        const int last =
            lay(s, 0, {.system = c.system, .feederLength = c.feederLength, .system1 = {"10"}});
        s.setCell(last, col::length, "3");
        ASSERT_TRUE(recalculateBlock(s, 0, last, c.supply).ok());
        EXPECT_EQ(s.cell(last, col::allowableDrop), c.allowable);
    }
}

TEST(Recalculation, ATypedPercentageThatIsNoNumberStopsBeforeAnyDropIsWritten) {
    Sheet s(10);
    const int last = lay(s, 0, {.feederLength = "50", .system1 = {"10"}});
    const Status st = recalculateBlock(s, 0, last, SupplyChoice(SupplyKind::Typed, "三"));
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().message,
              "「指定した電圧降下(%)で計算する」の「三」は正しい数値ではありません。");
    EXPECT_EQ(s.cell(last, col::allowableDrop), "");
}

TEST(Recalculation, ADropAboveTheAllowableDropIsMarkedOverUntilItComesBelow) {
    Sheet s(10);
    const int last = lay(s, 0, {.feederLength = "50", .impedance = "2", .system1 = {"20", "10"}});
    s.setCell(last, col::mark, "1");
    ASSERT_TRUE(recalculateBlock(s, 0, last, SupplyKind::Transformer).ok());
    // Head: 30 A × 50 m × 2 Ω/km = 3.00 V, already the whole 3 V allowed.
    EXPECT_EQ(s.cell(0, col::singleDrop), "3.00");
    EXPECT_EQ(column(s, col::mark, 0, last), (Texts{"", "", "over", "", "over"}));

    for (int r = 0; r <= last; ++r)
        if (!s.cell(r, col::impedance).empty())
            s.setCell(r, col::impedance, "0.5");
    ASSERT_TRUE(recalculateBlock(s, 0, last, SupplyKind::Transformer).ok());
    EXPECT_EQ(column(s, col::mark, 0, last), (Texts{"", "", "", "", ""}));
}

TEST(Recalculation, TwoSystemsSumSeparatelyAndSystemTwoStartsFromTheHead) {
    Sheet s(40);
    const int last = lay(s, 0,
                         {.feederLength = "20",
                          .mainBreaker = "75",
                          .system1 = Texts(6, "10"),
                          .system2 = Texts(6, "10")});
    ASSERT_EQ(last, 24);
    const int boundary = 12;  // system 1's last branch "│└▶"
    ASSERT_EQ(s.cell(boundary, col::glyph), glyph::lastBranchTwo);
    ASSERT_TRUE(recalculateBlock(s, 0, last, SupplyKind::Transformer).ok());

    // Each system: 60 A over six dwellings × 91 % = 54.6 A at its first trunk row.
    EXPECT_EQ(s.cell(1, col::designCurrent), "55");
    EXPECT_EQ(s.cell(boundary + 1, col::designCurrent), "55");
    EXPECT_EQ(s.cell(3, col::designCurrent), "50");
    EXPECT_EQ(s.cell(boundary + 3, col::designCurrent), "50");
    // The main breaker takes 120 A × 64 % (12 dwellings) = 76.8 A; the head then shows system
    // 1 reduced on its own plus system 2, reduced again: (54.6 + 60) × 64 % = 73.3 A.
    EXPECT_EQ(s.cell(0, col::mainBreaker), "100");
    EXPECT_EQ(s.cell(0, col::designCurrent), "73");

    // System 1 starts after its first trunk piece; system 2 leaves the head.
    EXPECT_EQ(s.cell(1, col::cumulativeLength), "23");
    EXPECT_EQ(s.cell(3, col::cumulativeLength), "26");
    EXPECT_EQ(s.cell(boundary + 1, col::cumulativeLength), "23");
    EXPECT_EQ(s.cell(boundary + 3, col::cumulativeLength), "26");

    // System 2's first branch sums the head's drop and its own trunk piece, not system 1's.
    const double head = readNumber(s.cell(0, col::singleDrop)).valueOr(-1);
    const double piece = readNumber(s.cell(boundary + 1, col::singleDrop)).valueOr(-1);
    EXPECT_EQ(s.cell(boundary + 2, col::summedDrop), formatShortest(head + piece));
    const double firstPiece = readNumber(s.cell(1, col::singleDrop)).valueOr(-1);
    EXPECT_EQ(s.cell(2, col::summedDrop), formatShortest(head + firstPiece));
}

TEST(Recalculation, ASingleFeederKeepsWhatItsDialogComputedButIsStillChecked) {
    Sheet s(3);
    setCells(s, 1,
             {{col::number, "1"},
              {col::system, "単相3線"},
              {col::breaker, "100"},
              {col::glyph, glyph::single},
              {col::length, "20"},
              {col::designCurrent, "30"},
              {col::allowableCurrent, "91"},
              {col::impedance, "1.012"},
              {col::singleDrop, "0.61"},
              {col::allowableDrop, "3"},
              {col::mark, "1"}});
    const Row before = s.row(1);
    ASSERT_TRUE(recalculateBlock(s, 1, 1, SupplyKind::Utility).ok());
    for (int c : {col::designCurrent, col::singleDrop, col::allowableDrop, col::cumulativeLength,
                  col::mark})
        EXPECT_EQ(s.cell(1, c), before[static_cast<std::size_t>(c)]) << columnCaption(c);
    EXPECT_EQ(s.cell(1, col::verdict), verdict::from55);
}

TEST(Recalculation, ABlankRowInsertedIntoTheBlockIsLeftBlank) {
    Sheet s(12);
    const int last = lay(s, 0, {.system1 = {"30", "20"}});
    s.insertRows(3, 1);
    ASSERT_TRUE(recalculateBlock(s, 0, last + 1, SupplyKind::Transformer).ok());
    for (int c = 0; c < kColumnCount; ++c)
        EXPECT_TRUE(s.cell(3, c).empty()) << columnCaption(c);
    EXPECT_EQ(s.cell(4, col::designCurrent), "20");
}

TEST(Recalculation, ADropOfAThousandVoltsOrMoreReadsBackForTheSums) {
    Sheet s(10);
    const int last = lay(s, 0, {.feederLength = "500", .impedance = "40", .system1 = {"50", "50"}});
    ASSERT_TRUE(recalculateBlock(s, 0, last, SupplyKind::Transformer).ok());
    EXPECT_EQ(s.cell(0, col::singleDrop), "2,000.00");
    EXPECT_EQ(s.cell(2, col::summedDrop), "2012");
}

TEST(Recalculation, ALengthThatIsNoNumberStopsWithItsRowColumnAndText) {
    Sheet s(10);
    const int last = lay(s, 0, {.system1 = {"30", "20"}});
    s.setCell(3, col::length, "3m");
    Status st = recalculateBlock(s, 0, last, SupplyKind::Transformer);
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().message, cellNumberError(3, col::length, "3m").message);
    EXPECT_TRUE(s.cell(0, col::verdict).empty()) << "the check after the failing step did not run";
}

TEST(Recalculation, AFailureInTheSumsLeavesTheRowsReachedFromBothEndsDone) {
    Sheet s(10);
    const int last = lay(s, 0, {.system1 = {"30", "20"}});
    ASSERT_TRUE(recalculateDesignCurrents(s, 0, last).ok());
    s.setCell(3, col::length, "3m");
    s.setCell(1, col::designCurrent, "old");
    Status st = sumLengthsCurrentsAndDrops(s, 0, last, SupplyKind::Transformer);
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().message, "4 行目「こう長」の「3m」は数値ではありません。");
    // Lengths went down to the failing row, currents came up from the bottom as far.
    EXPECT_EQ(column(s, col::cumulativeLength, 0, last), (Texts{"20", "23", "23", "", ""}));
    EXPECT_EQ(s.cell(3, col::designCurrent), "20");
    EXPECT_EQ(s.cell(1, col::designCurrent), "old");
    EXPECT_TRUE(s.cell(0, col::singleDrop).empty()) << "no drop was computed";
}

TEST(Recalculation, EveryStepWorksOnlyOnTheRowsOfTheBlock) {
    Sheet s(20);
    const int first = lay(s, 0, {.system1 = {"30", "20"}});
    const int second = lay(s, first + 1, {.system1 = {"40", "40"}});
    const Sheet before = s;
    ASSERT_TRUE(recalculateBlock(s, first + 1, second, SupplyKind::Transformer).ok());
    for (int r = 0; r <= first; ++r)
        EXPECT_EQ(s.row(r), before.row(r)) << r;
    EXPECT_EQ(s.cell(first + 1, col::designCurrent), "80");
    EXPECT_TRUE(recalculateBlock(s, 5, 2, SupplyKind::Transformer).ok())
        << "an empty range does nothing";
    EXPECT_TRUE(recalculateBlock(s, 15, 40, SupplyKind::Transformer).ok())
        << "rows past the end are ignored";
}

}  // namespace
