#include "feeder_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "scripted_host.h"
#include "sheet_rows.h"
#include "test_sheets.h"

using namespace wirelark;
using namespace wirelark::test;

namespace {

using Texts = std::vector<std::string>;

// The feeder dialog opened on row 0 of an empty sheet, as the program starts.
struct Opened {
    Document doc;
    CableSelection cables;
    FeederDialog d{doc, cables};
    ScriptedHost host;
    Opened() { d.show(host); }

    // "電線・ケーブル表呼出" with the cable picked in the table.
    void chooseCable(std::string r, std::string x, std::string allowable) {
        host.cables.push_back(
            CableChoice{"CV38゜", std::move(r), std::move(x), std::move(allowable), "38"});
        d.Button11Click(host);
    }
};

// ---- The confirmation "登録" ------------------------------------------------------------------

struct ConfirmCase {
    const char* meaning;
    std::function<void(Opened&)> setUp;  // may queue what the confirmation opens
    Texts infos;                         // the boxes the confirmation shows
    bool confirmed;
};

const std::string kOnlyJust(kDropOnlyJustWithinMessage);

class FeederConfirmation : public ::testing::TestWithParam<ConfirmCase> {};

TEST_P(FeederConfirmation, ChecksInOrderAndConfirmsOnlyWhenEveryCheckPasses) {
    const ConfirmCase& c = GetParam();
    Opened o;
    // 単相3線, 50 A over 50 m, breaker 50 A; the allowable drop is 3 V (3 % of 100 V).
    o.d.Edit4 = "1";
    c.setUp(o);
    o.host.infos.clear();
    const bool cableKnown = o.d.Label56 != "R";

    EXPECT_EQ(o.d.Button4Click(o.host), c.confirmed);
    EXPECT_EQ(o.host.infos, c.infos);
    EXPECT_EQ(o.doc.patan, c.confirmed ? 1 : 0);
    EXPECT_EQ(o.d.state(),
              c.confirmed ? ScriptableDialog::State::Confirmed : ScriptableDialog::State::Open);
    // The frequency is locked, and R and X forgotten, only by a confirmation that passed.
    EXPECT_EQ(o.doc.frequencyLocked(), c.confirmed);
    EXPECT_EQ(o.d.Label56 == "R", c.confirmed || !cableKnown);
    EXPECT_TRUE(o.host.drained());
}

INSTANTIATE_TEST_SUITE_P(
    FeederDialog, FeederConfirmation,
    ::testing::Values(
        ConfirmCase{
            "no cable chosen yet", [](Opened&) {}, {"電線・ケーブルを選択してください"}, false},
        ConfirmCase{"an emptied impedance counts as no cable",
                    [](Opened& o) {
                        o.chooseCable("0.5", "0.1", "190");
                        o.d.emptyOnDoubleClick("Edit10", o.host);
                    },
                    {"電線・ケーブルを選択してください"},
                    false},
        ConfirmCase{"a drop equal to the allowable drop passes, only just",
                    [](Opened& o) { o.chooseCable("1.2", "0.1", "190"); },
                    {kOnlyJust},
                    true},
        ConfirmCase{"a drop well within passes silently",
                    [](Opened& o) { o.chooseCable("0.5", "0.1", "190"); },
                    {},
                    true},
        ConfirmCase{"a drop above the allowable drop keeps the dialog open",
                    [](Opened& o) { o.chooseCable("1.3", "0.1", "190"); },
                    {"電圧降下が大き過ぎます再検討してください。"},
                    false},
        ConfirmCase{"breaker above the cable, Yes goes back to correct it",
                    [](Opened& o) {
                        o.d.Edit5 = "30";
                        o.chooseCable("0.5", "0.1", "40");
                        o.host.answers.push_back(true);
                    },
                    {},
                    false},
        ConfirmCase{"breaker above the cable, No confirms",
                    [](Opened& o) {
                        o.d.Edit5 = "30";
                        o.chooseCable("0.5", "0.1", "40");
                        o.host.answers.push_back(false);
                    },
                    {},
                    true},
        ConfirmCase{"no allowable current: neither the cable check nor the breaker question",
                    [](Opened& o) {
                        o.d.Edit5 = "300";
                        o.d.ComboBox5 = "10";
                        o.chooseCable("0.5", "0.1", "");
                    },
                    {},
                    true},
        ConfirmCase{"an empty breaker is refused",
                    [](Opened& o) {
                        o.chooseCable("0.5", "0.1", "190");
                        o.d.ComboBox4.clear();
                    },
                    {"遮断器定格電流を選択してください"},
                    false},
        ConfirmCase{"a missing design current is refused",
                    [](Opened& o) {
                        o.chooseCable("0.5", "0.1", "190");
                        o.d.Edit5.clear();
                    },
                    {"設計負荷電流を入力してください"},
                    false},
        ConfirmCase{"a cable too small, the table closed without a pick",
                    [](Opened& o) {
                        o.chooseCable("0.5", "0.1", "190");
                        o.d.Edit9 = "30";
                        o.host.cables.push_back(std::nullopt);
                    },
                    {"ケーブル(CV38゜)の許容電流が設計電流値(50A)より小さいので変更してください。"},
                    false},
        ConfirmCase{"a cable too small, a larger one picked from the table",
                    [](Opened& o) {
                        o.chooseCable("0.5", "0.1", "190");
                        o.d.Edit9 = "30";
                        o.host.cables.push_back(CableChoice{"CV60゜", "0.5", "0.1", "218", "60"});
                    },
                    {"ケーブル(CV38゜)の許容電流が設計電流値(50A)より小さいので変更してください。"},
                    true},
        ConfirmCase{"a length that is not a number",
                    [](Opened& o) {
                        o.chooseCable("0.5", "0.1", "190");
                        o.d.ComboBox5 = "3m";
                    },
                    {"「こう長」の「3m」は正しい数値ではありません。"},
                    false},
        ConfirmCase{"a power factor above 1",
                    [](Opened& o) {
                        o.chooseCable("0.5", "0.1", "190");
                        o.d.Edit4 = "1.2";
                    },
                    {"「力率」の「1.2」は正しい数値ではありません。"},
                    false}),
    [](const auto& p) { return caseName(p.param.meaning); });

TEST(FeederDialog, BreakerQuestionNamesTheRating) {
    Opened o;
    o.d.Edit5 = "30";
    o.chooseCable("0.5", "0.1", "40");
    o.host.answers.push_back(true);
    o.d.Button4Click(o.host);
    EXPECT_EQ(o.host.questions,
              Texts{"遮断機定格電流 50Ａ が電線許容電流値より大きいですが、修正しますか？。"});
    EXPECT_EQ(o.host.focuses.back(), "Button4");
}

// ---- Residential design current ---------------------------------------------------------------

struct DwellingCase {
    const char* meaning;
    const char* system1;
    bool twoSystems;
    const char* system2;
    const char* perDwelling;
    const char* designCurrent;  // Edit3
    const char* breaker;        // ComboBox9
};

class FeederDwellings : public ::testing::TestWithParam<DwellingCase> {};

TEST_P(FeederDwellings, DemandFactorOfAllDwellingsGivesCurrentAndBreaker) {
    const DwellingCase& c = GetParam();
    Opened o;
    o.d.Button1Click(o.host);
    if (c.twoSystems)
        o.d.RadioButton4Click(o.host);
    o.d.ComboBox1 = c.system1;
    o.d.ComboBox17 = c.system2;
    EXPECT_TRUE(o.d.pick("ComboBox15", c.perDwelling, o.host).ok());
    EXPECT_EQ(o.d.Edit3, c.designCurrent);
    EXPECT_EQ(o.d.ComboBox9, c.breaker);
    EXPECT_EQ(o.doc.keitou, c.twoSystems ? 2 : 1);
    EXPECT_TRUE(o.host.infos.empty());
}

INSTANTIATE_TEST_SUITE_P(
    FeederDialog, FeederDwellings,
    ::testing::Values(
        DwellingCase{"five and four dwellings in two systems at 73 percent", "5", true, "4", "50",
                     "329", "350"},
        DwellingCase{"six dwellings at 91 percent", "6", false, "4", "50", "273", "300"},
        DwellingCase{"twenty one dwellings at 53 percent", "21", false, "4", "50", "557", "600"},
        DwellingCase{"forty dwellings at 46 percent", "40", false, "4", "50", "920", "1000"},
        DwellingCase{"above 1600 A no standard breaker is proposed", "50", false, "4", "100",
                     "2300", ""}),
    [](const auto& p) { return caseName(p.param.meaning); });

TEST(FeederDialog, DwellingCountMustBeAWholeNumberOfAtLeastOne) {
    Opened o;
    o.d.Button1Click(o.host);
    EXPECT_TRUE(o.d.pick("ComboBox1", "1", o.host).ok());
    o.d.ComboBox1 = "0";
    o.d.ComboBox1Click(o.host);
    EXPECT_EQ(o.host.infos, Texts{"「幹線からの分岐数」の「0」は正しい数値ではありません。"});
    EXPECT_EQ(o.host.focuses.back(), "ComboBox1");
    EXPECT_EQ(o.d.Edit3, "50");  // one dwelling at 50 A, kept from before
}

// ---- System, voltage and allowable drop -------------------------------------------------------

struct VoltageCase {
    const char* meaning;
    bool residential;
    const char* control;
    const char* item;
    const char* voltage;    // ComboBox3 or ComboBox8
    const char* base;       // Edit6
    const char* allowable;  // Label70 at 50 m, 3 %
};

class FeederVoltage : public ::testing::TestWithParam<VoltageCase> {};

TEST_P(FeederVoltage, BaseVoltageAndAllowableDropFollowThePick) {
    const VoltageCase& c = GetParam();
    Opened o;
    if (c.residential)
        o.d.Button1Click(o.host);
    ASSERT_TRUE(o.d.pick(c.control, c.item, o.host).ok());
    EXPECT_EQ(c.residential ? o.d.ComboBox8 : o.d.ComboBox3, c.voltage);
    EXPECT_EQ(o.d.Edit6, c.base);
    EXPECT_EQ(o.d.Label70, c.allowable);
}

INSTANTIATE_TEST_SUITE_P(
    FeederDialog, FeederVoltage,
    ::testing::Values(
        VoltageCase{"three phase four wire single", false, "ComboBox2", "三相4線", "230/400", "230",
                    "7"},
        VoltageCase{"three phase four wire residential", true, "ComboBox7", "三相4線", "230/400",
                    "230", "7"},
        VoltageCase{"230 400 picked directly single", false, "ComboBox3", "230/400", "230/400",
                    "230", "7"},
        VoltageCase{"230 400 picked directly residential", true, "ComboBox8", "230/400", "230/400",
                    "230", "7"},
        VoltageCase{"100 200 gives 100", false, "ComboBox3", "100/200", "100/200", "100", "3"},
        VoltageCase{"three phase three wire", false, "ComboBox2", "三相3線", "200", "200", "6"},
        VoltageCase{"direct current", false, "ComboBox2", "直流2線", "400", "400", "12"}),
    [](const auto& p) { return caseName(p.param.meaning); });

TEST(FeederDialog, ModeSwitchTakesVoltageFromTheSystemShown) {
    Opened o;
    o.d.ComboBox7 = "三相3線";
    o.d.Button1Click(o.host);
    EXPECT_EQ(o.d.ComboBox8, "200");
    EXPECT_EQ(o.d.Edit6, "200");
    EXPECT_EQ(o.d.Label70, "6");
    EXPECT_FALSE(o.d.Edit3Enabled);
    o.d.Button6Click(o.host);
    EXPECT_EQ(o.d.Edit6, "100");
    EXPECT_EQ(o.d.Label70, "3");
}

// The supply kind is the document's: the branch dialog and the recalculation see the choice, and
// the typed percentage is one text.
TEST(FeederDialog, SupplyChoiceIsSharedThroughTheDocument) {
    Opened o;
    o.d.ComboBox5 = "80";
    o.d.RadioButton2Click(o.host);
    EXPECT_EQ(o.doc.supply().kind, SupplyKind::Utility);
    EXPECT_EQ(o.d.Edit11(), "4");
    EXPECT_EQ(o.d.Label70, "4");
    o.d.RadioButton5Click(o.host);
    ASSERT_TRUE(o.d.type("Edit11", "4.5", o.host).ok());
    EXPECT_EQ(o.doc.supply().percent, "4.5");
    o.d.ComboBox5Click(o.host);
    EXPECT_EQ(o.d.Label70, "4");  // 4.5 V rounds to the even 4
    o.d.Button5Click();
    EXPECT_EQ(o.doc.supply().kind, SupplyKind::Typed);  // キャンセル does not undo it
}

// ---- Fields the handlers write ----------------------------------------------------------------

TEST(FeederDialog, ImpedanceAtThePowerFactorOfTheLoad) {
    Opened o;
    o.d.Edit4 = "0.8";
    o.chooseCable("0.5", "0.1", "190");
    EXPECT_EQ(o.d.Edit10, "0.460");
    EXPECT_EQ(o.d.Label60, "1.15");  // 50 A × 50 m × 0.46 Ω/km
    EXPECT_EQ(o.d.Edit8, "CV38゜");
    EXPECT_EQ(o.d.Label43, "38");
}

TEST(FeederDialog, PowerFactorChangeWithoutKnownCableAsksForTheCableAgain) {
    Opened o;
    o.d.Edit10 = "0.497";  // as read from a sheet row: no R and X
    o.d.Label60 = "1.24";
    ASSERT_TRUE(o.d.pick("ComboBox13", "電動機(ｺﾝﾃﾞﾝｻ無)", o.host).ok());
    EXPECT_EQ(o.d.Edit4, "0.8");
    EXPECT_EQ(o.d.Edit10, "Z");
    EXPECT_EQ(o.d.Label60, "");

    Opened known;
    known.chooseCable("0.5", "0.1", "190");
    ASSERT_TRUE(known.d.pick("ComboBox13", "電動機(ｺﾝﾃﾞﾝｻ無)", known.host).ok());
    EXPECT_EQ(known.d.Edit10, "0.460");
}

TEST(FeederDialog, CalculatorCurrentBecomesDesignCurrentAndDevices) {
    Opened o;
    o.host.calculators = {std::string("12.5"), std::nullopt};
    o.d.Button2Click(o.host);
    EXPECT_EQ(o.d.Edit5, "12");  // 12.5 rounds to the even 12
    EXPECT_EQ(o.d.ComboBox11, "20");
    EXPECT_EQ(o.d.ComboBox4, "20");
    EXPECT_EQ(o.d.Label40, "計算電流値:12 A");
    // Closed without a result: nothing changes.
    o.d.Button2Click(o.host);
    EXPECT_EQ(o.d.Edit5, "12");
    EXPECT_EQ(o.d.Label40, "計算電流値:12 A");
}

TEST(FeederDialog, KeypadValueOrNothingWhenCancelled) {
    Opened o;
    o.host.keypads = {std::string("80"), std::nullopt};
    o.d.Button15Click(o.host);
    EXPECT_EQ(o.d.ComboBox5, "80");
    EXPECT_EQ(o.d.Label70, "5");  // beyond 60 m: 5 %
    o.d.Button15Click(o.host);
    EXPECT_EQ(o.d.ComboBox5, "80");
    EXPECT_TRUE(o.host.infos.empty());
}

TEST(FeederDialog, MainDeviceFollowsTheRowAndTheToggle) {
    for (const char* cell : {"", " "}) {
        Opened o;
        o.doc.edit("", [&](Sheet& s) { s.setCell(0, col::mainBreaker, cell); });
        o.d.show(o.host);
        EXPECT_FALSE(o.d.mainDeviceShown);
        EXPECT_EQ(o.d.ComboBox11, "");
        EXPECT_EQ(o.d.Button3Caption(), "ﾌﾞﾚｰｶｰ表示");
        o.d.ComboBox4 = "75";
        o.d.Button3Click();
        EXPECT_EQ(o.d.ComboBox11, "75");
        EXPECT_EQ(o.d.Button3Caption(), "無し");
    }
    Opened withDevice;
    withDevice.doc.edit("", [](Sheet& s) { s.setCell(0, col::mainBreaker, "40"); });
    withDevice.d.ComboBox11 = "40";
    withDevice.d.show(withDevice.host);
    EXPECT_TRUE(withDevice.d.mainDeviceShown);
    EXPECT_EQ(withDevice.d.ComboBox11, "40");
}

TEST(FeederDialog, BuriedConduitWaitsForTheDepthBeforeTheCableTable) {
    Opened o;
    ASSERT_TRUE(o.d.pick("ComboBox14", "地中保護管配線", o.host).ok());
    EXPECT_TRUE(o.host.cableRequests.empty());
    EXPECT_TRUE(o.d.burialDepthShown());
    o.host.cables.push_back(std::nullopt);
    ASSERT_TRUE(o.d.pick("ComboBox16", "H=600", o.host).ok());  // the same depth again
    ASSERT_EQ(o.host.cableRequests.size(), 1u);
    EXPECT_EQ(o.host.cableRequests[0].context.installationMethod, "地中保護管配線");
    EXPECT_EQ(o.host.cableRequests[0].context.burialDepth, "H=600");

    o.host.cables.push_back(std::nullopt);
    ASSERT_TRUE(o.d.pick("ComboBox14", "保護管配線", o.host).ok());
    EXPECT_EQ(o.host.cableRequests.size(), 2u);
    EXPECT_FALSE(o.d.burialDepthShown());
}

TEST(FeederDialog, CableTableGetsTheSystemAndFrequencyOfTheCaller) {
    Opened o;
    o.doc.settings().frequency = Frequency::Hz50;
    o.d.ComboBox2 = "単相2線";
    o.d.ComboBox7 = "三相3線";
    o.d.Button1Click(o.host);
    o.host.cables.push_back(std::nullopt);
    o.d.Button11Click(o.host);
    ASSERT_EQ(o.host.cableRequests.size(), 1u);
    const CableRequest& r = o.host.cableRequests[0];
    EXPECT_EQ(r.context.caller, Caller::FeederDialog);
    EXPECT_EQ(r.context.electricSystem, "三相3線");
    EXPECT_EQ(r.context.frequency, Frequency::Hz50);
    EXPECT_EQ(r.designCurrent, "250");
    EXPECT_EQ(r.length, "50");
}

TEST(FeederDialog, ActivationFocusesTheClickedFieldAndFillsTheCableSelector) {
    Document doc;
    CableSelection cables;
    FeederDialog d(doc, cables);
    ScriptedHost host;
    d.Label40 = "計算電流値:27 A";
    d.editedColumn = col::loadName;
    d.show(host);
    EXPECT_EQ(d.Label40, "");
    EXPECT_EQ(host.focuses, Texts{"Edit7"});
    EXPECT_NE(cables.selectorText(), kGroupPrompt);
}

// ---- The dialog as a script drives it ---------------------------------------------------------

struct ScriptCase {
    const char* meaning;
    std::function<Status(FeederDialog&, DialogHost&)> action;
    bool accepted;
};

class FeederScript : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(FeederScript, OnlyActionsTheDialogHandles) {
    Opened o;
    const Texts before = [&] {
        Texts t;
        for (const auto& [name, text] : o.d.report())
            t.push_back(name + "=" + text);
        return t;
    }();
    EXPECT_EQ(GetParam().action(o.d, o.host).ok(), GetParam().accepted);
    if (!GetParam().accepted) {
        Texts after;
        for (const auto& [name, text] : o.d.report())
            after.push_back(name + "=" + text);
        EXPECT_EQ(after, before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    FeederDialog, FeederScript,
    ::testing::Values(
        ScriptCase{"pick of a listed system",
                   [](FeederDialog& d, DialogHost& h) { return d.pick("ComboBox2", "三相4線", h); },
                   true},
        ScriptCase{"pick of an item the list does not hold",
                   [](FeederDialog& d, DialogHost& h) { return d.pick("ComboBox2", "三相5線", h); },
                   false},
        ScriptCase{"pick on an edit box",
                   [](FeederDialog& d, DialogHost& h) { return d.pick("Edit5", "50", h); }, false},
        ScriptCase{"type into a label",
                   [](FeederDialog& d, DialogHost& h) { return d.type("Label70", "9", h); }, false},
        ScriptCase{"type into the fixed list of methods",
                   [](FeederDialog& d, DialogHost& h) { return d.type("ComboBox14", "x", h); },
                   false},
        ScriptCase{"type a length with decimals",
                   [](FeederDialog& d, DialogHost& h) { return d.type("ComboBox5", "12.5", h); },
                   true},
        ScriptCase{"click on a label",
                   [](FeederDialog& d, DialogHost& h) { return d.click("Label60", h); }, false},
        ScriptCase{"click on a hidden internal button",
                   [](FeederDialog& d, DialogHost& h) { return d.click("Button9", h); }, false},
        ScriptCase{"click on a control the dialog does not have",
                   [](FeederDialog& d, DialogHost& h) { return d.click("Button99", h); }, false},
        ScriptCase{"double click that empties the remarks",
                   [](FeederDialog& d, DialogHost& h) { return d.doubleClick("Edit12", h); }, true},
        ScriptCase{"double click on a field it does not empty",
                   [](FeederDialog& d, DialogHost& h) { return d.doubleClick("Edit5", h); },
                   false}),
    [](const auto& p) { return caseName(p.param.meaning); });

TEST(FeederDialog, DisabledControlsRefuseTheScript) {
    Opened o;
    o.d.Button1Enabled = false;
    EXPECT_FALSE(o.d.click("Button1", o.host).ok());
    EXPECT_EQ(o.d.mode, FeederDialog::Mode::Single);
    o.d.Button1Enabled = true;
    ASSERT_TRUE(o.d.click("Button1", o.host).ok());
    EXPECT_FALSE(o.d.click("Edit3", o.host).ok());
    EXPECT_FALSE(o.d.type("Edit3", "300", o.host).ok());
}

TEST(FeederDialog, RadioAlreadyCheckedDoesNothing) {
    Opened o;
    o.d.Button1Click(o.host);
    o.d.ComboBox1 = "abc";
    o.d.RadioButton3Click(o.host);  // "1系統" is checked already: no design current step
    EXPECT_TRUE(o.host.infos.empty());
    o.d.RadioButton1Click(o.host);
    EXPECT_TRUE(o.host.infos.empty());
}

TEST(FeederDialog, ReportListsTheControlsInReplayOrder) {
    Opened o;
    const auto report = o.d.report();
    ASSERT_EQ(report.size(), 36u);
    EXPECT_EQ(report.front(), (std::pair<std::string, std::string>{"mode", "single"}));
    EXPECT_EQ(report[14].first, "Edit11");
    EXPECT_EQ(report[14].second, "3");
    EXPECT_EQ(report.back().first, "ComboBox6");
}

}  // namespace
