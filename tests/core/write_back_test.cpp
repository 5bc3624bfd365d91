#include "write_back.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "test_sheets.h"

using namespace wirelark;
using namespace wirelark::test;

namespace {

using Glyphs = std::vector<std::string>;

// A residential feeder as the feeder dialog confirms it: 単相3線 100/200, dwellings of 30 A.
FeederEntry residential(const char* branches1, int systems = 1, const char* branches2 = "") {
    FeederEntry e;
    e.name = "L-A";
    e.powerFactor = "0.95";
    e.cable = "CV38-3C";
    e.method = "気中暗渠配線";
    e.allowableCurrent = "150";
    e.impedance = "0.497";
    e.voltageDrop = "1.50";
    e.allowableDrop = "3";
    e.sizeKey = "38";
    e.trunkSystem = "単相3線";
    e.trunkVoltage = "100/200";
    e.trunkBreaker = "125";
    e.trunkLength = "40";
    e.trunkDesignCurrent = "90";
    e.branchesSystem1 = branches1;
    e.branchesSystem2 = branches2;
    e.dwellingMainBreaker = "40";
    e.dwellingCurrent = "30";
    e.lengthBetweenBranches = "3";
    e.systems = systems;
    return e;
}

FeederEntry singleFeeder(const char* name) {
    FeederEntry e;
    e.name = name;
    e.system = "三相3線";
    e.voltage = "200";
    e.breaker = "100";
    e.length = "25";
    e.loadName = "P-1";
    e.mainBreaker = "75";
    e.designCurrent = "60";
    e.powerFactor = "0.8";
    e.cable = "CV22-3C";
    e.method = "保護管配線";
    e.allowableCurrent = "91";
    e.impedance = "1.012";
    e.voltageDrop = "2.63";
    e.allowableDrop = "6";
    e.remarks = "屋上";
    e.sizeKey = "22";
    return e;
}

// Every cell of a row but the number columns, which renumbering rewrites.
Row withoutNumbers(Row r) {
    r[col::number].clear();
    r[col::feederNumber].clear();
    return r;
}

std::vector<std::string> column(const Sheet& s, int c, int first, int last) {
    std::vector<std::string> out;
    for (int r = first; r <= last; ++r)
        out.emplace_back(s.cell(r, c));
    return out;
}

// ---- Building a residential block -------------------------------------------------------------

TEST(ResidentialBlock, OneSystemOfThreeBranchesTakesSevenRows) {
    Sheet s(30);
    const FeederWriteResult w =
        buildResidentialBlock(s, 4, residential("3"), 1, SupplyKind::Transformer);
    ASSERT_TRUE(w.status.ok()) << w.status.error().message;
    EXPECT_EQ(glyphs(s, 4, 11), (Glyphs{"-─▶┌", "┌─┘", "├─▶", "│　", "├─▶", "│　", "└─▶", ""}));
    EXPECT_EQ(column(s, col::loadName, 4, 7), (Glyphs{"L-A", "分岐点", "", "分岐間"}));
    EXPECT_EQ(column(s, col::systemNumber, 5, 10), (Glyphs(6, "1")));
    EXPECT_EQ(column(s, col::length, 4, 7), (Glyphs{"40", "3", "", "3"}));
    EXPECT_EQ(column(s, col::cable, 4, 7), (Glyphs{"CV38-3C", "CV38-3C", "", "CV38-3C"}));
    EXPECT_EQ(s.cell(6, col::designCurrent), "30");  // a dwelling's current on its branch row
    EXPECT_EQ(s.cell(4, col::number), "1");
    EXPECT_EQ(s.cell(4, col::blockRows), "7");
    EXPECT_EQ(w.range, (BlockRange{4, 10}));
    EXPECT_EQ(w.kansenno, 2);
    EXPECT_EQ(column(s, col::feederNumber, 4, 10), (Glyphs(7, "1")));
}

TEST(ResidentialBlock, TwoSystemsOfTwoAndTwoBranchesTakeNineRows) {
    Sheet s(30);
    const FeederWriteResult w =
        buildResidentialBlock(s, 0, residential("2", 2, "2"), 1, SupplyKind::Transformer);
    ASSERT_TRUE(w.status.ok()) << w.status.error().message;
    EXPECT_EQ(glyphs(s, 0, 9),
              (Glyphs{"-─▶┌", "┌┌┘", "│├▶", "││", "│└▶", "│　", "├─▶", "│　", "└─▶", ""}));
    EXPECT_EQ(column(s, col::systemNumber, 1, 8), (Glyphs{"1", "1", "1", "1", "2", "2", "2", "2"}));
    // System 2's first trunk row leaves the trunk without a load name.
    EXPECT_EQ(column(s, col::loadName, 1, 7),
              (Glyphs{"分岐点", "", "分岐間", "", "", "", "分岐間"}));
    EXPECT_EQ(s.cell(0, col::blockRows), "9");
    EXPECT_EQ(w.range, (BlockRange{0, 8}));
}

TEST(ResidentialBlock, AboveAnExistingFeederMovesItDownByTwiceTheBranchesAndKeepsItsCells) {
    Sheet s(30);
    putSingleFeeder(s, 6, "L9");
    s.setCell(6, col::remarks, "既設");
    putSingleFeeder(s, 7, "L10");
    renumberFeeders(s);
    const Row before = s.row(6);
    const Row next = s.row(7);

    const FeederWriteResult w =
        buildResidentialBlock(s, 5, residential("3"), 3, SupplyKind::Transformer);
    ASSERT_TRUE(w.status.ok());
    EXPECT_EQ(glyphs(s, 5, 11), (Glyphs{"-─▶┌", "┌─┘", "├─▶", "│　", "├─▶", "│　", "└─▶"}));
    EXPECT_EQ(withoutNumbers(s.row(12)), withoutNumbers(before));
    EXPECT_EQ(withoutNumbers(s.row(13)), withoutNumbers(next));
    EXPECT_EQ(s.cell(12, col::number), "2");
    EXPECT_EQ(s.cell(5, col::number), "1");
}

TEST(ResidentialBlock, MakesRoomWhenOnlyALaterRowOfTheBlockIsInUse) {
    Sheet s(30);
    putSingleFeeder(s, 10, "L9");  // m = 3 needs rows 5 to 10 below the head row 4
    const Row before = s.row(10);
    ASSERT_TRUE(
        buildResidentialBlock(s, 4, residential("3"), 1, SupplyKind::Transformer).status.ok());
    EXPECT_EQ(withoutNumbers(s.row(16)), withoutNumbers(before));
    EXPECT_EQ(s.cell(10, col::glyph), "└─▶");
}

TEST(ResidentialBlock, MakesNoRoomWhenTheBlockFitsBeforeTheNextFeeder) {
    Sheet s(30);
    putSingleFeeder(s, 11, "L9");  // rows 5 to 10 free
    const Row before = s.row(11);
    ASSERT_TRUE(
        buildResidentialBlock(s, 4, residential("3"), 1, SupplyKind::Transformer).status.ok());
    EXPECT_EQ(withoutNumbers(s.row(11)), withoutNumbers(before));
}

TEST(ResidentialBlock, OneBranchStillReservesRoomForTwo) {
    Sheet s(30);
    putSingleFeeder(s, 1, "L9");
    const Row before = s.row(1);
    const FeederWriteResult w =
        buildResidentialBlock(s, 0, residential("1"), 1, SupplyKind::Transformer);
    ASSERT_TRUE(w.status.ok());
    EXPECT_EQ(glyphs(s, 0, 5), (Glyphs{"-─▶┌", "┌─┘", "└─▶", "", "", std::string(glyph::single)}));
    EXPECT_EQ(withoutNumbers(s.row(5)), withoutNumbers(before));
    EXPECT_EQ(w.range, (BlockRange{0, 2}));
}

struct CountCase {
    const char* meaning;
    const char* branches1;
    int systems;
    const char* branches2;
    Glyphs tree;
};

std::ostream& operator<<(std::ostream& os, const CountCase& c) {
    return os << c.meaning;
}

class BranchCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(BranchCounts, GiveEverySystemAtLeastOneBranch) {
    const CountCase& c = GetParam();
    Sheet s(30);
    ASSERT_TRUE(buildResidentialBlock(s, 0, residential(c.branches1, c.systems, c.branches2), 1,
                                      SupplyKind::Utility)
                    .status.ok());
    EXPECT_EQ(glyphs(s, 0, static_cast<int>(c.tree.size()) - 1), c.tree);
    EXPECT_TRUE(s.cell(static_cast<int>(c.tree.size()), col::glyph).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BranchCounts,
    ::testing::Values(
        CountCase{"blank count of system 1 gives two branches",
                  " ",
                  1,
                  "",
                  {"-─▶┌", "┌─┘", "├─▶", "│　", "└─▶"}},
        CountCase{"zero branches count as one", "0", 1, "", {"-─▶┌", "┌─┘", "└─▶"}},
        CountCase{"negative count counts as one", "-3", 1, "", {"-─▶┌", "┌─┘", "└─▶"}},
        CountCase{
            "count of system 2 is ignored for one system", "1", 1, "x", {"-─▶┌", "┌─┘", "└─▶"}},
        CountCase{"blank system 2 of two systems gets one branch",
                  "1",
                  2,
                  "",
                  {"-─▶┌", "┌┌┘", "│└▶", "│　", "└─▶"}}),
    [](const auto& p) { return caseName(p.param.meaning); });

TEST(ResidentialBlock, ABranchCountThatIsNotAnIntegerWritesNothingAndNamesTheField) {
    Sheet s(30);
    const Sheet before = s;
    const FeederWriteResult w =
        buildResidentialBlock(s, 2, residential("3戸"), 4, SupplyKind::Transformer);
    ASSERT_FALSE(w.status.ok());
    EXPECT_EQ(w.status.error().message,
              "3 行目「幹線からの分岐数（1系統）」の「3戸」は整数ではありません。");
    EXPECT_EQ(w.kansenno, 4);
    EXPECT_EQ(s.rowCount(), before.rowCount());
    for (int r = 0; r < s.rowCount(); ++r)
        EXPECT_EQ(s.row(r), before.row(r));
}

TEST(ResidentialBlock, ACountOfThousandsOfBranchesIsRefused) {
    Sheet s(30);
    const FeederWriteResult w =
        buildResidentialBlock(s, 0, residential("5", 2, "5000"), 1, SupplyKind::Transformer);
    ASSERT_FALSE(w.status.ok());
    EXPECT_NE(w.status.error().message.find("幹線からの分岐数（2系統）"), std::string::npos);
    EXPECT_EQ(s.rowCount(), 30);
}

TEST(ResidentialBlock, AFailedRecalculationIsReportedAndTheBlockKeepsItsRowCount) {
    Sheet s(30);
    FeederEntry e = residential("3");
    e.trunkLength = "40m";
    const FeederWriteResult w = buildResidentialBlock(s, 0, e, 1, SupplyKind::Transformer);
    ASSERT_FALSE(w.status.ok());
    EXPECT_NE(w.status.error().message.find("40m"), std::string::npos);
    EXPECT_EQ(s.cell(0, col::blockRows), "7");  // the paging still finds the whole block
    EXPECT_EQ(w.range, (BlockRange{0, 6}));
    EXPECT_EQ(w.kansenno, 2);
}

TEST(ResidentialBlock, WithoutANameTheHeadRowIsNamedAfterTheFeederCounter) {
    Sheet s(30);
    FeederEntry e = residential("2");
    e.name.clear();
    const FeederWriteResult w = buildResidentialBlock(s, 0, e, 5, SupplyKind::Transformer);
    EXPECT_EQ(s.cell(0, col::loadName), "L5");
    EXPECT_EQ(w.kansenno, 6);
}

TEST(ResidentialBlock, TheGridGrowsByTheRowsOfTheBlockAndItsNumber) {
    Sheet s(30);
    buildResidentialBlock(s, 0, residential("3"), 1, SupplyKind::Transformer);
    EXPECT_EQ(s.rowCount(), 30 + 1 + 6 + 1);
}

// ---- Single feeder ----------------------------------------------------------------------------

TEST(SingleFeeder, AnEmptyRowGetsTheGlyphMarksAndTheNextNumberInSheetOrder) {
    Sheet s(30);
    putSingleFeeder(s, 2, "L1");
    putSingleFeeder(s, 9, "L2");
    renumberFeeders(s);
    const FeederWriteResult w = writeSingleFeeder(s, 5, singleFeeder("P1"), 3, {});
    ASSERT_TRUE(w.status.ok());
    EXPECT_EQ(s.cell(5, col::glyph), "──▶");
    EXPECT_EQ(s.cell(5, col::mark), "1");
    EXPECT_EQ(s.cell(5, col::blockRows), "1");
    EXPECT_EQ(s.cell(5, col::number), "2");
    EXPECT_EQ(s.cell(5, col::feederNumber), "2");
    EXPECT_EQ(s.cell(9, col::number), "3");
    EXPECT_EQ(w.kansenno, 4);
    EXPECT_EQ(s.rowCount(), 31);
    EXPECT_EQ(s.cell(5, col::loadName), "P-1");
    EXPECT_EQ(s.cell(5, col::remarks), "屋上");
    EXPECT_EQ(s.cell(5, col::impedance), "1.012");
    EXPECT_TRUE(s.cell(5, col::summedDrop).empty());
}

TEST(SingleFeeder, RewritingAnExistingFeederKeepsItsNumberAndTheCounter) {
    Sheet s(30);
    putSingleFeeder(s, 0, "L1");
    putSingleFeeder(s, 1, "L2");
    renumberFeeders(s);
    s.setCell(1, col::verdict, "×：許容電流35%以下");
    const FeederWriteResult w = writeSingleFeeder(s, 1, singleFeeder("L2"), 3, {});
    EXPECT_EQ(s.cell(1, col::number), "2");
    EXPECT_EQ(w.kansenno, 3);
    EXPECT_EQ(s.rowCount(), 30);
    EXPECT_TRUE(s.cell(1, col::verdict).empty());
}

TEST(SingleFeeder, WithoutAFeederNameTheLoadIsNamedAfterTheAdvancedCounter) {
    Sheet s(30);
    writeSingleFeeder(s, 0, singleFeeder(""), 1, {});
    EXPECT_EQ(s.cell(0, col::loadName), "L2");
}

TEST(SingleFeeder, TheLastBlockIsCheckedAgainOnlyWhileItsRowsStillFormIt) {
    Sheet s(40);
    buildResidentialBlock(s, 0, residential("3"), 1, SupplyKind::Transformer);  // rows 0-6
    s.setCell(1, col::verdict, "marker");
    // After a deletion or a paste the rows of the last search may hold another block.
    writeSingleFeeder(s, 20, singleFeeder("L2"), 2, {1, 6});
    EXPECT_EQ(s.cell(1, col::verdict), "marker");
    writeSingleFeeder(s, 21, singleFeeder("L3"), 3, {0, 6});
    EXPECT_NE(s.cell(1, col::verdict), "marker");
}

TEST(FeederDialogResult, CancellingWritesNothing) {
    Sheet s(30);
    writeSingleFeeder(s, 0, singleFeeder("L1"), 1, {});
    const Sheet before = s;
    const FeederWriteResult w =
        writeFeederDialogResult(s, 4, 0, residential("3"), 2, {0, 0}, SupplyKind::Transformer);
    EXPECT_TRUE(w.status.ok());
    EXPECT_EQ(w.kansenno, 2);
    ASSERT_EQ(s.rowCount(), before.rowCount());
    for (int r = 0; r < s.rowCount(); ++r)
        EXPECT_EQ(s.row(r), before.row(r));
}

TEST(FeederDialogResult, ThePatternChoosesTheLayout) {
    Sheet s(30);
    writeFeederDialogResult(s, 0, 1, singleFeeder("L1"), 1, {}, SupplyKind::Transformer);
    writeFeederDialogResult(s, 1, 2, residential("2"), 2, {}, SupplyKind::Transformer);
    EXPECT_EQ(glyphs(s, 0, 2), (Glyphs{"──▶", "-─▶┌", "┌─┘"}));
}

// ---- What the dialogs are shown with ---------------------------------------------------------

struct ClassCase {
    const char* glyph;
    RowKind kind;
    bool twoSystemForm;
};

class RowClassOfGlyph : public ::testing::TestWithParam<ClassCase> {};

TEST_P(RowClassOfGlyph, DecidesTheDialogOfADoubleClick) {
    const RowClass c = classifyRow(GetParam().glyph);
    EXPECT_EQ(c.kind, GetParam().kind);
    EXPECT_EQ(c.twoSystemForm, GetParam().twoSystemForm);
    const bool residential =
        GetParam().kind != RowKind::Other && GetParam().kind != RowKind::Single;
    EXPECT_EQ(opensBranchDialog(GetParam().glyph), residential);
}

// A glyph read back with "?" for "▶" is repaired on load; unrepaired it is no known row.
INSTANTIATE_TEST_SUITE_P(
    Cases, RowClassOfGlyph,
    ::testing::Values(
        ClassCase{"-─▶┌", RowKind::Head, false}, ClassCase{"┌─┘", RowKind::FirstTrunk, false},
        ClassCase{"┌┌┘", RowKind::FirstTrunk, true}, ClassCase{"│　", RowKind::Trunk, false},
        ClassCase{"││", RowKind::Trunk, true}, ClassCase{"├─▶", RowKind::Branch, false},
        ClassCase{"│├▶", RowKind::Branch, true}, ClassCase{"└─▶", RowKind::LastBranch, false},
        ClassCase{"│└▶", RowKind::LastBranch, true}, ClassCase{"──▶", RowKind::Single, false},
        ClassCase{"", RowKind::Other, false}, ClassCase{" ", RowKind::Other, false},
        ClassCase{"-─?┌", RowKind::Other, false}));

struct LoadTypeCase {
    const char* system;
    const char* powerFactor;
    const char* loadType;
};

class LoadType : public ::testing::TestWithParam<LoadTypeCase> {};

TEST_P(LoadType, FollowsTheSystemAndThePowerFactorOfAnExistingFeeder) {
    const LoadTypeCase& c = GetParam();
    Sheet s(5);
    putSingleFeeder(s, 1, "L1");
    s.setCell(1, col::system, c.system);
    s.setCell(1, col::powerFactor, c.powerFactor);
    FeederEntry shown;
    shown.loadType = "as before";
    const FeederDialogStart start = feederDialogStart(s, 1, 1, shown);
    EXPECT_EQ(start.entry.loadType, c.loadType);
}

INSTANTIATE_TEST_SUITE_P(Cases, LoadType,
                         ::testing::Values(LoadTypeCase{"単相2線", "0.8", "電灯・コンセント"},
                                           LoadTypeCase{"単相3線", "0.95", "電灯・コンセント"},
                                           LoadTypeCase{"直流2線", "1", "電灯・コンセント"},
                                           LoadTypeCase{"三相3線", "0.9", "電動機(ｺﾝﾃﾞﾝｻ有)"},
                                           LoadTypeCase{"三相4線", "0.8", "電動機(ｺﾝﾃﾞﾝｻ無)"},
                                           LoadTypeCase{"三相3線", "0.85", "as before"},
                                           LoadTypeCase{"三相3線", "0.90", "as before"},
                                           LoadTypeCase{"", "0.9", "as before"}));

TEST(FeederDialogStart, AnExistingSingleFeederFillsTheDialogAndLocksThePattern) {
    Sheet s(5);
    writeSingleFeeder(s, 2, singleFeeder("L7"), 1, {});
    FeederEntry shown = residential("4");
    const FeederDialogStart start = feederDialogStart(s, 2, 9, shown);
    EXPECT_TRUE(start.existingSingleFeeder);
    EXPECT_EQ(start.entry.number, "1");
    EXPECT_EQ(start.entry.name, "L7");
    EXPECT_EQ(start.entry.length, "25");
    EXPECT_EQ(start.entry.mainBreaker, "75");
    EXPECT_EQ(start.entry.sizeKey, "22");
    EXPECT_EQ(start.entry.loadType, "電動機(ｺﾝﾃﾞﾝｻ無)");
    EXPECT_EQ(start.entry.branchesSystem1, "4");  // residential fields stay as they were
}

TEST(FeederDialogStart, AnEmptyRowKeepsTheLastFieldsAndTakesTheCounterAsNumber) {
    Sheet s(5);
    const FeederDialogStart start = feederDialogStart(s, 3, 4, singleFeeder("L3"));
    EXPECT_FALSE(start.existingSingleFeeder);
    EXPECT_EQ(start.entry.name, "L3");
    EXPECT_EQ(start.entry.number, "4");
}

// A one-system feeder of four branches at rows 0-8, recalculated lengths in column 19.
Sheet fourBranchFeeder() {
    Sheet s(30);
    FeederEntry e = residential("4");
    buildResidentialBlock(s, 0, e, 1, SupplyKind::Transformer);
    return s;
}

TEST(BranchDialogStart, ShowsTheLengthUpToTheStartOfTheRow) {
    Sheet s = fourBranchFeeder();
    s.setCell(4, col::cumulativeLength, "12");
    s.setCell(4, col::length, "3");
    const auto start = branchDialogStart(s, 4, BranchEntry{});
    ASSERT_TRUE(start.ok()) << start.error().message;
    EXPECT_EQ(start->entry.lengthBefore, "9");
    EXPECT_EQ(start->range, (BlockRange{0, 8}));
}

TEST(BranchDialogStart, FillsTheHeadingFromTheHeadRowAndTheRestFromTheRow) {
    Sheet s = fourBranchFeeder();
    BranchEntry shown;
    shown.cable = "VVF2.0-2C";  // a cable chosen before stays while the row has none
    shown.impedance = "9.9";
    shown.length = "7";
    shown.nameNumber = "3";
    shown.nameSuffix = "階";
    shown.baseVoltage = "200";
    const auto start = branchDialogStart(s, 2, shown);
    ASSERT_TRUE(start.ok());
    const BranchEntry& e = start->entry;
    EXPECT_EQ(e.feederName, "L-A");
    EXPECT_EQ(e.system, "単相3線");
    EXPECT_EQ(e.feederBreaker, "125");
    EXPECT_EQ(e.glyph, "├─▶");
    EXPECT_EQ(e.designCurrent, "30");
    EXPECT_EQ(e.cable, "VVF2.0-2C");
    EXPECT_EQ(e.impedance, "9.9");
    EXPECT_EQ(e.length, "7");
    EXPECT_EQ(e.baseVoltage, "100");
    EXPECT_TRUE(e.nameNumber.empty());
    EXPECT_TRUE(e.nameSuffix.empty());
    EXPECT_FALSE(start->secondSystemStart);
}

TEST(BranchDialogStart, MarksWhereTheSecondSystemLeavesTheTrunk) {
    Sheet s(30);
    buildResidentialBlock(s, 0, residential("2", 2, "2"), 1, SupplyKind::Transformer);
    const auto marked = [&](int row) { return branchDialogStart(s, row, {})->secondSystemStart; };
    EXPECT_TRUE(marked(1));   // "┌┌┘"
    EXPECT_FALSE(marked(3));  // "││"
    EXPECT_TRUE(marked(5));   // system 2's first "│　"
    EXPECT_FALSE(marked(7));  // a later "│　" of system 2
    Sheet one = fourBranchFeeder();
    EXPECT_FALSE(branchDialogStart(one, 3, {})->secondSystemStart);
}

TEST(BranchDialogStart, LengthsThatAreNotNumbersNameTheRowAndColumn) {
    Sheet s = fourBranchFeeder();
    s.setCell(3, col::length, "3m");
    s.setCell(3, col::cumulativeLength, "43");
    const auto start = branchDialogStart(s, 3, {});
    ASSERT_FALSE(start.ok());
    EXPECT_EQ(start.error().message, cellNumberError(3, col::length, "3m").message);
}

TEST(BranchDialogStart, ARowOfNoFeederIsRefused) {
    Sheet s(10);
    putGlyph(s, 4, glyph::branch);
    EXPECT_FALSE(branchDialogStart(s, 4, {}).ok());
    EXPECT_FALSE(writeBranchDialogResult(s, 4, {}, SupplyKind::Transformer).status.ok());
}

// ---- Writing the branch dialog back ----------------------------------------------------------

BranchEntry editedBranch(const Sheet& s, int row) {
    BranchEntry e = branchDialogStart(s, row, {}).value().entry;
    e.length = "12";
    e.loadName = "L-";
    e.mainBreaker = "40";
    e.designCurrent = "20";
    e.powerFactor = "1";
    e.cable = "VVF2.0-2C";
    e.method = "気中暗渠配線";
    e.allowableCurrent = "23";
    e.impedance = "Z";
    e.remarks = "1F";
    e.sizeKey = "2.0-2";
    return e;
}

TEST(BranchWrite, AnImpedanceNotChosenIsWrittenAsZeroForTheEditedRow) {
    Sheet s = fourBranchFeeder();
    BranchEntry e = editedBranch(s, 2);
    e.feederName = "L-B";
    const BranchWriteResult w = writeBranchDialogResult(s, 2, e, SupplyKind::Transformer);
    ASSERT_TRUE(w.status.ok()) << w.status.error().message;
    EXPECT_EQ(s.cell(2, col::impedance), "0");
    EXPECT_EQ(s.cell(2, col::loadName), "L-");
    EXPECT_EQ(s.cell(2, col::length), "12");
    EXPECT_EQ(s.cell(2, col::remarks), "1F");
    EXPECT_EQ(s.cell(0, col::name), "L-B");
    EXPECT_EQ(s.cell(0, col::blockRows), "9");
    EXPECT_EQ(s.cell(4, col::length), "");  // the next branch is left alone
    EXPECT_EQ(w.range, (BlockRange{0, 8}));
}

TEST(BranchWrite, ASingleRowTakesTheNumberAndUnitIntoItsLoadName) {
    Sheet s = fourBranchFeeder();
    BranchEntry e = editedBranch(s, 4);
    e.nameNumber = "3";
    e.nameSuffix = "階";
    writeBranchDialogResult(s, 4, e, SupplyKind::Transformer);
    EXPECT_EQ(s.cell(4, col::loadName), "L-3階");
}

TEST(BranchWrite, SameDataBelowNumbersTheLoadNamesOfEveryBranchDownToTheEnd) {
    Sheet s = fourBranchFeeder();
    BranchEntry e = editedBranch(s, 4);  // the second branch
    e.sameDataBelow = true;
    e.nameNumber = "1";
    e.nameSuffix = "F";
    const BranchWriteResult w = writeBranchDialogResult(s, 4, e, SupplyKind::Transformer);
    ASSERT_TRUE(w.status.ok()) << w.status.error().message;
    EXPECT_EQ(column(s, col::loadName, 2, 8),
              (Glyphs{"", "分岐間", "L-1F", "分岐間", "L-2F", "分岐間", "L-3F"}));
    EXPECT_EQ(column(s, col::length, 4, 8), (Glyphs{"12", "3", "12", "3", "12"}));
    // The run leaves the remarks of the rows; a cable not yet chosen sums no impedance.
    EXPECT_EQ(s.cell(8, col::impedance), "0");
    EXPECT_TRUE(s.cell(8, col::remarks).empty());
    EXPECT_TRUE(s.cell(2, col::cable).empty());  // above the edited row nothing changes
}

TEST(BranchWrite, SameDataBelowOnATrunkRowWritesTheTrunkRowsOnly) {
    Sheet s = fourBranchFeeder();
    BranchEntry e = editedBranch(s, 3);  // "│　"
    e.sameDataBelow = true;
    e.keepLoadNames = true;
    e.length = "5";
    writeBranchDialogResult(s, 3, e, SupplyKind::Transformer);
    EXPECT_EQ(column(s, col::length, 3, 8), (Glyphs{"5", "", "5", "", "5", ""}));
    EXPECT_EQ(column(s, col::loadName, 3, 5), (Glyphs{"分岐間", "", "分岐間"}));
}

TEST(BranchWrite, SameDataBelowOnTheHeadRowWritesTheHeadRowAloneAndFirst) {
    Sheet s = fourBranchFeeder();
    BranchEntry e = editedBranch(s, 0);
    e.sameDataBelow = true;
    writeBranchDialogResult(s, 0, e, SupplyKind::Transformer);
    EXPECT_EQ(s.cell(0, col::remarks), "1F");  // only the single-row write takes remarks
    EXPECT_EQ(s.cell(0, col::length), "12");
    EXPECT_EQ(s.cell(1, col::length), "3");  // no other row carries the head glyph
}

// A write the sheet cannot take is refused as a whole: the sheet never holds half an edit.
struct RefusedWriteCase {
    const char* name;
    void (*spoil)(Sheet&, BranchEntry&);
    const char* message;
};
class RefusedBranchWrite : public ::testing::TestWithParam<RefusedWriteCase> {};

TEST_P(RefusedBranchWrite, LeavesTheSheetAsItWasAndNamesTheRowAndField) {
    Sheet s = fourBranchFeeder();
    BranchEntry e = editedBranch(s, 2);
    e.feederName = "L-C";
    e.sameDataBelow = true;
    GetParam().spoil(s, e);
    const Sheet before = s;
    const BranchWriteResult w = writeBranchDialogResult(s, 2, e, SupplyKind::Transformer);
    ASSERT_FALSE(w.status.ok());
    EXPECT_EQ(w.status.error().message, GetParam().message);
    for (int r = 0; r < s.rowCount(); ++r)
        EXPECT_EQ(s.row(r), before.row(r)) << "row " << r;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedBranchWrite,
    ::testing::Values(
        RefusedWriteCase{"NumberingStartNotAWholeNumber",
                         [](Sheet&, BranchEntry& e) { e.nameNumber = "一"; },
                         "3 行目「負荷名称に付ける番号」の「一」は整数ではありません。"},
        RefusedWriteCase{"ALengthTheRecalculationCannotRead",
                         [](Sheet& s, BranchEntry&) { s.setCell(1, col::length, "3m"); },
                         "2 行目「こう長」の「3m」は数値ではありません。"}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace

namespace {

TEST(WriteBack, ARowOutsideTheSheetIsRefusedWithoutWriting) {
    Sheet s(10);
    EXPECT_FALSE(writeSingleFeeder(s, 10, singleFeeder("L1"), 1, {}).status.ok());
    EXPECT_FALSE(
        buildResidentialBlock(s, -1, residential("2"), 1, SupplyKind::Utility).status.ok());
    EXPECT_FALSE(writeBranchDialogResult(s, 12, {}, SupplyKind::Utility).status.ok());
    EXPECT_FALSE(branchDialogStart(s, 10, {}).ok());
    EXPECT_FALSE(feederDialogStart(s, 10, 1, {}).existingSingleFeeder);
    EXPECT_EQ(s.rowCount(), 10);
    EXPECT_EQ(s.lastUsedRow(), 0);
    EXPECT_FALSE(s.isUsed(0));
}

}  // namespace
