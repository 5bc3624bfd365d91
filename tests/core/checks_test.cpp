#include "checks.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sheet_rows.h"
#include "tree_editing.h"

using namespace wirelark;
using wirelark::test::setCells;

namespace {

// A feeder protected by `breaker` whose own cable carries `cable`, 30 m long.
void feederHead(Sheet& s, int row, std::string_view breaker, std::string_view cable) {
    setCells(s, row,
             {{col::number, "1"},
              {col::glyph, glyph::head},
              {col::breaker, breaker},
              {col::length, "30"},
              {col::allowableCurrent, cable},
              {col::cumulativeLength, "30"}});
}

TEST(BranchProtection, TapsJudgedAgainst55And35PercentOfTheSmallerOfBreakerAndCable) {
    // Breaker 200 A, feeder cable 180 A: reference 180 A, 55 % = 99 A, 35 % = 63 A.
    struct Case {
        const char* meaning;
        std::string_view glyph;
        std::string_view allowable;
        std::string_view length;
        std::string_view verdict;
    };
    const Case cases[] = {
        {"100 A carries 55 %", glyph::branch, "100", "10", verdict::from55},
        {"99 A is 55 % exactly", glyph::branch, "99", "10", verdict::from55},
        {"70 A at 5 m is in the 35 % zone within 8 m", glyph::branch, "70", "5",
         verdict::from35Within8m},
        {"70 A at 8 m exactly", glyph::lastBranch, "70", "8", verdict::from35Within8m},
        {"70 A at 10 m is in the 35 % zone beyond 8 m", glyph::branch, "70", "10",
         verdict::from35Beyond8m},
        {"63 A is 35 % exactly", glyph::branch, "63", "10", verdict::from35Beyond8m},
        {"60 A is below 35 %", glyph::branch, "60", "10", verdict::below35},
        {"a branch of 2 m needs no protection whatever it carries", glyph::branch, "60", "2",
         verdict::branchWithin3m},
        {"a last branch of 3 m exactly", glyph::lastBranchTwo, "20", "3", verdict::branchWithin3m},
        {"the 3 m rule is for branches, not trunk rows", glyph::trunkTwo, "60", "2",
         verdict::below35},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meaning);
        Sheet s(4);
        feederHead(s, 0, "200", "180");
        setCells(
            s, 1,
            {{col::glyph, c.glyph}, {col::allowableCurrent, c.allowable}, {col::length, c.length}});
        ASSERT_TRUE(checkBranchProtection(s, 0, 1).ok());
        EXPECT_EQ(s.cell(0, col::verdict), verdict::from55);
        EXPECT_EQ(s.cell(1, col::verdict), c.verdict);
    }
}

TEST(BranchProtection, PercentagesOfTheReferenceRoundHalvesToEven) {
    // 150 A: 55 % = 82.5 -> 82, 35 % = 52.5 -> 52.
    struct Case {
        std::string_view allowable;
        std::string_view verdict;
    };
    const Case cases[] = {
        {"82", verdict::from55},
        {"81", verdict::from35Beyond8m},
        {"52", verdict::from35Beyond8m},
        {"51", verdict::below35},
    };
    for (const Case& c : cases) {
        Sheet s(3);
        feederHead(s, 0, "150", "200");
        setCells(s, 1,
                 {{col::glyph, glyph::branch},
                  {col::allowableCurrent, c.allowable},
                  {col::length, "12"}});
        ASSERT_TRUE(checkBranchProtection(s, 0, 1).ok());
        EXPECT_EQ(s.cell(1, col::verdict), c.verdict) << c.allowable;
    }
}

TEST(BranchProtection, ARowWithoutLengthKeepsItsVerdictAndLendsNothing) {
    Sheet s(4);
    feederHead(s, 0, "200", "180");
    setCells(
        s, 1,
        {{col::glyph, glyph::branch}, {col::allowableCurrent, "60"}, {col::verdict, "〇：手入力"}});
    setCells(s, 2, {{col::glyph, glyph::lastBranch}, {col::length, "10"}});
    ASSERT_TRUE(checkBranchProtection(s, 0, 2).ok());
    EXPECT_EQ(s.cell(1, col::verdict), "〇：手入力");
    // The last row has no allowable current of its own and takes the 60 A of the row above.
    EXPECT_EQ(s.cell(2, col::verdict), verdict::below35);
}

