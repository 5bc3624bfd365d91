#include "cable_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace wirelark;

namespace {

// Full-width characters of the descriptions, spelled by code point so that a look-alike
// half-width character in the table cannot pass unnoticed.
const std::string kFullWidthEquals = "\uFF1D";
const std::string kFullWidthOpen = "\uFF08";
const std::string kFullWidthClose = "\uFF09";
const std::string kFullWidthV = "\uFF36";
const std::string kFullWidthMinus = "\uFF0D";
const std::string kFullWidthComma = "\uFF0C";
const std::string kSquareMark = "\u309C";           // ゜
const std::string kHalfWidthSquareMark = "\uFF9F";  // ﾟ

struct GroupCase {
    int number;
    std::string description;
    std::vector<std::string> codes;
    std::string temperatureLabel;
    AllowableFamily family;
    CorrectionPanel panel;
    std::size_t rows;
};

const CorrectionPanel kInstall = CorrectionPanel::InstallationTemperature;
const CorrectionPanel kCount = CorrectionPanel::ConductorCount;

TEST(CableGroups, EveryGroupHasItsDescriptionCodesLabelTableAndRowCount) {
    const GroupCase cases[] = {
        {1,
         "600V CVD、600V CVT及びEM 600V CED/F、EM 600V CET/F",
         {"CV-T", "CV-D", "CE-T", "CE-D"},
         "(90℃)",
         AllowableFamily::CVT,
         kInstall,
         12},
        {2,
         "600V CVQ及びEM 600V CEQ/F",
         {"CV-Q", "CE-Q"},
         "(90℃)",
         AllowableFamily::CVT,
         kInstall,
         9},
        {3,
         "600V CV及びEM 600V CE/F単心 S" + kFullWidthEquals + "俵積み",
         {"CV", "CE"},
         "(90℃)",
         AllowableFamily::CV,
         kInstall,
         16},
        {4,
         "600V CV及びEM 600V CE/F単心 平積" + kFullWidthOpen + "S" + kFullWidthEquals + "2d" +
             kFullWidthClose + "布設",
         {"CV", "CE"},
         "(90℃)",
         AllowableFamily::CV,
         kInstall,
         16},
        {5,
         "600V CV及びEM 600V CE/F 2心、3心一括シース",
         {"CV", "CE"},
         "(90℃)",
         AllowableFamily::CV,
         kInstall,
         13},
        {6,
         "600V CV及びEM 600V CE/F 4心一括シース",
         {"CV", "CE"},
         "(90℃)",
         AllowableFamily::CV,
         kInstall,
         13},
        {7,
         "IV" + kFullWidthOpen + "2本" + kFullWidthOpen + "密着" + kFullWidthClose + "及び3本俵積" +
             kFullWidthClose,
         {"IV"},
         "",
         AllowableFamily::IV,
         kCount,
         15},
        {8, "IV（3本平積（密着））", {"IV"}, "", AllowableFamily::IV, kCount, 15},
        {9, "EM IE/F（2本（密着）及び3本俵積）", {"EM-IE"}, "", AllowableFamily::IV, kCount, 15},
        {10, "EM IE/F（3本平積（密着））", {"EM-IE"}, "", AllowableFamily::IV, kCount, 15},
        {11, "600V VV2心、3心一括シース", {"VV"}, "(60℃)", AllowableFamily::VVFVV, kInstall, 11},
        {12, "VVF", {"VVF"}, "(60℃)", AllowableFamily::VVFVV, kInstall, 6},
        {13, "VV", {"VV"}, "", AllowableFamily::VVFVV, kInstall, 10},
        {14,
         "EM 600" + kFullWidthV + " EEF/F",
         {"EEF"},
         "(75℃)",
         AllowableFamily::VVFVV,
         kInstall,
         6},
        {15,
         "600V EM-FP 単心 平積（S＝2d）布設",
         {"EM-FP"},
         "(75℃)",
         AllowableFamily::FP,
         kInstall,
         10},
        {16,
         "600V EM" + kFullWidthMinus + "FP平形",
         {"EM-FP"},
         "(75℃)",
         AllowableFamily::FP,
         kInstall,
         12},
        {17,
         "600V EM-FP 2心、3心一括シース",
         {"EM-FP"},
         "(75℃)",
         AllowableFamily::FP,
         kInstall,
         10},
        {18,
         "600V EM-FPD" + kFullWidthComma + "600V EM-FPT",
         {"EM-FPT", "EM-FPD"},
         "(75℃)",
         AllowableFamily::FP,
         kInstall,
         9},
    };
    const auto groups = cableGroups();
    ASSERT_EQ(groups.size(), std::size(cases));
    for (const GroupCase& c : cases) {
        const CableGroup& g = groups[static_cast<std::size_t>(c.number - 1)];
        SCOPED_TRACE("group " + std::to_string(c.number));
        EXPECT_EQ(g.description, c.description);
        EXPECT_EQ(std::vector<std::string>(g.familyCodes.begin(), g.familyCodes.end()), c.codes);
        EXPECT_EQ(g.temperatureLabel, c.temperatureLabel);
        EXPECT_EQ(g.allowableFamily, c.family);
        EXPECT_EQ(g.panel, c.panel);
        EXPECT_EQ(g.rows.size(), c.rows);
        EXPECT_LE(g.rows.size(), 26u) << "the grid holds 26 sizes";
        EXPECT_EQ(findCableGroup(c.description), &g);
    }
}

TEST(CableGroups, DescriptionsMatchOnlyCharacterForCharacter) {
    EXPECT_EQ(findCableGroup("600V CV及びEM 600V CE/F単心 S=俵積み"), nullptr);  // half-width =
    EXPECT_EQ(findCableGroup("EM 600V EEF/F"), nullptr);                         // half-width V
    EXPECT_EQ(findCableGroup("600V EM-FP平形"), nullptr);                        // half-width -
    EXPECT_EQ(findCableGroup("600V EM-FPD,600V EM-FPT"), nullptr);               // half-width ,
    EXPECT_EQ(findCableGroup("IV(3本平積(密着))"), nullptr);
    EXPECT_EQ(findCableGroup("vvf"), nullptr);
    EXPECT_EQ(findCableGroup(""), nullptr);
}

TEST(CableGroups, TheSelectorOffersEveryGroupButTheFlatEmFpInCatalogueOrder) {
    const auto offered = selectorDescriptions();
    ASSERT_EQ(offered.size(), 17u);
    EXPECT_EQ(offered.front(), cableGroups()[0].description);
    EXPECT_EQ(offered[14], cableGroups()[14].description);
    EXPECT_EQ(offered[15], cableGroups()[16].description);
    EXPECT_EQ(offered.back(), cableGroups()[17].description);
    for (std::string_view d : offered)
        EXPECT_NE(d, "600V EM－FP平形");
}

struct ImpedanceCase {
    int group;
    std::size_t row;  // 0-based
    ImpedanceRow expected;
};

// First and last size of every group, and the values whose few digits must survive as written.
TEST(ImpedanceTables, SizesAndValuesAreKeptExactlyAsTabulated) {
    const ImpedanceCase cases[] = {
        {1, 0, {"8゜", "3.01", "0.114", "3.01", "0.137"}},
        {1, 3, {"38゜", "0.626", "0.0955", "0.626", "0.115"}},
        {1, 8, {"250゜", "0.0981", "0.0836", "0.0989", "0.1"}},
        {1, 11, {"500゜", "0.0519", "0.0809", "0.0534", "0.0972"}},
        {2, 0, {"14゜", "1.71", "0.114", "1.71", "0.137"}},
        {2, 8, {"325゜", "0.0764", "0.089", "0.0775", "0.107"}},
        {3, 0, {"2゜", "11.8", "0.139", "11.8", "0.167"}},
        {3, 6, {"38゜", "0.614", "0.0955", "0.614", "0.115"}},
        {3, 15, {"600゜", "0.044", "0.0799", "0.0458", "0.0959"}},
        {4, 6, {"38゜", "0.613", "0.154", "0.614", "0.184"}},
        {4, 15, {"600゜", "0.0419", "0.138", "0.043", "0.166"}},
        {5, 0, {"2゜", "12", "0.0992", "12", "0.119"}},
        {5, 12, {"325゜", "0.077", "0.0723", "0.0783", "0.0867"}},
        {6, 0, {"2゜", "12", "0.107", "12", "0.128"}},
        {6, 12, {"325゜", "0.077", "0.0795", "0.0783", "0.0955"}},
        {7, 0, {"1.6mm", "10.3", "0.103", "10.3", "0.123"}},
        {7, 14, {"250゜", "0.0864", "0.0724", "0.0876", "0.0868"}},
        {8, 2, {"2.6mm", "3.88", "0.11", "3.88", "0.132"}},
        {8, 14, {"250゜", "0.0864", "0.0869", "0.0876", "0.104"}},
        {9, 8, {"22゜", "1", "0.0804", "1", "0.0965"}},
        {9, 14, {"250゜", "0.0905", "0.0729", "0.0916", "0.0874"}},
        {10, 0, {"1.6mm", "10.8", "0.117", "10.8", "0.141"}},
        {10, 8, {"22゜", "1", "0.0949", "1", "0.114"}},
        {11, 2, {"8゜(円形圧縮)", "2.71", "0.0928", "2.71", "0.111"}},
        {11, 10, {"250゜", "0.0899", "0.0734", "0.091", "0.0881"}},
        {12, 0, {"1.6-2C", "10.3", "0.103", "10.3", "0.123"}},
        {12, 5, {"2.6-3C", "3.88", "0.11", "3.88", "0.132"}},
        {13, 0, {"2゜-2C", "10.7", "0.0992", "10.7", "0.119"}},
        {13, 9, {"14゜-3C", "1.5", "0.103", "1.5", "0.123"}},
        {14, 0, {"1.6-2C", "10.8", "0.103", "10.8", "0.123"}},
        {14, 5, {"2.6-3C", "4.07", "0.11", "4.07", "0.132"}},
        {15, 0, {"14゜", "1.59", "0.127", "1.59", "0.152"}},
        {15, 9, {"400゜", "0.0596", "0.095", "0.061", "0.114"}},
        {16, 3, {"2ﾟx2", "11.2", "0.109", "11.2", "0.131"}},
        {16, 4, {"3.5ﾟx2", "6.32", "0.1", "6.32", "0.12"}},
        {16, 11, {"5.5ﾟx3", "4.05", "0.113", "4.05", "0.135"}},
        {17, 0, {"8゜", "2.87", "0.0938", "2.87", "0.113"}},
        {17, 9, {"325゜", "0.0736", "0.0745", "0.0749", "0.0894"}},
        {18, 0, {"14゜", "1.63", "0.112", "1.63", "0.135"}},
        {18, 8, {"325゜", "0.0731", "0.0823", "0.0743", "0.0988"}},
    };
    for (const ImpedanceCase& c : cases) {
        const auto rows = cableGroups()[static_cast<std::size_t>(c.group - 1)].rows;
        ASSERT_LT(c.row, rows.size());
        const ImpedanceRow& r = rows[c.row];
        SCOPED_TRACE("group " + std::to_string(c.group) + " row " + std::to_string(c.row));
        EXPECT_EQ(r.size, c.expected.size);
        EXPECT_EQ(r.r50, c.expected.r50);
        EXPECT_EQ(r.x50, c.expected.x50);
        EXPECT_EQ(r.r60, c.expected.r60);
        EXPECT_EQ(r.x60, c.expected.x60);
    }
}

TEST(ImpedanceTables, SizeMarksAreTheSemiVoicedSoundMarks) {
    for (const CableGroup& g : cableGroups())
        for (const ImpedanceRow& r : g.rows) {
            const std::string size(r.size);
            const bool flat = g.description == "600V EM－FP平形";
            // The flat EM-FP group uses the half-width mark, every other group the full one.
            EXPECT_EQ(size.find(flat ? kSquareMark : kHalfWidthSquareMark), std::string::npos)
                << g.description << " " << size;
        }
    EXPECT_NE(std::string(cableGroups()[2].rows[6].size).find(kSquareMark), std::string::npos);
}

TEST(ImpedanceTables, TheFrequencyPicksTheColumns) {
    const ImpedanceRow& row = cableGroups()[0].rows[5];  // group 1, 100゜
    EXPECT_EQ(resistance(row, Frequency::Hz50), "0.239");
    EXPECT_EQ(resistance(row, Frequency::Hz60), "0.24");
    EXPECT_EQ(reactance(row, Frequency::Hz50), "0.0881");
    EXPECT_EQ(reactance(row, Frequency::Hz60), "0.106");
}

struct AllowableCase {
    AllowableFamily family;
    std::size_t row;  // 1-based, as in the grid
    AllowableRow expected;
};

TEST(AllowableTables, RowCountsAndValuesOfEveryTable) {
    EXPECT_EQ(allowableTable(AllowableFamily::IV).size(), 15u);
    EXPECT_EQ(allowableTable(AllowableFamily::CV).size(), 55u);
    EXPECT_EQ(allowableTable(AllowableFamily::CVT).size(), 36u);
    EXPECT_EQ(allowableTable(AllowableFamily::FP).size(), 100u);
    EXPECT_EQ(allowableTable(AllowableFamily::VVFVV).size(), 32u);

    const AllowableCase cases[] = {
        {AllowableFamily::IV, 1, {"IV 1.6mm", "3.2", "8", "19", "26", "", "", ""}},
        {AllowableFamily::IV, 7, {"IV 14゜", "7.6", "45", "61", "170", "", "", ""}},
        {AllowableFamily::IV, 15, {"IV 2.6mm", "5", "20", "34", "69", "", "", ""}},
        {AllowableFamily::CV, 1, {"CV 2  -1C", "6.4", "32", "", "60", "31", "27", "27"}},
        {AllowableFamily::CV, 7, {"CV 38 -1C", "13", "133", "", "455", "190", "160", "160"}},
        {AllowableFamily::CV, 18, {"CV 3.5-2C", "11.5", "104", "", "165", "39", "31", "40"}},
        {AllowableFamily::CV, 55, {"CV 325-4C", "72", "4071", "", "14400", "555", "450", "455"}},
        {AllowableFamily::CVT, 1, {"CV-D 8", "17", "111", "", "280", "66", "51", "66"}},
        {AllowableFamily::CVT, 9, {"CV-D 250", "57", "1197", "", "5450", "565", "345", "490"}},
        {AllowableFamily::CVT, 24, {"CV-T 500", "82", "3243", "", "15900", "835", "615", "645"}},
        {AllowableFamily::CVT, 36, {"CV-Q 500", "92", "4324", "", "21200", "835", "615", "645"}},
        {AllowableFamily::VVFVV, 1, {"VVF 1.6-2C", "6.2x9.4", "50", "18", "100", "", "", ""}},
        {AllowableFamily::VVFVV, 6, {"VVF 2.6-3C", "7.6x17.0", "116.8", "27", "280", "", "", ""}},
        {AllowableFamily::VVFVV, 32, {"VV 325゜-3C", "69", "3739", "355", "11490", "", "", ""}},
        {AllowableFamily::FP, 1, {"FP 2  -1C", "7", "38", "28", "65", "", "", ""}},
        {AllowableFamily::FP, 21, {"FP 12.5  -2C", "10.5", "87", "17", "105", "", "", ""}},
        {AllowableFamily::FP, 58, {"FP  2-4C", "13", "133", "21", "195", "", "", ""}},
        {AllowableFamily::FP, 68, {"FP 200-4C", "62", "019", "360", "9420", "", "", ""}},
        {AllowableFamily::FP, 100, {"FP-Q 325", "78", "3216", "485", "14200", "", "", ""}},
    };
    for (const AllowableCase& c : cases) {
        const auto table = allowableTable(c.family);
        ASSERT_LE(c.row, table.size());
        const AllowableRow& r = table[c.row - 1];
        SCOPED_TRACE(std::string(c.expected.key));
        EXPECT_EQ(r.key, c.expected.key);
        EXPECT_EQ(r.outerDiameter, c.expected.outerDiameter);
        EXPECT_EQ(r.crossSection, c.expected.crossSection);
        EXPECT_EQ(r.current, c.expected.current);
        EXPECT_EQ(r.weight, c.expected.weight);
        EXPECT_EQ(r.inAir, c.expected.inAir);
        EXPECT_EQ(r.inConduit, c.expected.inConduit);
        EXPECT_EQ(r.buried, c.expected.buried);
    }
}

TEST(AllowableTables, KeysAreUniqueSoALookupFindsOneRow) {
    for (AllowableFamily f : {AllowableFamily::IV, AllowableFamily::CV, AllowableFamily::CVT,
                              AllowableFamily::FP, AllowableFamily::VVFVV}) {
        std::set<std::string_view> keys;
        for (const AllowableRow& r : allowableTable(f))
            EXPECT_TRUE(keys.insert(r.key).second) << r.key;
    }
}

TEST(AllowableTables, CvtHoldsDuplexThenTriplexThenQuadruplex) {
    const auto cvt = allowableTable(AllowableFamily::CVT);
    for (std::size_t i = 0; i < cvt.size(); ++i) {
        const std::string_view prefix = i < 12 ? "CV-D " : i < 24 ? "CV-T " : "CV-Q ";
        EXPECT_EQ(cvt[i].key.substr(0, 5), prefix) << cvt[i].key;
    }
}

TEST(AllowableTables, CablesCarryTheirValuesInTheInstallationColumnsOnly) {
    for (AllowableFamily f : {AllowableFamily::CV, AllowableFamily::CVT})
        for (const AllowableRow& r : allowableTable(f)) {
            EXPECT_TRUE(r.current.empty()) << r.key;
            EXPECT_FALSE(r.inAir.empty() || r.inConduit.empty() || r.buried.empty()) << r.key;
        }
    for (AllowableFamily f : {AllowableFamily::IV, AllowableFamily::FP, AllowableFamily::VVFVV})
        for (const AllowableRow& r : allowableTable(f)) {
            EXPECT_FALSE(r.current.empty()) << r.key;
            EXPECT_TRUE(r.inAir.empty() && r.inConduit.empty() && r.buried.empty()) << r.key;
        }
}

TEST(CorrectionFactors, ConductorCountFactorsAreSinglePrecision) {
    const float expected[] = {0.70f, 0.63f, 0.56f, 0.49f, 0.43f, 0.39f, 0.34f};
    for (int option = 1; option <= kConductorCountOptions; ++option)
        EXPECT_EQ(conductorCountFactor(option), expected[option - 1]);
    EXPECT_NE(static_cast<double>(conductorCountFactor(1)), 0.7);
    EXPECT_EQ(conductorCountCaption(1), "３本以下");
    EXPECT_EQ(conductorCountCaption(3), "５～６本");
    EXPECT_EQ(conductorCountCaption(7), "６０本以上");
    EXPECT_EQ(conductorCountFactor(0), 0.0f);
    EXPECT_EQ(conductorCountFactor(8), 0.0f);
}

TEST(CorrectionFactors, BuriedConduitsAreRatedAt25AndTheOthersAt40) {
    EXPECT_EQ(installationBase(Installation::InAirOrCulvert)->temperature, 40);
    EXPECT_EQ(installationBase(Installation::ConduitInAir)->caption, "基本温度40℃");
    EXPECT_EQ(installationBase(Installation::ConduitInAir)->radio, 2);
    EXPECT_EQ(installationBase(Installation::BuriedConduit)->caption, "基本温度25℃");
    EXPECT_EQ(installationBase(Installation::BuriedConduit)->temperature, 25);
    EXPECT_FALSE(installationBase(Installation::None));
}

struct GroupingCase {
    const char* key;
    double factor;
};

TEST(Grouping, FactorsByKeyAndOneForAKeyNotInTheTable) {
    const GroupingCase cases[] = {
        {"11S=d", 1.0},        {"12S=d", 0.85},    {"12S=2d", 0.95},
        {"16S=3d", 0.95},      {"17～20S=d", 0.7}, {"28～20S=2d", 0.7},
        {"25S=2d", 0.73},      {"37S=d", 0.32},    {"39～10S=d", 0.3},
        {"311～12S=2d", 0.63}, {"320S=2d", 0.6},   {"34S=3d", 0.85},
        {"17～20S=3d", 1.0},  // seven or more at S=3d are not grouped
        {"25S=3d", 1.0},       {"", 1.0},          {"39~10S=d", 1.0},  // ASCII tilde is not the key
    };
    for (const GroupingCase& c : cases)
        EXPECT_DOUBLE_EQ(groupingFactor(c.key), c.factor) << c.key;
}

TEST(Grouping, CablesPerTierDependOnTiersAndSpacing) {
    using Items = std::vector<std::string_view>;
    auto items = [](std::string_view t, std::string_view s) {
        const auto i = cablesPerTierItems(t, s);
        return Items(i.begin(), i.end());
    };
    EXPECT_EQ(items("1", "S=d"), (Items{"1", "2", "3", "6", "7～20"}));
    EXPECT_EQ(items("1", "S=2d"), (Items{"1", "2", "3", "6", "7～20"}));
    EXPECT_EQ(items("1", "S=3d"), (Items{"1", "2", "3", "6"}));
    EXPECT_EQ(items("2", "S=d"), (Items{"2", "3", "4", "5", "6", "7", "8～20"}));
    EXPECT_EQ(items("2", "S=3d"), (Items{"2", "3", "4"}));
    EXPECT_EQ(items("3", "S=2d"),
              (Items{"3", "4", "5", "6", "7", "8", "9～10", "11～12", "13～15", "16～19", "20"}));
    EXPECT_EQ(items("3", "S=3d"), (Items{"3", "4"}));
    EXPECT_TRUE(items("4", "S=d").empty());
    EXPECT_TRUE(items("1", "S=4d").empty());
}

TEST(Grouping, EveryOfferedArrangementHasAFactorOfItsOwn) {
    for (std::string_view t : tierItems())
        for (std::string_view s : spacingItems())
            for (std::string_view n : cablesPerTierItems(t, s)) {
                const std::string key = std::string(t) + std::string(n) + std::string(s);
                const double f = groupingFactor(key);
                EXPECT_GT(f, 0.0) << key;
                EXPECT_LE(f, 1.0) << key;
                // More cables never carry more per cable than a single one.
                if (key != "11S=d" && key != "11S=2d" && key != "11S=3d" && s != "S=3d") {
                    EXPECT_LT(f, 1.0) << key;
                }
            }
}

}  // namespace
