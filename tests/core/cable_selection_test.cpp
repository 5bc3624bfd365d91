#include "cable_selection.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace wirelark;

namespace {

const char* const kCvTrefoil = "600V CV及びEM 600V CE/F単心 S＝俵積み";
const char* const kCvFlat = "600V CV及びEM 600V CE/F単心 平積（S＝2d）布設";
const char* const kCvTwoThreeCore = "600V CV及びEM 600V CE/F 2心、3心一括シース";
const char* const kCvq = "600V CVQ及びEM 600V CEQ/F";
const char* const kIvTouching = "IV（2本（密着）及び3本俵積）";
const char* const kIvFlat = "IV（3本平積（密着））";
const char* const kVvTwoThreeCore = "600V VV2心、3心一括シース";
const char* const kVvf = "VVF";
const char* const kEmFpSingle = "600V EM-FP 単心 平積（S＝2d）布設";
const char* const kEmFpFlat = "600V EM－FP平形";

struct Opening {
    std::string method = "気中暗渠配線";
    std::string depth = "H=600";
    std::string system = "単相3線";
    Frequency frequency = Frequency::Hz60;
};

// The dialog as the feeder dialog opens it right after the program starts, with a group chosen.
CableSelection opened(const char* group, const Opening& o = {}) {
    CableSelection d;
    d.preselectFirstGroup();
    d.activate({Caller::FeederDialog, o.method, o.depth, o.system, o.frequency});
    d.selectGroup(group);
    return d;
}

int rowOf(const CableSelection& d, std::string_view size) {
    for (int r = kImpedanceHeaderRows; r < kImpedanceGridRows; ++r)
        if (d.impedanceGrid()[static_cast<std::size_t>(r)][0] == size)
            return r;
    ADD_FAILURE() << "no row " << size;
    return -1;
}

CableChoice choose(CableSelection& d, std::string_view size) {
    const int row = rowOf(d, size);
    d.clickRow(row);
    const auto choice = d.doubleClickRow(row);
    EXPECT_TRUE(choice.has_value()) << size;
    return choice.value_or(CableChoice{});
}

TEST(CableSelectionStart, TheDialogStartsWithItsPromptAndDefaults) {
    CableSelection d;
    EXPECT_EQ(d.selectorText(), kGroupPrompt);
    EXPECT_EQ(d.familyText(), "ｹｰﾌﾞﾙ種別");
    EXPECT_EQ(d.installation(), Installation::None);
    EXPECT_EQ(d.conductorCountOption(), 1);
    EXPECT_EQ(d.ambientText(), "30");
    EXPECT_EQ(d.installationTemperatureText(), "40");
    EXPECT_EQ(d.tierText(), "1");
    EXPECT_EQ(d.spacingText(), "S=d");
    EXPECT_EQ(d.cablesPerTierText(), "1");
    EXPECT_EQ(d.cablesPerTierItems(), (std::vector<std::string>{"1", "2", "3", "6", "7～20"}));
    EXPECT_EQ(d.factorText(), "1.00");
    EXPECT_EQ(d.densen(), 0);
    EXPECT_EQ(d.radio(), 0);
    EXPECT_EQ(d.clickedRow(), 0);
    EXPECT_EQ(d.matchedAllowableRow(), 0);
    EXPECT_EQ(d.windowCaption(), "電線・ケーブル選択フォーム");
}

TEST(CableSelectionStart, TheInputDialogFillsOnlyAnUnchosenSelector) {
    CableSelection d;
    d.preselectFirstGroup();
    EXPECT_EQ(d.selectorText(), cableGroups()[0].description);
    d.selectGroup(kVvf);
    d.preselectFirstGroup();
    EXPECT_EQ(d.selectorText(), "VVF");
}

TEST(CableSelectionActivation, OpeningShowsTheGroupWritesHeadersAndGroups) {
    CableSelection d;
    d.preselectFirstGroup();
    d.activate({Caller::FeederDialog, "気中暗渠配線", "H=600", "単相3線", Frequency::Hz60});
    EXPECT_EQ(d.caller(), Caller::FeederDialog);
    EXPECT_EQ(d.impedanceGrid()[0][0], "  公称断面積");
    EXPECT_EQ(d.impedanceGrid()[1][1], "  50Hz  (Ω/km)");
    EXPECT_EQ(d.impedanceGrid()[1][2], "  50Hz (Ω/km)");
    EXPECT_EQ(d.allowableGrid()[0][3], "許容電流");
    EXPECT_EQ(d.impedanceGrid()[2][0], "8゜");  // group 1
    EXPECT_EQ(d.familyText(), "CV-T");
    EXPECT_EQ(d.densen(), 2);
    EXPECT_EQ(d.installation(), Installation::InAirOrCulvert);
    EXPECT_TRUE(d.installationVisible(Installation::InAirOrCulvert));
    EXPECT_FALSE(d.installationVisible(Installation::ConduitInAir));
    EXPECT_TRUE(d.groupingPanelVisible());
    EXPECT_EQ(d.windowCaption(), "11S=d");
    EXPECT_EQ(d.factorText(), "1");
}

TEST(CableSelectionActivation, TheCallersMethodChoosesTheInstallationColumn) {
    struct Case {
        const char* method;
        Installation installation;
        const char* current;  // CV 38 -1C at the base temperature
        bool grouping;
    };
    const Case cases[] = {
        {"気中暗渠配線", Installation::InAirOrCulvert, "190", true},
        {"保護管配線", Installation::ConduitInAir, "160", true},
        {"地中保護管配線", Installation::BuriedConduit, "160", false},
    };
    for (const Case& c : cases) {
        Opening o;
        o.method = c.method;
        CableSelection d = opened(kCvTrefoil, o);
        EXPECT_EQ(d.installation(), c.installation) << c.method;
        EXPECT_EQ(d.groupingPanelVisible(), c.grouping) << c.method;
        EXPECT_EQ(d.allowableGrid()[7][allowableColumn::key], "CV 38 -1C");
        // The buried conduit is rated at 25 ℃ ground; the opening left the selector at 20 ℃
        // without recomputing, and the CV loader corrects for it: 160 x sqrt(70/65) = 166.
        EXPECT_EQ(d.allowableGrid()[7][3],
                  c.installation == Installation::BuriedConduit ? "166" : c.current)
            << c.method;
    }
}

TEST(CableSelectionActivation, ADialogOpenedByNoCallerChecksNoMethod) {
    CableSelection d;
    d.preselectFirstGroup();
    d.activate({Caller::None, "保護管配線", "H=600", "単相3線", Frequency::Hz60});
    d.selectGroup(kCvTrefoil);
    EXPECT_EQ(d.installation(), Installation::None);
    // Without a method no column applies: the CV values stay empty and nothing is handed on.
    EXPECT_EQ(d.allowableGrid()[7][3], "");
    const CableChoice c = choose(d, "38゜");
    EXPECT_EQ(d.allowableCurrentShown(), "0");
    EXPECT_EQ(c.allowableCurrent, "");
}

TEST(CableSelectionActivation, EveryOpeningStartsAtThreeWiresOrFewer) {
    CableSelection d = opened(kIvTouching);
    ASSERT_TRUE(d.chooseConductorCount(2).ok());
    d.activate({Caller::FeederDialog, "保護管配線", "H=600", "単相3線", Frequency::Hz60});
    EXPECT_EQ(d.conductorCountOption(), 1);
    d.selectGroup(kIvTouching);
    EXPECT_EQ(choose(d, "14゜").allowableCurrent, "61");
}

struct TemperatureCase {
    const char* name;
    const char* temperature;
    const char* current;
};

TEST(InstallationCorrection, CvSingleCoreInAirFallsWithTheSquareRootOfTheHeadroom) {
    const TemperatureCase cases[] = {
        {"at the 40 ℃ base the table holds", "40", "190"},
        {"45 ℃: sqrt(45/50)", "45", "180"},
        {"cooler than the base carries more", "20", "225"},
        {"at the 90 ℃ conductor limit nothing", "90", "0"},
        {"above the limit nothing, not NaN", "95", "0"},
    };
    for (const TemperatureCase& c : cases) {
        CableSelection d = opened(kCvTrefoil);
        ASSERT_TRUE(d.chooseInstallationTemperature(c.temperature).ok());
        EXPECT_EQ(choose(d, "38゜").allowableCurrent, c.current) << c.name;
        EXPECT_EQ(d.lookupKey(), "CV 38 -1C");
    }
}

TEST(InstallationCorrection, ATemperatureThatIsNoNumberIsRefusedAndTheOldOneStays) {
    CableSelection d = opened(kCvTrefoil);
    ASSERT_TRUE(d.chooseInstallationTemperature("45").ok());
    const Status s = d.chooseInstallationTemperature("４５");
    ASSERT_FALSE(s.ok());
    EXPECT_NE(s.error().message.find("４５"), std::string::npos);
    EXPECT_EQ(d.installationTemperatureText(), "45");
    EXPECT_EQ(choose(d, "38゜").allowableCurrent, "180");
}

TEST(InstallationCorrection, ANewMethodResetsTheTemperatureToItsBase) {
    CableSelection d = opened(kCvTrefoil);
    ASSERT_TRUE(d.chooseInstallationTemperature("50").ok());
    d.activate({Caller::FeederDialog, "地中保護管配線", "H=600", "単相3線", Frequency::Hz60});
    EXPECT_EQ(d.radio(), 3);
    EXPECT_EQ(d.baseTemperatureCaption(), "基本温度25℃");
    ASSERT_TRUE(d.chooseInstallationTemperature("25").ok());
    EXPECT_EQ(d.allowableGrid()[7][3], "160");  // column 7 at its own base
}

TEST(InstallationCorrection, LoadingCvtForgetsTheMethodSoTheTemperatureGoesBackToBase) {
    CableSelection d = opened(kCvTrefoil, {"保護管配線"});
    ASSERT_TRUE(d.chooseInstallationTemperature("60").ok());
    d.selectGroup(kCvq);
    EXPECT_EQ(d.installationTemperatureText(), "40");
    EXPECT_EQ(d.radio(), 2);
    // The selector keeps the group it shows, and the next opening shows it again.
    EXPECT_EQ(d.selectorText(), kCvq);
    EXPECT_EQ(d.impedanceGrid()[2][0], "14゜");
    d.activate({Caller::FeederDialog, "保護管配線", "H=600", "単相3線", Frequency::Hz60});
    EXPECT_EQ(d.selectorText(), kCvq);
    EXPECT_EQ(d.familyItems(), (std::vector<std::string>{"CV-Q", "CE-Q"}));
    EXPECT_EQ(d.impedanceGrid()[2][2], "0.114");  // CVQ's reactance, not CVT's 0.107
}

TEST(InstallationCorrection, LeavesTablesWithoutInstallationColumnsAlone) {
    CableSelection d = opened(kCvTrefoil);
    d.selectGroup(kEmFpSingle);
    ASSERT_EQ(d.densen(), 1);  // the CV table was loaded last among the cable tables
    ASSERT_TRUE(d.chooseInstallationTemperature("60").ok());
    EXPECT_EQ(d.allowableGrid()[1][allowableColumn::key], "FP 2  -1C");
    EXPECT_EQ(d.allowableGrid()[1][3], "28");
    EXPECT_EQ(choose(d, "38゜").allowableCurrent, "165");
}

TEST(InstallationCorrection, BuriedConduitPresetsTheGroundTemperatureOnEveryClick) {
    Opening shallow{"地中保護管配線", "H=300"};
    CableSelection d = opened(kCvTwoThreeCore, shallow);
    ASSERT_TRUE(d.pickFamily("CE").ok());
    // 300 mm deep: 30 ℃ ground, CV 8  -3C 53 x sqrt(60/65) = 51.
    const CableChoice c = choose(d, "8゜");
    EXPECT_EQ(d.installationTemperatureText(), "30");
    EXPECT_EQ(d.factorText(), "1.00");
    EXPECT_EQ(c.allowableCurrent, "51");
    EXPECT_EQ(c.cableName, "CE8゜");

    Opening deep{"地中保護管配線", "H=1200"};
    CableSelection e = opened(kCvq, deep);
    ASSERT_TRUE(e.chooseInstallationTemperature("65").ok());
    const CableChoice f = choose(e, "14゜");
    // Deeper: the selector returns to 20 ℃ but the values chosen at 65 ℃ stay in the table.
    EXPECT_EQ(e.installationTemperatureText(), "20");
    EXPECT_EQ(f.allowableCurrent, "50");
}

struct ConductorCase {
    const char* name;
    int option;
    const char* ambient;
    const char* size;
    const char* current;
};

TEST(ConductorCountCorrection, WiresInOneConduitAndAmbientTemperature) {
    const ConductorCase cases[] = {
        {"three or fewer at 30 ℃ is the table", 1, "30", "14゜", "61"},
        {"four wires: 61 x 0.63 / 0.7", 2, "30", "14゜", "55"},
        {"sixteen to forty at 35 ℃", 5, "35", "60゜", "85"},
        {"the 60 ℃ limit leaves nothing", 1, "60", "14゜", "0"},
        {"above the limit nothing, not NaN", 3, "65", "22゜", "0"},
        {"solid wire", 1, "30", "1.6mm", "19"},
    };
    for (const ConductorCase& c : cases) {
        CableSelection d = opened(kIvFlat);
        ASSERT_TRUE(d.chooseConductorCount(c.option).ok());
        ASSERT_TRUE(d.chooseAmbient(c.ambient).ok());
        EXPECT_EQ(choose(d, c.size).allowableCurrent, c.current) << c.name;
    }
}

TEST(ConductorCountCorrection, TheChosenCountStillHoldsAfterChangingTheGroup) {
    CableSelection d = opened(kIvTouching);
    ASSERT_TRUE(d.chooseConductorCount(2).ok());
    d.selectGroup(kIvFlat);
    EXPECT_EQ(choose(d, "14゜").allowableCurrent, "55");
}

TEST(ConductorCountCorrection, RefusesWhatThePanelDoesNotOffer) {
    CableSelection d = opened(kIvFlat);
    EXPECT_FALSE(d.chooseConductorCount(0).ok());
    EXPECT_FALSE(d.chooseConductorCount(8).ok());
    EXPECT_FALSE(d.chooseAmbient("暑い").ok());
    EXPECT_EQ(d.ambientText(), "30");
}

TEST(Grouping, TiersSpacingAndCablesPerTierGiveTheFactor) {
    CableSelection d = opened(kCvTrefoil);
    ASSERT_TRUE(d.chooseTiers("3").ok());
    EXPECT_EQ(d.cablesPerTierText(), "3");
    EXPECT_EQ(d.factorText(), "0.48");
    ASSERT_TRUE(d.chooseCablesPerTier("9～10").ok());
    EXPECT_EQ(d.windowCaption(), "39～10S=d");
    EXPECT_EQ(d.factorText(), "0.3");
    // Two tiers at S=3d end at four cables per tier.
    ASSERT_TRUE(d.chooseTiers("2").ok());
    ASSERT_TRUE(d.chooseSpacing("S=3d").ok());
    EXPECT_EQ(d.cablesPerTierItems(), (std::vector<std::string>{"2", "3", "4"}));
    EXPECT_EQ(d.factorText(), "0.95");
    EXPECT_FALSE(d.chooseCablesPerTier("5").ok());
    EXPECT_FALSE(d.chooseTiers("4").ok());
    EXPECT_FALSE(d.chooseSpacing("S=4d").ok());
    EXPECT_EQ(d.windowCaption(), "22S=3d");
}

TEST(Grouping, ShownValueIsCutHandedBackValueIsRounded) {
    CableSelection d = opened(kCvTrefoil);
    ASSERT_TRUE(d.chooseInstallationTemperature("42").ok());  // 130 x sqrt(48/50) = 127
    ASSERT_TRUE(d.editFactor("0.5").ok());
    const CableChoice c = choose(d, "22゜");
    EXPECT_EQ(d.allowableCurrentShown(), "63");
    EXPECT_EQ(c.allowableCurrent, "64");
}

TEST(Grouping, AnEmptyFactorBoxCountsAsNoReduction) {
    CableSelection d = opened(kCvTrefoil);
    ASSERT_TRUE(d.editFactor("").ok());
    EXPECT_FALSE(d.editFactor("x").ok());
    const CableChoice c = choose(d, "38゜");
    EXPECT_EQ(d.allowableCurrentShown(), "190");
    EXPECT_EQ(c.allowableCurrent, "190");
}

TEST(Grouping, TheShownValueFollowsEveryCorrectionOfTheClickedSize) {
    struct Case {
        const char* name;
        const char* group;
        const char* size;
        std::function<Status(CableSelection&)> change;
        const char* shown;
    };
    const Case cases[] = {
        {"45 ℃ ambient: 190 x sqrt(45/50)", kCvTrefoil, "38゜",
         [](CableSelection& d) { return d.chooseInstallationTemperature("45"); }, "180"},
        {"three tiers of three: 190 x 0.48", kCvTrefoil, "38゜",
         [](CableSelection& d) { return d.chooseTiers("3"); }, "91"},
        {"a reduction typed in: 190 x 0.5", kCvTrefoil, "38゜",
         [](CableSelection& d) { return d.editFactor("0.5"); }, "95"},
        {"four IV wires in one conduit: 61 x 0.63 / 0.7", kIvTouching, "14゜",
         [](CableSelection& d) { return d.chooseConductorCount(2); }, "55"},
        {"IV at 60 ℃ ambient carries nothing", kIvTouching, "14゜",
         [](CableSelection& d) { return d.chooseAmbient("60"); }, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CableSelection d = opened(c.group);
        d.clickRow(rowOf(d, c.size));
        ASSERT_TRUE(c.change(d).ok());
        EXPECT_EQ(d.allowableCurrentShown(), c.shown);
    }
}

TEST(Grouping, AnotherGroupLeavesTheShownValueOfTheLastClickAlone) {
    CableSelection d = opened(kCvTrefoil);
    d.clickRow(rowOf(d, "38゜"));
    ASSERT_EQ(d.allowableCurrentShown(), "190");
    d.selectGroup(kIvTouching);  // another table: row numbers of the lookup mean other sizes
    ASSERT_TRUE(d.chooseConductorCount(2).ok());
    EXPECT_EQ(d.allowableCurrentShown(), "190");
}

struct KeyCase {
    const char* group;
    const char* family;  // empty: the preselected code
    const char* system;
    const char* size;
    const char* key;
    const char* current;  // empty: no allowable-current row
};

TEST(AllowableCurrentLookup, KeysAreBuiltAsTheTablesSpellThem) {
    const KeyCase cases[] = {
        {kCvTrefoil, "", "単相3線", "38゜", "CV 38 -1C", "190"},
        {kCvTrefoil, "", "単相3線", "2゜", "CV 2  -1C", "31"},
        {kCvTrefoil, "", "単相3線", "3.5゜", "CV 3.5-1C", "44"},
        {kCvTrefoil, "CE", "単相3線", "600゜", "CV 600-1C", "1005"},
        {kCvFlat, "", "単相3線", "8゜", "CV 8  -1C", "72"},
        {kCvTwoThreeCore, "", "単相2線", "14゜", "CV 14 -2C", "91"},
        {kCvTwoThreeCore, "", "三相3線", "14゜", "CV 14 -3C", "76"},
        {kCvTwoThreeCore, "", "三相4線", "14゜", "CV 14 ", ""},
        {kCvq, "CE-Q", "単相3線", "38゜", "CV-Q 38", "155"},
        {cableGroups()[0].description.data(), "CV-T", "単相3線", "38゜", "CV-T 38", "155"},
        {"600V CV及びEM 600V CE/F 4心一括シース", "", "単相3線", "5.5゜", "CV 5.5-4C", "44"},
        {kIvTouching, "", "単相3線", "1.6mm", "IV 1.6mm", "19"},
        {"EM IE/F（2本（密着）及び3本俵積）", "", "単相3線", "2゜", "IV 2゜", "19"},
        {kVvTwoThreeCore, "", "直流2線", "8゜", "VV 8゜-2C", "42"},
        {kVvTwoThreeCore, "", "三相3線", "8゜(円形圧縮)", "VV 8゜-3C", "36"},
        {kVvf, "", "三相4線", "1.6-2C", "VVF 1.6-2C", "18"},
        {"VV", "", "三相4線", "3.5゜-3C", "VV 3.5゜-3C", "21"},
        {"EM 600Ｖ EEF/F", "", "三相4線", "2.6-2C", "VVF 2.6-2C", "32"},
        {kEmFpSingle, "", "単相3線", "14゜", "FP 14 -1C", "90"},
        {"600V EM-FP 2心、3心一括シース", "", "単相2線", "22゜", "FP 22 -2C", "105"},
        {"600V EM-FPD，600V EM-FPT", "EM-FPD", "単相3線", "60゜", "FP-D 60", "195"},
        {kEmFpFlat, "", "単相3線", "2ﾟx2", "EM-FP 2ﾟx", ""},
    };
    for (const KeyCase& c : cases) {
        Opening o;
        o.system = c.system;
        CableSelection d = opened(c.group, o);
        if (*c.family) {
            ASSERT_TRUE(d.pickFamily(c.family).ok()) << c.family;
        }
        const CableChoice choice = choose(d, c.size);
        EXPECT_EQ(d.lookupKey(), c.key) << c.group << " " << c.size;
        EXPECT_EQ(d.windowCaption(), c.key);
        EXPECT_EQ(choice.allowableCurrent, c.current) << c.key;
        EXPECT_EQ(d.matchedAllowableRow() > 0, *c.current != '\0') << c.key;
    }
}

TEST(AllowableCurrentLookup, EverySizeOfEveryOfferedGroupFindsItsRow) {
    for (const CableGroup& g : cableGroups()) {
        if (!g.offeredInSelector)
            continue;
        for (const char* system : {"単相2線", "単相3線"})
            for (std::string_view code : g.familyCodes) {
                Opening o;
                o.system = system;
                CableSelection d = opened(std::string(g.description).c_str(), o);
                ASSERT_TRUE(d.pickFamily(code).ok());
                for (const ImpedanceRow& r : g.rows) {
                    d.clickRow(rowOf(d, r.size));
                    EXPECT_GT(d.matchedAllowableRow(), 0)
                        << g.description << " " << code << " " << r.size << " " << system
                        << " key [" << d.lookupKey() << "]";
                }
            }
    }
}

TEST(AllowableCurrentLookup, UnknownFamilyCodesAreRefused) {
    CableSelection d = opened(kCvq);
    EXPECT_FALSE(d.pickFamily("CE-T").ok());
    EXPECT_EQ(d.familyText(), "CV-Q");
}

TEST(HandBack, NameSizeKeyAndImpedanceOfTheRow) {
    struct Case {
        const char* group;
        const char* size;
        Frequency frequency;
        const char* name;
        const char* r;
        const char* x;
        const char* sizeKey;
    };
    const Case cases[] = {
        {kCvTrefoil, "38゜", Frequency::Hz60, "CV38゜", "0.614", "0.115", "38"},
        {kCvTrefoil, "38゜", Frequency::Hz50, "CV38゜", "0.614", "0.0955", "38"},
        {cableGroups()[0].description.data(), "100゜", Frequency::Hz50, "CV-T100゜", "0.239",
         "0.0881", "100"},
        {cableGroups()[0].description.data(), "100゜", Frequency::Hz60, "CV-T100゜", "0.24",
         "0.106", "100"},
        {kVvTwoThreeCore, "8゜(円形圧縮)", Frequency::Hz60, "VV8゜", "2.71", "0.111", "8"},
        {kIvTouching, "1.6mm", Frequency::Hz60, "IV1.6mm", "10.3", "0.123", "1.6m"},
        {kVvf, "2.0-3C", Frequency::Hz60, "VVF2.0-3C", "6.54", "0.133", "2.0-3"},
        {kEmFpFlat, "1.2mmx2", Frequency::Hz60, "EM-FP1.2mmx2", "19.2", "0.149", "1.2mmx"},
    };
    for (const Case& c : cases) {
        Opening o;
        o.frequency = c.frequency;
        CableSelection d = opened(c.group, o);
        const CableChoice choice = choose(d, c.size);
        EXPECT_EQ(choice.cableName, c.name);
        EXPECT_EQ(choice.resistance, c.r) << c.name;
        EXPECT_EQ(choice.reactance, c.x) << c.name;
        EXPECT_EQ(choice.sizeKey, c.sizeKey) << c.name;
    }
}

TEST(HandBack, ADoubleClickOutsideTheSizesHandsBackNothing) {
    CableSelection d = opened(kVvf);  // six sizes: grid rows 2 to 7
    EXPECT_FALSE(d.doubleClickRow(0));
    EXPECT_FALSE(d.doubleClickRow(1));
    EXPECT_FALSE(d.doubleClickRow(8));
    EXPECT_FALSE(d.doubleClickRow(27));
    EXPECT_FALSE(d.doubleClickRow(-1));
    EXPECT_FALSE(d.doubleClickRow(28));
    EXPECT_TRUE(d.doubleClickRow(7));
}

TEST(HandBack, ADoubleClickWithoutItsClickStillLooksTheRowUp) {
    CableSelection d = opened(kCvTrefoil);
    const auto c = d.doubleClickRow(rowOf(d, "60゜"));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->cableName, "CV60゜");
    EXPECT_EQ(c->allowableCurrent, "255");
}

TEST(ShowGroup, ASwitchToAShorterGroupLeavesNoStaleRows) {
    CableSelection d = opened(kCvTrefoil);
    ASSERT_EQ(d.impedanceGrid()[17][0], "600゜");
    d.selectGroup(kVvf);
    EXPECT_EQ(d.impedanceGrid()[7][0], "2.6-3C");
    for (int r = 8; r < kImpedanceGridRows; ++r)
        for (const std::string& cell : d.impedanceGrid()[static_cast<std::size_t>(r)])
            EXPECT_TRUE(cell.empty()) << "row " << r;
    EXPECT_EQ(d.temperatureLabel(), "(60℃)");
    EXPECT_EQ(d.correctionPanel(), CorrectionPanel::InstallationTemperature);
}

TEST(ShowGroup, TextMatchingNoGroupEmptiesTheGridButKeepsTheLoadedTable) {
    CableSelection d = opened(kIvTouching);
    d.selectGroup("600V CV");
    for (int r = kImpedanceHeaderRows; r < kImpedanceGridRows; ++r)
        EXPECT_TRUE(d.impedanceGrid()[static_cast<std::size_t>(r)][0].empty());
    EXPECT_TRUE(d.familyItems().empty());
    EXPECT_EQ(d.temperatureLabel(), "");
    EXPECT_EQ(d.loadedFamily(), AllowableFamily::IV);
    EXPECT_EQ(d.allowableGrid().size(), 16u);
    EXPECT_EQ(d.correctionPanel(), CorrectionPanel::ConductorCount);
}

TEST(ShowGroup, TheFlatEmFpGroupIsShownWhenTypedExactly) {
    CableSelection d = opened(kEmFpFlat);
    EXPECT_EQ(d.impedanceGrid()[2][0], "1.2mmx2");
    EXPECT_EQ(d.impedanceGrid()[13][0], "5.5ﾟx3");
    EXPECT_EQ(d.loadedFamily(), AllowableFamily::FP);
    EXPECT_EQ(d.temperatureLabel(), "(75℃)");
}

TEST(ShowGroup, FewDigitValuesAreShownAsWritten) {
    CableSelection d = opened("EM IE/F（2本（密着）及び3本俵積）");
    const auto& row = d.impedanceGrid()[static_cast<std::size_t>(rowOf(d, "22゜"))];
    EXPECT_EQ(row[1], "1");
    EXPECT_EQ(row[3], "1");
    d.selectGroup(kCvTwoThreeCore);
    EXPECT_EQ(d.impedanceGrid()[2][1], "12");
}

}  // namespace