TEST(BranchProtection, ATapBreakerOnTheTrunkBecomesTheReferenceForTheRowsAfterIt) {
    Sheet s(6);
    feederHead(s, 0, "200", "180");
    // System 2's first trunk row carries a 100 A tap breaker: 55 % of 100 A is 55 A.
    setCells(s, 1,
             {{col::glyph, glyph::trunk},
              {col::mainBreaker, "100"},
              {col::allowableCurrent, "60"},
              {col::length, "10"},
              {col::sizeKey, "14"}});
    setCells(s, 2,
             {{col::glyph, glyph::branch}, {col::allowableCurrent, "60"}, {col::length, "10"}});
    ASSERT_TRUE(checkBranchProtection(s, 0, 2).ok());
    EXPECT_EQ(s.cell(1, col::verdict), verdict::below35)
        << "the tap row itself is judged on the feeder";
    EXPECT_EQ(s.cell(2, col::verdict), verdict::from55);
}

TEST(BranchProtection, ATapBreakerOnTheFirstOneSystemBranchPointIsNotTaken) {
    Sheet s(4);
    feederHead(s, 0, "200", "180");
    setCells(s, 1,
             {{col::glyph, glyph::firstTrunk},
              {col::mainBreaker, "100"},
              {col::length, "3"},
              {col::allowableCurrent, "150"}});
    setCells(s, 2,
             {{col::glyph, glyph::branch}, {col::allowableCurrent, "60"}, {col::length, "10"}});
    ASSERT_TRUE(checkBranchProtection(s, 0, 2).ok());
    EXPECT_EQ(s.cell(2, col::verdict), verdict::below35);
}

// Feeder 10 m (size key "60"), then trunk pieces of 3 m in the 35 % zone (70 A on a 180 A
// reference), all of the cable `trunkKey`.
Sheet trunkIn35Zone(std::string_view trunkKey) {
    Sheet s(8);
    feederHead(s, 0, "200", "180");
    s.setCell(0, col::cumulativeLength, "10");
    s.setCell(0, col::sizeKey, "60");
    const std::string_view g[] = {glyph::firstTrunk, glyph::branch, glyph::trunk, glyph::branch,
                                  glyph::trunk,      glyph::branch, glyph::trunk};
    const std::string_view reach[] = {"13", "", "16", "", "19", "", "22"};
    for (int i = 0; i < 7; ++i) {
        const bool trunkRow = i % 2 == 0;
        setCells(s, i + 1, {{col::glyph, g[i]}, {col::cumulativeLength, reach[i]}});
        if (trunkRow)
            setCells(s, i + 1,
                     {{col::length, "3"}, {col::allowableCurrent, "70"}, {col::sizeKey, trunkKey}});
    }
    return s;
}

TEST(BranchProtection, ATrunkInThe35PercentZoneMayRun8mFromWhereTheSameCableStarts) {
    Sheet s = trunkIn35Zone("60");
    ASSERT_TRUE(checkBranchProtection(s, 0, 7).ok());
    // The limit is the feeder's end at 10 m plus 8 m: 13 and 16 are within, 19 and 22 beyond.
    EXPECT_EQ(s.cell(1, col::verdict), verdict::from35Within8m);
    EXPECT_EQ(s.cell(3, col::verdict), verdict::from35Within8m);
    EXPECT_EQ(s.cell(5, col::verdict), verdict::trunkBeyond8m);
    EXPECT_EQ(s.cell(7, col::verdict), verdict::trunkBeyond8m);
}

TEST(BranchProtection, TheLimitIsCountedFromTheFirstTrunkRowWhenTheCableChangesThere) {
    // The trunk is another cable than the feeder: the limit is set at the next trunk row, from
    // the first trunk row's end at 13 m, so it reaches 21 m.
    Sheet s = trunkIn35Zone("38");
    ASSERT_TRUE(checkBranchProtection(s, 0, 7).ok());
    EXPECT_EQ(s.cell(1, col::verdict), verdict::from35Within8m);
    EXPECT_EQ(s.cell(3, col::verdict), verdict::from35Within8m);
    EXPECT_EQ(s.cell(5, col::verdict), verdict::from35Within8m);
    EXPECT_EQ(s.cell(7, col::verdict), verdict::trunkBeyond8m);
}

