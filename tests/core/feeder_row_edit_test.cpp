#include "feeder_row_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scripted_host.h"
#include "sheet_rows.h"
#include "test_sheets.h"

using namespace wirelark;
using namespace wirelark::test;

namespace {

using Texts = std::vector<std::string>;

// An existing single feeder as the program writes it: 三相3線 motor load.
void putMotorFeeder(Sheet& s, int row) {
    setCells(s, row, {{col::number, "1"},          {col::name, "P-3"},
                      {col::system, "三相3線"},    {col::voltage, "200"},
                      {col::breaker, "250"},       {col::glyph, glyph::single},
                      {col::length, "61"},         {col::loadName, "ポンプ"},
                      {col::mainBreaker, "250"},   {col::designCurrent, "250"},
                      {col::powerFactor, "0.8"},   {col::cable, "EM-FP100゜"},
                      {col::method, "保護管配線"}, {col::allowableCurrent, "315"},
                      {col::impedance, "0.241"},   {col::singleDrop, "6.37"},
                      {col::allowableDrop, "8"},   {col::remarks, "予備"},
                      {col::sizeKey, "100"},       {col::mark, "1"},
                      {col::blockRows, "1"},       {col::feederNumber, "1"}});
}

struct Editing {
    Document doc;
    CableSelection cables;
    FeederDialog d{doc, cables};
    ScriptedHost host;

