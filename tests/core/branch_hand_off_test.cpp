// A double-click on a row of a residential feeder: the branch dialog filled from the row and
// its head row, and the write-back through the document after the dialog closed.

#include "branch_hand_off.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/queued_host.h"
#include "write_back.h"

namespace wirelark {
namespace {

using test::QueuedHost;
using Texts = std::vector<std::string>;

// One system of three dwellings of 30 A, 単相3線 from a 125 A breaker: rows 0 (head) to 6.
FeederEntry residentialFeeder(const char* branches1, int systems = 1, const char* branches2 = "") {
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

struct Bench {
    Document document;
    CableSelection cables;
    BranchDialog dialog{document, cables};
    QueuedHost host;
    int cellChanges = 0;

    explicit Bench(FeederEntry feeder = residentialFeeder("3")) {
        document.replace([&](Sheet& s) {
            s = Sheet(30);
            return buildResidentialBlock(s, 0, feeder, 1, SupplyKind::Transformer);
        });
        document.subscribe([this](Document::Change c) {
            if (c == Document::Change::Cells)
                ++cellChanges;
        });
    }
    bool open(int row, int column = 6) {
        if (!openBranchRow(document, row, dialog, host))
            return false;
        dialog.FormActivate(host, column);
        return true;
    }
    // A cable for the row, 8 m of it, confirmed: 0.89 V against 3 V allowed.
    void confirm() {
        dialog.ComboBox6 = "8";
        dialog.Edit10 = "VVF2.6-2C";
        dialog.Label56 = "3.88";
        dialog.Label57 = "0.0951";
        dialog.Edit11 = "32";
        dialog.Edit12 = "3.716";
        dialog.Label43 = "2.6-2";
        ASSERT_TRUE(dialog.Button4Click(host)) << ::testing::PrintToString(host.boxes);
    }
    Texts column(int c, std::vector<int> rows) const {
        Texts out;
        for (int r : rows)
            out.emplace_back(document.sheet().cell(r, c));
        return out;
    }
};

// ---- Opening -------------------------------------------------------------------------------

struct OpenCase {
    const char* name;
    int row;
    const char* glyphAtRow20;
    bool opens;
    Texts boxes;
};

class OpeningARow : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpeningARow, ShowsTheBranchDialogForRowsOfAResidentialFeederOnly) {
    const OpenCase& c = GetParam();
    Bench b;
    b.document.edit("", [&](Sheet& s) { s.setCell(20, col::glyph, c.glyphAtRow20); });
    const int row = c.row < 0 ? b.document.sheet().rowCount() : c.row;
    EXPECT_EQ(openBranchRow(b.document, row, b.dialog, b.host), c.opens);
    EXPECT_EQ(b.host.boxes, c.boxes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpeningARow,
    ::testing::Values(
        OpenCase{"TheHeadRowOpensTheBranchDialog", 0, "", true, {}},
        OpenCase{"ALastBranchRowOpensIt", 6, "", true, {}},
        OpenCase{"BelowTheLastRowOpensNothing", -1, "", false, {}},
        OpenCase{"AnEmptyRowIsTheFeederDialogs", 20, "", false, {}},
        OpenCase{"ASingleFeederIsTheFeederDialogs", 20, "──▶", false, {}},
        OpenCase{"ABranchRowOfNoFeederIsRefusedNamingTheRow",
                 20,
                 "├─▶",
                 false,
                 {"info\t21 行目はどの幹線にも属していません。幹線を入力し直してください。"}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(OpeningARow, FillsTheDialogFromTheRowAndItsHeadRow) {
    Bench b;
    b.document.edit("", [](Sheet& s) {
        s.setCell(4, col::length, "5");
        s.setCell(4, col::cumulativeLength, "51");
        s.setCell(4, col::cable, "VVF2.0-2C");
    });
    b.dialog.ComboBox1 = "3";
    b.dialog.ComboBox2 = "階";
    b.dialog.Edit7 = "200";
    ASSERT_TRUE(b.open(4));
    const BranchDialog& d = b.dialog;
    EXPECT_EQ(Texts({d.Edit1, d.Edit2, d.Edit3, d.Edit8, d.Edit4}),
              Texts({"L-A", "単相3線", "100/200", "125", "├─▶"}));
    EXPECT_EQ(d.Label10, "46");  // to the start of the row: 51 m less its own 5 m
    EXPECT_EQ(d.ComboBox6, "5");
    EXPECT_EQ(d.Edit7, "100");  // the base voltage of the feeder's system
    EXPECT_EQ(d.ComboBox1 + d.ComboBox2, "");
    EXPECT_EQ(d.Edit10, "VVF2.0-2C");
    EXPECT_EQ(d.Label56 + d.Label57, "RX");  // the sheet holds no R and X for its cable
    EXPECT_EQ(b.document.s1, 0);
    EXPECT_EQ(b.document.e1, 6);
}

TEST(OpeningARow, ACableCarriedOverFromTheLastOpeningKeepsItsRAndX) {
    Bench b;
    b.dialog.Edit10 = "VVF2.6-2C";
    b.dialog.Label56 = "3.88";
    b.dialog.Label57 = "0.0951";
    ASSERT_TRUE(openBranchRow(b.document, 2, b.dialog, b.host));
    EXPECT_EQ(b.dialog.Edit10, "VVF2.6-2C");
    EXPECT_EQ(b.dialog.Label56 + "/" + b.dialog.Label57, "3.88/0.0951");
}

TEST(OpeningARow, MarksWhereTheSecondSystemLeavesTheTrunk) {
    Bench b(residentialFeeder("2", 2, "2"));
    // "-─▶┌", "┌┌┘", "│├▶", "││", "│└▶", then system 2's own first trunk row "│　".
    const auto tagFor = [&](int row) {
        b.dialog.Tag = 0;
        EXPECT_TRUE(openBranchRow(b.document, row, b.dialog, b.host));
        return b.dialog.Tag;
    };
    EXPECT_EQ(tagFor(1), 1);
    EXPECT_EQ(tagFor(3), 0);
    EXPECT_EQ(tagFor(5), 1);
    EXPECT_EQ(tagFor(7), 0);
    b.dialog.FormActivate(b.host, 6);
    EXPECT_FALSE(b.dialog.mainDeviceBoxReduced);
    ASSERT_EQ(tagFor(5), 1);
    b.dialog.FormActivate(b.host, 6);
    EXPECT_TRUE(b.dialog.mainDeviceBoxReduced);
}

// ---- Writing back --------------------------------------------------------------------------

struct RunCase {
    const char* name;
    bool keepLoadNames;
    Texts names;
};

class SameDataBelow : public ::testing::TestWithParam<RunCase> {};

TEST_P(SameDataBelow, WritesEveryBranchDownTheBlockInOneStep) {
    Bench b;
    b.document.edit("", [](Sheet& s) {
        s.setCell(2, col::loadName, "A");
        s.setCell(4, col::loadName, "B");
        s.setCell(6, col::loadName, "C");
    });
    b.document.setUnsaved(false);
    b.cellChanges = 0;
    ASSERT_TRUE(b.open(2));
    b.dialog.Edit5 = "L-";
    b.dialog.ComboBox1 = "1";
    b.dialog.ComboBox2 = "Ｆ";
    b.dialog.CheckBox1 = true;
    b.dialog.CheckBox2 = GetParam().keepLoadNames;
    b.confirm();
    ASSERT_TRUE(writeBranchRow(b.document, 2, b.dialog, b.host));
    EXPECT_EQ(b.column(col::loadName, {2, 4, 6}), GetParam().names);
    EXPECT_EQ(b.column(col::length, {2, 3, 4, 5, 6}), Texts({"8", "3", "8", "3", "8"}));
    EXPECT_EQ(b.column(col::cable, {2, 4, 6}), Texts(3, "VVF2.6-2C"));
    EXPECT_EQ(b.column(col::cumulativeLength, {2, 4, 6}), Texts({"51", "54", "57"}));
    EXPECT_TRUE(b.document.unsaved());
    EXPECT_EQ(b.cellChanges, 1);
    EXPECT_TRUE(b.host.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SameDataBelow,
    ::testing::Values(
        RunCase{"NumbersTheDwellingsFromTheStartNumber", false, {"L-1Ｆ", "L-2Ｆ", "L-3Ｆ"}},
        RunCase{"KeepsTheLoadNamesWhenAsked", true, {"A", "B", "C"}}),
    [](const auto& p) { return std::string(p.param.name); });

struct CloseCase {
    const char* name;
    void (*close)(Bench&);
    Texts boxes;
};

class ClosedWithoutConfirming : public ::testing::TestWithParam<CloseCase> {};

TEST_P(ClosedWithoutConfirming, WritesNothingButKeepsTheSupplyClicked) {
    Bench b;
    const Sheet before = b.document.sheet();
    ASSERT_TRUE(b.open(4));
    b.dialog.ComboBox6 = "12";
    b.dialog.Edit5 = "変更";
    ASSERT_TRUE(b.dialog.click("RadioButton2", b.host).ok());
    GetParam().close(b);
    EXPECT_EQ(b.host.boxes, GetParam().boxes);
    EXPECT_FALSE(writeBranchRow(b.document, 4, b.dialog, b.host));
    for (int r = 0; r < before.rowCount(); ++r)
        ASSERT_EQ(b.document.sheet().row(r), before.row(r)) << "row " << r;
    EXPECT_FALSE(b.document.unsaved());
    EXPECT_EQ(b.cellChanges, 0);
    EXPECT_EQ(b.document.supply().kind, SupplyKind::Utility);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClosedWithoutConfirming,
    ::testing::Values(CloseCase{"Cancel", [](Bench& b) { b.dialog.Button5Click(); }, {}},
                      CloseCase{"CloseBox", [](Bench& b) { b.dialog.close(b.host); }, {}},
                      CloseCase{"ARefusedConfirmationThenCancel",
                                [](Bench& b) {
                                    b.dialog.Edit12 = "Z";
                                    b.dialog.Button4Click(b.host);
                                    b.dialog.Button5Click();
                                },
                                {"info\t電線・ケーブルを選択してください"}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(WritingBack, AWriteTheSheetCannotTakeIsRefusedBeforeAnythingIsWritten) {
    Bench b;
    const Sheet before = b.document.sheet();
    ASSERT_TRUE(b.open(2));
    b.dialog.CheckBox1 = true;
    b.dialog.ComboBox1 = "一";
    b.confirm();
    EXPECT_FALSE(writeBranchRow(b.document, 2, b.dialog, b.host));
    EXPECT_EQ(b.host.boxes,
              Texts({"info\t3 行目「負荷名称に付ける番号」の「一」は整数ではありません。"}));
    for (int r = 0; r < before.rowCount(); ++r)
        ASSERT_EQ(b.document.sheet().row(r), before.row(r)) << "row " << r;
    EXPECT_FALSE(b.document.unsaved());
    EXPECT_EQ(b.cellChanges, 0);
}

TEST(WritingBack, ASingleRowTakesItsRemarksAndIsCheckedAsTheGridChecksIt) {
    Bench b;
    ASSERT_TRUE(b.open(2));
    b.confirm();
    b.dialog.Edit9 = "1F";
    // The main device below the dwelling's current: the grid's check marks the row.
    b.dialog.ComboBox12 = "20";
    ASSERT_TRUE(writeBranchRow(b.document, 2, b.dialog, b.host));
    const Sheet& s = b.document.sheet();
    EXPECT_EQ(s.cell(2, col::remarks), "1F");
    EXPECT_EQ(s.cell(2, col::singleDrop), "0.89");
    EXPECT_EQ(s.cell(2, col::verdict), "×：主幹器具定格電流が設計負荷電流より小さい");
    EXPECT_EQ(s.cell(0, col::blockRows), "7");
    EXPECT_EQ(s.cell(4, col::cable), "");  // the next branch is left alone
}

}  // namespace
}  // namespace wirelark