TEST(BranchProtection, AValueThatIsNoNumberStopsWithItsRowColumnAndText) {
    Sheet s(4);
    feederHead(s, 0, "200", "180");
    setCells(s, 1,
             {{col::glyph, glyph::branch}, {col::allowableCurrent, "100"}, {col::length, "10"}});
    setCells(s, 2,
             {{col::glyph, glyph::lastBranch}, {col::allowableCurrent, "7O"}, {col::length, "10"}});
    Status st = checkBranchProtection(s, 0, 2);
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().message, cellNumberError(2, col::allowableCurrent, "7O").message);
    EXPECT_EQ(s.cell(1, col::verdict), verdict::from55) << "rows judged before keep their verdict";
}

TEST(CellChecks, EachFailedComparisonTurnsItsCellRedAndWritesItsVerdict) {
    struct Case {
        const char* meaning;
        test::Cells cells;
        int redColumn;
        std::string_view verdict;
    };
    const Case cases[] = {
        {"feeder breaker below the main breaker",
         {{col::breaker, "100"}, {col::mainBreaker, "125"}},
         col::breaker,
         verdict::breakerBelowMain},
        {"main breaker below the design current",
         {{col::mainBreaker, "50"}, {col::designCurrent, "62"}},
         col::mainBreaker,
         verdict::mainBelowDesign},
        {"single drop above the allowable drop",
         {{col::singleDrop, "3.20"}, {col::allowableDrop, "3"}},
         col::singleDrop,
         verdict::dropTooLarge},
        {"summed drop above the allowable drop",
         {{col::summedDrop, "1,234.5"}, {col::allowableDrop, "12"}},
         col::summedDrop,
         verdict::dropTooLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meaning);
        Sheet s(2);
        setCells(s, 1, c.cells);
        const CellMarks marks = applyCellChecks(s, 0, 1);
        EXPECT_EQ(s.cell(1, col::verdict), c.verdict);
        EXPECT_TRUE(marks.isRed(1, c.redColumn));
        EXPECT_TRUE(marks.isRed(1, col::verdict));
        EXPECT_EQ(marks.redColumns(1).count(), 2u);
        EXPECT_TRUE(marks.redColumns(0).none());
    }
}

TEST(CellChecks, EqualValuesBlanksAndTextsThatAreNoNumbersPassSilently) {
    Sheet s(4);
    setCells(s, 0,
             {{col::breaker, "125"},
              {col::mainBreaker, "125"},
              {col::singleDrop, "3.00"},
              {col::allowableDrop, "3"}});
    setCells(s, 1, {{col::breaker, " "}, {col::mainBreaker, "125"}, {col::summedDrop, "5"}});
    setCells(s, 2,
             {{col::breaker, "abc"},
              {col::mainBreaker, "125"},
              {col::designCurrent, "130"},
              {col::verdict, std::string_view(verdict::from55)}});
    const CellMarks marks = applyCellChecks(s, 0, 3);
    EXPECT_TRUE(marks.redColumns(0).none());
    EXPECT_TRUE(marks.redColumns(1).none());
    EXPECT_TRUE(s.cell(0, col::verdict).empty());
    // Row 2: the breaker check is skipped, the main-breaker check still runs.
    EXPECT_FALSE(marks.isRed(2, col::breaker));
    EXPECT_TRUE(marks.isRed(2, col::mainBreaker));
    EXPECT_EQ(s.cell(2, col::verdict), verdict::mainBelowDesign);
}

TEST(CellChecks, ALaterColumnsVerdictReplacesAnEarlierOne) {
    Sheet s(1);
    setCells(s, 0,
             {{col::breaker, "100"},
              {col::mainBreaker, "125"},
              {col::designCurrent, "130"},
              {col::singleDrop, "4.00"},
              {col::allowableDrop, "3"}});
    const CellMarks marks = applyCellChecks(s, 0, 0);
    EXPECT_EQ(s.cell(0, col::verdict), verdict::dropTooLarge);
    for (int c : {col::breaker, col::mainBreaker, col::singleDrop, col::verdict})
        EXPECT_TRUE(marks.isRed(0, c)) << c;
}

