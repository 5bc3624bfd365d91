#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "current_calculator.h"
#include "keypad.h"
#include "scripted_host.h"
#include "test_sheets.h"

using namespace wirelark;
using namespace wirelark::test;

namespace {

// ---- Numeric keypad ---------------------------------------------------------------------------

struct KeyCase {
    const char* meaning;
    const char* keys;
    const char* display;
};

class KeypadKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeypadKeys, DisplayAfterTheKeys) {
    Keypad pad;
    pad.FormShow();
    for (const char* k = GetParam().keys; *k; ++k)
        ASSERT_TRUE(pad.press(*k));
    EXPECT_EQ(pad.Button14Click(), GetParam().display);
    EXPECT_EQ(pad.ten, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keypad, KeypadKeys,
    ::testing::Values(KeyCase{"a second point is ignored", "1.5.", "1.5"},
                      KeyCase{"a point first reads as zero point", ".", "0."},
                      KeyCase{"zeros are kept as keyed", "00", "00"},
                      KeyCase{"a digit after a lone zero makes a decimal", "05", "0.5"},
                      KeyCase{"the point after zero seven is refused", "07.", "0.7"},
                      KeyCase{"whole metres", "120", "120"}),
    [](const auto& p) { return caseName(p.param.meaning); });

TEST(Keypad, EveryShowingStartsEmptyWithThePointAllowedAgain) {
    Keypad pad;
    pad.FormShow();
    pad.press('1');
    pad.press('.');
    pad.Button23Click();
    EXPECT_EQ(pad.Edit1, "");
    pad.FormShow();
    pad.press('2');
    pad.press('.');
    pad.press('5');
    EXPECT_EQ(pad.Edit1, "2.5");
    pad.Edit1DblClick();
    EXPECT_EQ(pad.Edit1, "");
    EXPECT_FALSE(pad.press('x'));
}

// ---- Current/power calculator -----------------------------------------------------------------

struct CalculatorCase {
    const char* meaning;
    CurrentCalculator::Tab tab;
    Phase phase;
    const char* input;
    const char* voltage;
    const char* factor;
    const char* display;
    const char* unit;
};

class CalculatorResults : public ::testing::TestWithParam<CalculatorCase> {};

TEST_P(CalculatorResults, ComputesFromTheKeyedValue) {
    const CalculatorCase& c = GetParam();
    CurrentCalculator calc;
    ScriptedHost host;
    calc.FormActivate();
    calc.TabControl3Change(c.tab);
    calc.phase = c.phase;
    calc.ComboBox9 = c.voltage;
    calc.ComboBox10 = c.factor;
    for (const char* k = c.input; *k; ++k) {
        if (*k == '.')
            calc.Button62Click(host);
        else
            calc.digitClick(*k - '0');
    }
    calc.Button65Click(host);
    EXPECT_EQ(calc.Label145, c.display);
    EXPECT_EQ(calc.Label146, c.unit);
    EXPECT_FALSE(calc.entering());
    EXPECT_TRUE(host.infos.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Calculator, CalculatorResults,
    ::testing::Values(
        CalculatorCase{"one kilowatt single phase at 80 percent", CurrentCalculator::Tab::Current,
                       Phase::Single, "1", "100", "80", "12.50", "A"},
        CalculatorCase{"ten amperes three phase at 200 V", CurrentCalculator::Tab::Power,
                       Phase::Three, "10", "200", "100", "3", "Kw"},
        CalculatorCase{"ten amperes single phase shown as whole kilowatts",
                       CurrentCalculator::Tab::Power, Phase::Single, "10", "100", "80", "1", "Kw"},
        CalculatorCase{"leading zeros are not kept", CurrentCalculator::Tab::Current, Phase::Single,
                       "005", "100", "100", "50.00", "A"},
        CalculatorCase{"a keyed fraction", CurrentCalculator::Tab::Current, Phase::Single, "0.5",
                       "100", "100", "5.00", "A"}),
    [](const auto& p) { return caseName(p.param.meaning); });

TEST(Calculator, HandsBackOnlyACurrentComputedThisTime) {
    CurrentCalculator calc;
    ScriptedHost host;
    calc.FormActivate();
    EXPECT_FALSE(calc.handBack());
    calc.digitClick(1);
    calc.Button65Click(host);
    EXPECT_EQ(calc.handBack(), "12.5");
    calc.FormActivate();
    EXPECT_EQ(calc.Label1, "12.5");  // kept for the window
    EXPECT_FALSE(calc.handBack());
}

TEST(Calculator, ApparentPowerFromTheUnroundedPowerAfterAPowerResultOnly) {
    CurrentCalculator calc;
    ScriptedHost host;
    calc.TabControl3Change(CurrentCalculator::Tab::Power);
    EXPECT_FALSE(calc.Button67Visible);
    calc.phase = Phase::Three;
    calc.ComboBox9 = "200";
    calc.Button63Click();  // 100 %
    calc.Edit7Click();
    calc.Edit7 = "10";
    calc.Edit7KeyUp();
    EXPECT_FALSE(calc.Button67Visible);
    calc.Button65Click(host);
    ASSERT_TRUE(calc.Button67Visible);
    calc.Button67Click(host);
    EXPECT_EQ(calc.Label145, "3.46");
    EXPECT_EQ(calc.Label146, "Kva");
    EXPECT_FALSE(calc.Button67Visible);
}

TEST(Calculator, RefusalsBeepOrExplainAndLeaveTheDisplay) {
    CurrentCalculator calc;
    ScriptedHost host;
    calc.digitClick(2);
    calc.Button62Click(host);
    calc.Button62Click(host);
    EXPECT_EQ(calc.Label145, "2.");
    EXPECT_EQ(host.beeps, 1);

    calc.ComboBox9 = "0";
    calc.Button65Click(host);
    EXPECT_EQ(host.infos,
              (std::vector<std::string>{"「電圧」の「0」は正しい数値ではありません。"}));
    EXPECT_EQ(calc.Label145, "2.");
    EXPECT_TRUE(calc.entering());

    calc.ComboBox9 = "100";
    calc.Button65Click(host);
    EXPECT_EQ(calc.Label145, "25.00");
    calc.choosePhase(Phase::Three, host);  // recomputes the result
    EXPECT_EQ(calc.Label145, "14.43");
    calc.Edit7.clear();
    calc.Button65Click(host);  // a result shown and nothing typed
    EXPECT_EQ(host.beeps, 2);
}

}  // namespace
