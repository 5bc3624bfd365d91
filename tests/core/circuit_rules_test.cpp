#include "circuit_rules.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace wirelark;

namespace {

TEST(ElectricSystems, EachSystemHasItsVoltageBaseAndCoefficient) {
    struct Case {
        std::string_view system;
        std::string_view voltage;
        double base;
        double k;
    };
    const Case cases[] = {
        {"単相2線", "100", 100, 2},     {"単相3線", "100/200", 100, 1},
        {"三相4線", "230/400", 230, 1}, {"三相3線", "200", 200, std::sqrt(3.0)},
        {"直流2線", "400", 400, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.system));
        EXPECT_EQ(defaultVoltageText(c.system), c.voltage);
        EXPECT_EQ(systemBaseVoltage(c.system), c.base);
        EXPECT_EQ(dropCoefficient(c.system), c.k);
    }
}

TEST(ElectricSystems, AnUnknownSystemHasNoDropAndTheSheetsFallbackBase) {
    EXPECT_EQ(dropCoefficient("三相2線"), 0.0);
    EXPECT_EQ(dropCoefficient(""), 0.0);
    EXPECT_EQ(systemBaseVoltage("三相2線"), 100.0);
    EXPECT_EQ(defaultVoltageText("三相2線"), "");
    EXPECT_EQ(findElectricSystem("単相3線 "), nullptr);
}

TEST(ElectricSystems, DialogsOfferSystemsAndVoltagesInTheirOwnOrder) {
    EXPECT_EQ(kSystemsInDialogOrder.front(), "単相3線");
    EXPECT_EQ(kSystemsInDialogOrder.back(), "三相4線");
    EXPECT_EQ(kSystemsInDialogOrder[2], "三相3線");
    EXPECT_EQ(kVoltagesInDialogOrder[0], kDefaultVoltage);
    EXPECT_EQ(kVoltagesInDialogOrder[4], "230/400");
    for (std::string_view s : kSystemsInDialogOrder)
        EXPECT_NE(findElectricSystem(s), nullptr);
}

TEST(ElectricSystems, BaseVoltageOfATwoVoltageSupplyIsTheLowerOne) {
    struct Case {
        std::string_view text;
        double base;
    };
    const Case cases[] = {
        {"100/200", 100}, {"230/400", 230}, {"200", 200},
        {"400", 400},     {"105", 105},     {"6600", 6600},
    };
    for (const Case& c : cases)
        EXPECT_EQ(baseVoltageFromText(c.text).valueOr(-1), c.base) << c.text;
}

TEST(ElectricSystems, AVoltageThatIsNoNumberIsRefusedWithItsText) {
    auto v = baseVoltageFromText("200V");
    ASSERT_FALSE(v.ok());
    EXPECT_EQ(v.error().text, "200V");
    EXPECT_FALSE(baseVoltageFromText("").ok());
    EXPECT_FALSE(baseVoltageFromText("100/230").ok());
}

TEST(LoadTypes, EachLoadTypeGivesItsPowerFactorText) {
    EXPECT_EQ(powerFactorText("電灯・コンセント"), "0.95");
    EXPECT_EQ(powerFactorText("電動機(ｺﾝﾃﾞﾝｻ有)"), "0.9");
    EXPECT_EQ(powerFactorText("電動機(ｺﾝﾃﾞﾝｻ無)"), "0.8");
    EXPECT_EQ(powerFactorText("電熱"), "");
    EXPECT_EQ(powerFactorText(kDefaultLoadType), "0.95");
}