TEST(CellChecks, LengthAndCableAreRedForTheVerdictStandingWhenTheirTurnComes) {
    struct Case {
        const char* meaning;
        std::string_view verdict;
        bool breakerFails;
        bool mainFails;
        bool lengthRed, cableRed;
    };
    const Case cases[] = {
        {"a tap beyond 8 m marks the length", verdict::from35Beyond8m, false, false, true, false},
        {"a trunk beyond 8 m marks the length", verdict::trunkBeyond8m, false, false, true, false},
        {"a tap below 35 % marks the cable", verdict::below35, false, false, false, true},
        {"a bare failure marks both", verdict::bareFailure, false, false, true, true},
        {"a passing verdict marks neither", verdict::from55, false, false, false, false},
        {"the breaker's verdict replaces the length's before it is drawn", verdict::from35Beyond8m,
         true, false, false, false},
        {"the main breaker's verdict replaces the cable's before it is drawn", verdict::below35,
         false, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meaning);
        Sheet s(1);
        s.setCell(0, col::verdict, std::string(c.verdict));
        if (c.breakerFails)
            setCells(s, 0, {{col::breaker, "50"}, {col::mainBreaker, "60"}});
        if (c.mainFails)
            setCells(s, 0, {{col::mainBreaker, "50"}, {col::designCurrent, "60"}});
        const CellMarks marks = applyCellChecks(s, 0, 0);
        EXPECT_EQ(marks.isRed(0, col::length), c.lengthRed);
        EXPECT_EQ(marks.isRed(0, col::cable), c.cableRed);
        EXPECT_EQ(marks.isRed(0, col::verdict), isFailingVerdict(s.cell(0, col::verdict)));
    }
}

TEST(CellChecks, AWholeLargeSheetIsCheckedAndRowsOutsideTheRangeAreLeftAlone) {
    Sheet s(30000);
    for (int r = 0; r < s.rowCount(); r += 3)
        setCells(s, r,
                 {{col::glyph, glyph::branch},
                  {col::summedDrop, "2.5"},
                  {col::allowableDrop, r % 2 ? "2" : "3"}});
    const CellMarks all = applyCellChecks(s, 0, s.rowCount() + 10);
    EXPECT_EQ(all.rowCount(), 30000);
    int red = 0;
    for (int r = 0; r < s.rowCount(); ++r)
        red += all.isRed(r, col::summedDrop);
    EXPECT_EQ(red, 5000);
    EXPECT_EQ(s.cell(3, col::verdict), verdict::dropTooLarge);

    Sheet t(10);
    setCells(t, 1, {{col::breaker, "10"}, {col::mainBreaker, "20"}});
    setCells(t, 5, {{col::breaker, "10"}, {col::mainBreaker, "20"}});
    const CellMarks some = applyCellChecks(t, 4, 6);
    EXPECT_TRUE(t.cell(1, col::verdict).empty());
    EXPECT_FALSE(some.isRed(1, col::breaker));
    EXPECT_TRUE(some.isRed(5, col::breaker));
}

TEST(VerdictSummary, AFailingVerdictNamesTheFeederWhenItHasANameAndTheLoad) {
    Sheet s(4);
    setCells(s, 1, {{col::name, "L1"}, {col::loadName, "P-1"}, {col::verdict, verdict::below35}});
    setCells(s, 3, {{col::loadName, "P-2"}, {col::verdict, verdict::from35Beyond8m}});
    auto findings = verdictSummary(s);
    ASSERT_TRUE(findings.ok());
    ASSERT_EQ(findings->size(), 2u);
    EXPECT_EQ((*findings)[0].row, 1);
    EXPECT_EQ((*findings)[0].kind, VerdictFinding::Kind::Verdict);
    EXPECT_EQ((*findings)[0].message, std::string("エラー:　") + "×：許容電流35%以下" +
                                          "   幹線名【 " + "L1" + " 】　" + "   負荷名称【 " +
                                          "P-1" + " 】" + "　※確認してください。");
    EXPECT_EQ(
        (*findings)[1].message,
        "エラー:　×：許容電流35%以上だが8m超えている   負荷名称【 P-2 】　※確認してください。");
}

TEST(VerdictSummary, ADropAboveTheAllowableDropIsReportedWithTheSummedOrElseTheSingleDrop) {
    Sheet s(5);
    setCells(s, 0,
             {{col::name, "L2"},
              {col::loadName, "L2"},
              {col::singleDrop, "15.47"},
              {col::allowableDrop, "5"}});
    setCells(s, 1,
             {{col::singleDrop, "9.00"}, {col::summedDrop, "4.5"}, {col::allowableDrop, "5"}});
    setCells(s, 2,
             {{col::loadName, "P-3"},
              {col::singleDrop, "0.10"},
              {col::summedDrop, "5.01"},
              {col::allowableDrop, "5"},
              {col::verdict, verdict::dropTooLarge}});
    setCells(s, 3, {{col::singleDrop, "9.00"}, {col::summedDrop, "9.00"}});
    auto findings = verdictSummary(s);
    ASSERT_TRUE(findings.ok());
    ASSERT_EQ(findings->size(), 3u);
    EXPECT_EQ((*findings)[0].message,
              "電圧降下:　15.47 V    幹線名【 L2 】　   負荷名称【 L2 】　※確認してください。");
    EXPECT_EQ((*findings)[0].kind, VerdictFinding::Kind::VoltageDrop);
    EXPECT_EQ((*findings)[1].row, 2);
    EXPECT_EQ((*findings)[1].kind, VerdictFinding::Kind::Verdict);
    EXPECT_EQ((*findings)[2].row, 2);
    EXPECT_EQ((*findings)[2].message,
              "電圧降下:　5.01 V    負荷名称【 P-3 】　※確認してください。");
}