    // The double-click on (row, column): the dialog filled and shown.
    void open(int row, int column = 0) {
        prepareFeederDialog(d, doc, row, column, host);
        d.show(host);
    }
    // A cable the feeder carries easily, picked from the table.
    void chooseCable() {
        host.cables.push_back(CableChoice{"CV38゜", "0.5", "0.1", "400", "38"});
        d.Button11Click(host);
    }
    bool closeAndWriteBack(int row) {
        const bool written = writeBackFeederDialog(d, doc, row, host);
        doc.kansenno = 1;  // the main window's activation
        doc.keitou = 1;
        return written;
    }
};

TEST(FeederRowEdit, ExistingSingleFeederFillsTheDialogWithoutTheResidentialChoice) {
    Editing e;
    e.doc.edit("", [](Sheet& s) { putMotorFeeder(s, 0); });
    e.d.Button1Click(e.host);  // left in the residential mode by an earlier entry
    e.d.Label56 = "0.5";
    e.open(0, 6);
    EXPECT_EQ(e.d.mode, FeederDialog::Mode::Single);
    EXPECT_FALSE(e.d.Button1Enabled);
    EXPECT_EQ(e.d.Edit1, "1");
    EXPECT_EQ(e.d.Edit2, "P-3");
    EXPECT_EQ(e.d.ComboBox5, "61");
    EXPECT_EQ(e.d.Edit10, "0.241");
    EXPECT_EQ(e.d.ComboBox13, "電動機(ｺﾝﾃﾞﾝｻ無)");
    EXPECT_EQ(e.d.Label56, "R");  // the sheet holds no R and X
    EXPECT_EQ(e.d.Edit6, "200");
    EXPECT_EQ(e.d.Label70, "10");  // 61 m: 5 % of 200 V
    EXPECT_TRUE(e.d.mainDeviceShown);
}

TEST(FeederRowEdit, AnEmptyRowKeepsWhatTheDialogHeldAndTakesTheNextNumber) {
    Editing e;
    e.d.Edit2 = "L-9";
    e.doc.kansenno = 4;
    e.open(3);
    EXPECT_TRUE(e.d.Button1Enabled);
    EXPECT_EQ(e.d.Edit2, "L-9");
    EXPECT_EQ(e.d.Edit1, "4");
    EXPECT_EQ(e.doc.patan, 0);
}

TEST(FeederRowEdit, ConfirmedSingleFeederIsWrittenNumberedAndChecked) {
    Editing e;
    e.doc.edit("", [](Sheet& s) { putMotorFeeder(s, 0); });
    e.open(2);
    e.d.Edit2 = "L-2";
    e.chooseCable();
    ASSERT_TRUE(e.d.Button4Click(e.host));
    ASSERT_TRUE(e.closeAndWriteBack(2));
    const Sheet& s = e.doc.sheet();
    EXPECT_EQ(s.cell(2, col::number), "2");
    EXPECT_EQ(s.cell(2, col::glyph), glyph::single);
    EXPECT_EQ(s.cell(2, col::cable), "CV38゜");
    EXPECT_EQ(s.cell(2, col::impedance), "0.506");
    EXPECT_EQ(s.cell(2, col::mark), "1");
    EXPECT_EQ(s.cell(2, col::blockRows), "1");
    EXPECT_TRUE(e.doc.unsaved());
    EXPECT_TRUE(e.doc.frequencyLocked());

    // Opened again, the row is rewritten in place and keeps its number.
    e.open(2, 1);
    e.d.ComboBox5 = "30";
    e.chooseCable();
    ASSERT_TRUE(e.d.Button4Click(e.host));
    ASSERT_TRUE(e.closeAndWriteBack(2));
    EXPECT_EQ(e.doc.sheet().cell(2, col::number), "2");
    EXPECT_EQ(e.doc.sheet().cell(2, col::length), "30");
}

TEST(FeederRowEdit, ResidentialBlockIsLaidOutRenumberedAndRecalculated) {
    Editing e;
    e.doc.edit("", [](Sheet& s) { putMotorFeeder(s, 0); });
    e.open(2);
    e.d.Button1Click(e.host);
    e.d.RadioButton4Click(e.host);
    ASSERT_TRUE(e.d.pick("ComboBox17", "2", e.host).ok());
    ASSERT_TRUE(e.d.pick("ComboBox1", "2", e.host).ok());
    EXPECT_EQ(e.d.Edit3, "200");
    e.d.ComboBox10 = "10";
    e.chooseCable();
    ASSERT_TRUE(e.d.Button4Click(e.host));
    EXPECT_EQ(e.doc.patan, 2);
    e.doc.keitou = 1;  // the number of systems is the dialog's own choice
    ASSERT_TRUE(e.closeAndWriteBack(2));

    const Sheet& s = e.doc.sheet();
    EXPECT_EQ(glyphs(s, 2, 10),
              (Texts{"-─▶┌", "┌┌┘", "│├▶", "││", "│└▶", "│　", "├─▶", "│　", "└─▶"}));
    EXPECT_EQ(s.cell(2, col::number), "2");
    EXPECT_EQ(s.cell(2, col::blockRows), "9");
    EXPECT_EQ(s.cell(10, col::feederNumber), "2");
    // The recalculation sums the branches below the trunk (four dwellings at 50 A).
    EXPECT_EQ(s.cell(2, col::designCurrent), "200");
    EXPECT_FALSE(s.cell(10, col::summedDrop).empty());
    EXPECT_EQ((BlockRange{e.doc.s1, e.doc.e1}), (BlockRange{2, 10}));
}

TEST(FeederRowEdit, NothingIsWrittenUnlessTheDialogConfirmed) {
    Editing e;
    e.doc.edit("", [](Sheet& s) { putMotorFeeder(s, 0); });
    e.doc.setUnsaved(false);
    const Sheet before = e.doc.sheet();

    // A drop refused, then キャンセル.
    e.open(0, 6);
    e.host.cables.push_back(CableChoice{"CV8゜", "2.99", "0.1", "400", "8"});
    e.d.Button11Click(e.host);
    e.d.Button4Click(e.host);
    EXPECT_EQ(e.host.infos, Texts{"電圧降下が大き過ぎます再検討してください。"});
    e.d.Button5Click();
    EXPECT_FALSE(e.closeAndWriteBack(0));
    EXPECT_EQ(e.doc.patan, 0);
    EXPECT_FALSE(e.doc.unsaved());
    for (int r = 0; r < before.rowCount(); ++r)
        ASSERT_EQ(e.doc.sheet().row(r), before.row(r)) << "row " << r;
}

TEST(FeederRowEdit, AFailingWriteBackWritesNothingAndNamesRowAndField) {
    Editing e;
    e.doc.setUnsaved(false);
    e.open(4);
    e.d.Button1Click(e.host);
    e.d.ComboBox10 = "10";
    e.chooseCable();
    ASSERT_TRUE(e.d.Button4Click(e.host));
    e.d.ComboBox1 = "3戸";  // changed behind the dialog's back: the write-back reads it
    e.host.infos.clear();
    EXPECT_FALSE(e.closeAndWriteBack(4));
    EXPECT_EQ(e.host.infos,
              Texts{"5 行目「幹線からの分岐数（1系統）」の「3戸」は整数ではありません。"});
    EXPECT_FALSE(e.doc.unsaved());
    EXPECT_TRUE(e.doc.sheet().cell(4, col::glyph).empty());
}

}  // namespace