TEST(Ratings, SelectionTakesTheSmallestRatingNotBelowTheCurrent) {
    struct Case {
        const char* meaning;
        double current;
        std::string rating;
    };
    const Case cases[] = {
        {"no current still needs the smallest breaker", 0, "20"},
        {"a negative current too", -5, "20"},
        {"a current equal to a rating selects it", 20, "20"},
        {"just above a rating selects the next", 20.01, "30"},
        {"50 A exactly", 50, "50"},
        {"50.1 A", 50.1, "60"},
        {"900 A is never proposed", 850, "1000"},
        {"the largest rating", 1600, "1600"},
        {"beyond the largest no breaker fits", 1600.01, ""},
        {"far beyond", 5000, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(selectRating(c.current), c.rating) << c.meaning;
}

TEST(Ratings, TheDialogsOfferEverySelectionRatingAnd900) {
    EXPECT_EQ(kSelectionRatings.size(), 27u);
    EXPECT_EQ(kOfferedRatingTexts.size(), 28u);
    std::size_t s = 0;
    for (std::string_view offered : kOfferedRatingTexts) {
        if (offered == "900")
            continue;
        ASSERT_LT(s, kSelectionRatings.size());
        EXPECT_EQ(offered, std::to_string(kSelectionRatings[s++]));
    }
    EXPECT_EQ(s, kSelectionRatings.size());
}

TEST(DemandFactor, TheFactorOfTheSmallestBoundNotBelowTheDwellings) {
    struct Case {
        const char* meaning;
        int dwellings;
        int percent;
    };
    const Case cases[] = {
        {"no dwellings count fully", 0, 100},
        {"up to five dwellings count fully", 5, 100},
        {"six", 6, 91},
        {"nine", 9, 73},
        {"twenty", 20, 54},
        {"21 falls in the band up to 22", 21, 53},
        {"the band up to 25", 24, 51},
        {"35 falls in the band up to 39", 35, 47},
        {"forty, the last of the table", 40, 46},
        {"beyond the table the last factor holds", 41, 46},
        {"a full two-system feeder", 100, 46},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(demandFactorPercent(c.dwellings), c.percent) << c.meaning;
        EXPECT_EQ(demandFactor(c.dwellings), c.percent / 100.0) << c.meaning;
    }
}

TEST(ResidentialCurrent, DwellingsTimesCurrentReducedByTheDemandFactor) {
    struct Case {
        const char* meaning;
        int n1, n2;
        double perDwelling;
        double demand;
        std::string rating, design;
    };
    const Case cases[] = {
        {"six dwellings of 50 A", 6, 0, 50, 273, "300", "273"},
        {"nine dwellings of 50 A", 9, 0, 50, 328.5, "350", "329"},
        {"five dwellings count fully", 5, 0, 50, 250, "250", "250"},
        {"two systems add their dwellings", 3, 3, 50, 273, "300", "273"},
        {"forty dwellings use 46 %", 40, 0, 30, 552, "600", "552"},
        {"twenty-one dwellings use 53 %", 21, 0, 30, 333.9, "350", "334"},
        {"beyond forty the 46 % holds", 30, 30, 30, 828, "1000", "828"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meaning);
        const ResidentialCurrent r = residentialDesignCurrent(c.n1, c.n2, c.perDwelling);
        EXPECT_EQ(r.dwellings, c.n1 + c.n2);
        EXPECT_NEAR(r.demandCurrent, c.demand, 1e-9);
        EXPECT_EQ(r.rating, c.rating);
        EXPECT_EQ(r.designCurrent, c.design);
    }
}

TEST(ResidentialCurrent, TheBreakerIsChosenForTheUnroundedDemandCurrent) {
    // 7 × 35 A × 83 % = 203.35 A: the design current shows 203, but 203.35 A needs 225 A.
    const ResidentialCurrent r = residentialDesignCurrent(7, 0, 35);
    EXPECT_EQ(r.designCurrent, "203");
    EXPECT_EQ(r.rating, "225");
}

TEST(ResidentialCurrent, TheAddedTenthMovesTheRoundingPointToAboutPointFour) {
    struct Case {
        double demand;
        std::string shown;
    };
    const Case cases[] = {
        {272.35, "272"}, {272.45, "273"}, {272.0, "272"}, {250.0, "250"}, {0.0, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(residentialDesignCurrentText(c.demand), c.shown) << c.demand;
}

TEST(Impedance, ResistanceAtTheCosineAndReactanceAtTheSine) {
    struct Case {
        const char* meaning;
        double r, x, cosTheta;
        std::string shown;
    };
    const Case cases[] = {
        {"0.8 power factor weighs the reactance 0.6", 0.5, 0.1, 0.8, "0.460"},
        {"unity power factor leaves the resistance", 0.5, 0.1, 1.0, "0.500"},
        {"lighting load", 1.012, 0.09, 0.95, "0.990"},
    };
    for (const Case& c : cases) {
        auto z = impedance(c.r, c.x, c.cosTheta);
        ASSERT_TRUE(z.ok()) << c.meaning;
        EXPECT_EQ(formatThreeDecimals(*z), c.shown) << c.meaning;
    }
}

TEST(Impedance, APowerFactorOutsideZeroToOneIsRefused) {
    EXPECT_FALSE(impedance(0.5, 0.1, 1.2).ok());
    EXPECT_FALSE(impedance(0.5, 0.1, -0.1).ok());
    EXPECT_FALSE(impedance(0.5, 0.1, std::nan("")).ok());
}

TEST(VoltageDrop, KTimesCurrentTimesLengthTimesImpedancePerKilometre) {
    struct Case {
        const char* meaning;
        std::string_view system;
        double current, length, z;
        std::string shown;
    };
    const Case cases[] = {
        {"single-phase three-wire", "単相3線", 50, 50, 0.5, "1.25"},
        {"three-phase three-wire takes √3", "三相3線", 50, 50, 0.5, "2.17"},
        {"single-phase two-wire drops on both conductors", "単相2線", 50, 50, 0.5, "2.50"},
        {"an unknown system gives no drop", "三相2線", 50, 50, 0.5, "0.00"},
        {"a large drop is grouped", "単相2線", 1000, 1000, 0.6, "1,200.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatTwoDecimals(voltageDrop(c.system, c.current, c.length, c.z)), c.shown)
            << c.meaning;
}

TEST(AllowableDrop, PercentageByLengthBandEachBandIncludingItsLimit) {
    struct Case {
        const char* meaning;
        SupplyKind kind;
        double length;
        double percent;
    };
    const Case cases[] = {
        {"transformer, short run", SupplyKind::Transformer, 10, 3},
        {"transformer, 60 m is still the first band", SupplyKind::Transformer, 60, 3},
        {"transformer, 60.5 m is the second band", SupplyKind::Transformer, 60.5, 5},
        {"transformer, 120 m", SupplyKind::Transformer, 120, 5},
        {"transformer, 200 m is the third band", SupplyKind::Transformer, 200, 6},
        {"transformer, beyond 200 m", SupplyKind::Transformer, 200.5, 7},
        {"utility, short run", SupplyKind::Utility, 60, 2},
        {"utility, 120 m", SupplyKind::Utility, 120, 4},
        {"utility, 120.1 m", SupplyKind::Utility, 120.1, 5},
        {"utility, 200 m", SupplyKind::Utility, 200, 5},
        {"utility, beyond 200 m", SupplyKind::Utility, 250, 6},
        {"a typed percentage ignores the length", SupplyKind::Typed, 500, 2.5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(allowableDropPercent(c.kind, c.length, 2.5), c.percent) << c.meaning;
        EXPECT_DOUBLE_EQ(allowableDropFraction(c.kind, c.length, 2.5), c.percent / 100)
            << c.meaning;
    }
}

TEST(AllowableDrop, BaseVoltageTimesFractionInWholeVoltsHalvesToEven) {
    struct Case {
        double base;
        double percent;
        std::string shown;
    };
    const Case cases[] = {
        {100, 3, "3"}, {230, 3, "7"}, {200, 5, "10"}, {230, 5, "12"}, {200, 6, "12"}, {100, 2, "2"},
    };
    for (const Case& c : cases) {
        const double f = allowableDropFraction(SupplyKind::Typed, 0, c.percent);
        EXPECT_EQ(formatShortest(allowableDrop(c.base, f)), c.shown)
            << c.base << " V at " << c.percent << " %";
    }
}

TEST(CurrentAndPower, SingleAndThreePhase) {
    const double p = powerFromCurrent(Phase::Single, 10, 100, 80);
    EXPECT_DOUBLE_EQ(p, 0.8);
    EXPECT_EQ(formatFixed(p, 0, true), "1");
    EXPECT_DOUBLE_EQ(currentFromPower(Phase::Single, 1, 100, 80).valueOr(0), 12.5);
    EXPECT_EQ(formatShortest(currentFromPower(Phase::Single, 1, 100, 80).valueOr(0)), "12.5");

    const double p3 = powerFromCurrent(Phase::Three, 10, 200, 100);
    EXPECT_NEAR(p3, 3.464, 1e-3);
    EXPECT_EQ(formatFixed(p3, 0, true), "3");
    EXPECT_EQ(formatTwoDecimals(apparentPower(3, 100).valueOr(0)), "3.00");
    EXPECT_NEAR(currentFromPower(Phase::Three, p3, 200, 100).valueOr(0), 10.0, 1e-12);
    EXPECT_EQ(formatTwoDecimals(apparentPower(8, 80).valueOr(0)), "10.00");
}

TEST(CurrentAndPower, NoVoltageOrNoPowerFactorHasNoCurrent) {
    EXPECT_FALSE(currentFromPower(Phase::Single, 1, 0, 80).ok());
    EXPECT_FALSE(currentFromPower(Phase::Three, 1, 100, 0).ok());
    EXPECT_FALSE(apparentPower(1, 0).ok());
}

TEST(Checks, CableBreakerAndDropComparisonsLetEqualValuesPass) {
    EXPECT_TRUE(cableBelowDesignCurrent(31, 30));
    EXPECT_FALSE(cableBelowDesignCurrent(30, 30));
    EXPECT_TRUE(dropTooLarge(3.01, 3));
    EXPECT_FALSE(dropTooLarge(3, 3));
    EXPECT_TRUE(breakerAboveCable(91, 100));
    EXPECT_FALSE(breakerAboveCable(100, 100));
    EXPECT_EQ(mainDeviceAgainstDesignCurrent(30, 60), MainDeviceAction::Raise);
    EXPECT_EQ(mainDeviceAgainstDesignCurrent(60, 30), MainDeviceAction::AskToKeep);
    EXPECT_EQ(mainDeviceAgainstDesignCurrent(60, 60), MainDeviceAction::Keep);
}

TEST(Checks, ADropIsOnlyJustWithinFromNinetyFivePercentOfTheAllowableDrop) {
    struct Case {
        double drop, allowable;
        bool justWithin;
    };
    const Case cases[] = {
        {2.84, 3, false}, {2.85, 3, true}, {3.0, 3, true},  {3.01, 3, false},
        {0, 0, false},    {6.65, 7, true}, {1.0, 7, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dropOnlyJustWithin(c.drop, c.allowable), c.justWithin)
            << c.drop << " of " << c.allowable;
}

TEST(Checks, MessagesReadAsTheDialogsShowThem) {
    EXPECT_EQ(cableBelowDesignCurrentMessage("CV22㎟", "120"),
              "ケーブル(CV22㎟)の許容電流が設計電流値(120A)より小さいので変更してください。");
    EXPECT_EQ(breakerAboveCableQuestion("125"),
              "遮断機定格電流 125Ａ が電線許容電流値より大きいですが、修正しますか？。");
    EXPECT_EQ(mainDeviceQuestion("60"), "主幹器具定格電流は 60Ａ です。このまままで良いですか？。");
    EXPECT_EQ(kDropTooLargeMessage, "電圧降下が大き過ぎます再検討してください。");
    EXPECT_EQ(kDropOnlyJustWithinMessage, "電圧降下がギリギリＯＫですが確認してください。");
    EXPECT_EQ(kEnterDesignCurrentMessage, "設計電流値を入力してください");
    EXPECT_EQ(kEnterFeederLengthMessage, "幹線の亘長を入力してください");
    EXPECT_EQ(kEnterBranchLengthMessage, "亘長を入力してください");
    EXPECT_EQ(kEnterPowerFactorMessage, "力率を入力してください");
    EXPECT_EQ(kEnterDesignLoadCurrentMessage, "設計負荷電流を入力してください");
    EXPECT_EQ(kChooseCableMessage, "電線・ケーブルを選択してください");
}

}  // namespace