TEST(VerdictSummary, ASheetWithoutFindingsIsGood) {
    Sheet s(3);
    setCells(s, 0,
             {{col::verdict, verdict::from55}, {col::summedDrop, "3"}, {col::allowableDrop, "3"}});
    auto findings = verdictSummary(s);
    ASSERT_TRUE(findings.ok());
    EXPECT_TRUE(findings->empty());
    EXPECT_EQ(kVerdictsGoodMessage, "判定は良好です。");
}

TEST(VerdictSummary, ADropThatIsNoNumberIsAnErrorNamingRowAndColumn) {
    Sheet s(3);
    setCells(s, 2, {{col::summedDrop, "1.2V"}, {col::allowableDrop, "3"}});
    auto findings = verdictSummary(s);
    ASSERT_FALSE(findings.ok());
    EXPECT_EQ(findings.error().message,
              "3 行目「分岐がある場合の合計」の「1.2V」は数値ではありません。");
}

}  // namespace

namespace {

// A feeder block judged as the recalculation leaves it: numbered, then the branch-protection
// rule over the block and the cell checks over every row.
Sheet judged(Sheet s, int lastRow) {
    renumberFeeders(s);
    EXPECT_TRUE(checkBranchProtection(s, 0, lastRow).ok());
    applyCellChecks(s, 0, s.rowCount() - 1);
    return s;
}

using Lines = std::vector<std::string>;

TEST(VerdictExplanation, GivesTheNumbersTheRuleUsedForTheVerdictTheRowHolds) {
    struct Case {
        const char* meaning;
        std::function<Sheet()> sheet;
        int row;
        Lines lines;
    };
    // Breaker 200 A, feeder cable 180 A: the cable is the reference.
    auto tap = [](std::string_view allowable, std::string_view length) {
        return [=] {
            Sheet s(4);
            feederHead(s, 0, "200", "180");
            setCells(s, 1,
                     {{col::glyph, glyph::lastBranch},
                      {col::allowableCurrent, allowable},
                      {col::length, length}});
            return judged(s, 1);
        };
    };
    const Case cases[] = {
        {"35 % zone within 8 m: Ia between the thresholds, the length against 8 m",
         tap("70", "5"),
         1,
         {"許容電流 Ia = 70 A", "遮断器 P = 200 A", "幹線ケーブルの許容電流 Iw = 180 A",
          "基準電流 Ib = 180 A（P と Iw の小さい方の Iw）", "55 % = 99 A、35 % = 63 A",
          "35 % の 63 A ≦ Ia 70 A < 55 % の 99 A、こう長 5 m ≦ 8 m"}},
        {"35 % zone beyond 8 m",
         tap("70", "10.5"),
         1,
         {"許容電流 Ia = 70 A", "遮断器 P = 200 A", "幹線ケーブルの許容電流 Iw = 180 A",
          "基準電流 Ib = 180 A（P と Iw の小さい方の Iw）", "55 % = 99 A、35 % = 63 A",
          "35 % の 63 A ≦ Ia 70 A < 55 % の 99 A、こう長 10.5 m > 8 m"}},
        {"below 35 % with the breaker as the reference, halves rounded to even",
         [] {
             Sheet s(4);
             feederHead(s, 0, "150", "200");
             setCells(
                 s, 1,
                 {{col::glyph, glyph::branch}, {col::allowableCurrent, "51"}, {col::length, "12"}});
             return judged(s, 1);
         },
         1,
         {"許容電流 Ia = 51 A", "遮断器 P = 150 A", "幹線ケーブルの許容電流 Iw = 200 A",
          "基準電流 Ib = 150 A（P と Iw の小さい方の P）", "55 % = 82 A、35 % = 52 A",
          "Ia 51 A < 35 % の 52 A"}},
        {"the feeder's own row carries 55 % of itself, breaker and cable equal",
         [] {
             Sheet s(2);
             feederHead(s, 0, "200", "200");
             return judged(s, 0);
         },
         0,
         {"許容電流 Ia = 200 A", "遮断器 P = 200 A", "幹線ケーブルの許容電流 Iw = 200 A",
          "基準電流 Ib = 200 A（P と Iw が同じ）", "55 % = 110 A、35 % = 70 A",
          "Ia 200 A ≧ 55 % の 110 A"}},
        {"a branch of 3 m at most: only its length counts",
         tap("20", "2"),
         1,
         {"分岐のこう長 2 m ≦ 3 m"}},
        {"a tap breaker on the trunk is the breaker of the rows after it, named by its row",
         [] {
             Sheet s(4);
             feederHead(s, 0, "200", "180");
             setCells(s, 1,
                      {{col::glyph, glyph::trunk},
                       {col::mainBreaker, "100"},
                       {col::allowableCurrent, "60"},
                       {col::length, "10"}});
             setCells(s, 2,
                      {{col::glyph, glyph::lastBranch},
                       {col::length, "10"}});  // no allowable current: the 60 A above
             return judged(s, 2);
         },
         2,
         {"許容電流 Ia = 60 A（上の行の値）", "遮断器 P = 100 A（2 行目の分岐の主幹器具）",
          "幹線ケーブルの許容電流 Iw = 180 A", "基準電流 Ib = 100 A（P と Iw の小さい方の P）",
          "55 % = 55 A、35 % = 35 A", "Ia 60 A ≧ 55 % の 55 A"}},
        {"a trunk beyond its 8 m: the reach against the limit",
         [] { return judged(trunkIn35Zone("60"), 7); },
         5,
         {"許容電流 Ia = 70 A", "遮断器 P = 200 A", "幹線ケーブルの許容電流 Iw = 180 A",
          "基準電流 Ib = 180 A（P と Iw の小さい方の Iw）", "55 % = 99 A、35 % = 63 A",
          "35 % の 63 A ≦ Ia 70 A < 55 % の 99 A",
          "起点からのこう長 19 m > 限度 18 m（10 m の位置から 8 m）"}},
        {"breaker against main breaker, as the cells hold them",
         [] {
             Sheet s(2);
             setCells(s, 0, {{col::breaker, "100"}, {col::mainBreaker, "125"}});
             return judged(s, 0);
         },
         0,
         {"幹線保護用遮断器定格電流 100 A < 主幹器具定格電流 125 A"}},
        {"both drops above the allowable drop, after the main breaker below the current",
         [] {
             Sheet s(2);
             setCells(s, 0,
                      {{col::mainBreaker, "50"},
                       {col::designCurrent, "62.5"},
                       {col::singleDrop, "3.20"},
                       {col::summedDrop, "1,234.50"},
                       {col::allowableDrop, "3"}});
             return judged(s, 0);
         },
         0,
         {"主幹器具定格電流 50 A < 設計負荷電流 62.5 A",
          "単一配線の電圧降下 3.20 V > 許容電圧降下 3 V",
          "分岐がある場合の合計の電圧降下 1,234.50 V > 許容電圧降下 3 V"}},
        {"a verdict the values no longer give says what they give",
         [tap] {
             Sheet s = tap("60", "10")();
             s.setCell(1, col::verdict, std::string(verdict::from55));
             return s;
         },
         1,
         {"今の値で判定すると「×：許容電流35%以下」になります（再計算されていません）。"}},
        {"a verdict whose values are no numbers names the cell",
         [tap] {
             Sheet s = tap("60", "10")();
             s.setCell(1, col::allowableCurrent, "6O");
             return s;
         },
         1,
         {cellNumberError(1, col::allowableCurrent, "6O").message}},
        {"a cell-check failure the values no longer give",
         [] {
             Sheet s(2);
             setCells(s, 0, {{col::breaker, "100"}, {col::mainBreaker, "125"}});
             s = judged(s, 0);
             s.setCell(0, col::breaker, "150");
             return s;
         },
         0,
         {"今の値ではこの判定になりません（再計算されていません）。"}},
        {"no verdict, nothing to explain", tap("70", "5"), 3, {}},
        {"a bare mark of an older sheet is not explained",
         [] {
             Sheet s(1);
             s.setCell(0, col::verdict, std::string(verdict::bareFailure));
             return s;
         },
         0,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meaning);
        EXPECT_EQ(explainVerdict(c.sheet(), c.row), c.lines);
    }
}

}  // namespace
