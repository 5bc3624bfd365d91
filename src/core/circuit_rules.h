#pragma once
// The electrical rules of one circuit: electric systems and their voltage-drop coefficient,
// load types, standard breaker ratings, the demand factor of a residential feeder, cable
// impedance at a power factor, the voltage drop of a run, the allowable drop, current and
// power, and the checks a dialog makes with the messages it shows. The feeder and branch
// dialogs, the current/power calculator and the sheet recalculation all use these; none keeps
// a variant of its own. Every function is a pure function of numbers and texts.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "number_text.h"
#include "result.h"

namespace wirelark {

// ---- Electric systems ------------------------------------------------------------------------

namespace systemName {
inline constexpr std::string_view singlePhaseTwoWire = "単相2線";
inline constexpr std::string_view singlePhaseThreeWire = "単相3線";
inline constexpr std::string_view threePhaseFourWire = "三相4線";
inline constexpr std::string_view threePhaseThreeWire = "三相3線";
inline constexpr std::string_view directCurrentTwoWire = "直流2線";
}  // namespace systemName

// The order in which the dialogs offer the systems and the voltages.
inline constexpr std::array<std::string_view, 5> kSystemsInDialogOrder = {
    systemName::singlePhaseThreeWire, systemName::singlePhaseTwoWire,
    systemName::threePhaseThreeWire,  systemName::directCurrentTwoWire,
    systemName::threePhaseFourWire,
};
inline constexpr std::array<std::string_view, 5> kVoltagesInDialogOrder = {
    "100/200", "100", "200", "400", "230/400",
};
inline constexpr std::string_view kDefaultSystem = systemName::singlePhaseThreeWire;
inline constexpr std::string_view kDefaultVoltage = "100/200";

struct ElectricSystem {
    std::string_view name;
    std::string_view defaultVoltage;  // voltage text the dialogs put in for the system
    double baseVoltage;               // voltage the allowable drop is a percentage of [V]
    double coefficient;               // K of e = K × I × L × Z / 1000
};

// The five known systems, in the order of their table. K of "三相3線" is √3.
const std::array<ElectricSystem, 5>& electricSystems();

// The system of that exact text, or nullptr when the text names none of the five.
const ElectricSystem* findElectricSystem(std::string_view name);

// Coefficient K of a system text; 0 for a text that is none of the five, so that an unknown
// system gives no drop rather than a made-up one.
double dropCoefficient(std::string_view system);

// Base voltage of a system text as the sheet recalculation takes it (not from the voltage
// text); 100 for an unknown system.
double systemBaseVoltage(std::string_view system);

// Default voltage text of a system; empty for an unknown system.
std::string_view defaultVoltageText(std::string_view system);

// Base voltage from a voltage text as entered: "100/200" -> 100, "230/400" -> 230, any other
// text is the number it spells ("200" -> 200).
Expected<double, NumberError> baseVoltageFromText(std::string_view voltage);

// ---- Load types --------------------------------------------------------------------------------

struct LoadType {
    std::string_view name;
    std::string_view powerFactor;  // cos θ as the power-factor field shows it
};

inline constexpr std::array<LoadType, 3> kLoadTypes = {{
    {"電灯・コンセント", "0.95"},
    {"電動機(ｺﾝﾃﾞﾝｻ有)", "0.9"},
    {"電動機(ｺﾝﾃﾞﾝｻ無)", "0.8"},
}};
inline constexpr std::string_view kDefaultLoadType = "電灯・コンセント";

// Power-factor text of a load type; empty for an unknown load type.
std::string_view powerFactorText(std::string_view loadType);

// ---- Standard ratings --------------------------------------------------------------------------

// Ratings from which a breaker or main device is selected automatically [A]. 900 A is a
// rating a user may choose but the selection never proposes.
inline constexpr std::array<int, 27> kSelectionRatings = {
    20,  30,  40,  50,  60,  75,  100, 125,  150,  175,  200,  225,  250,  300,
    350, 400, 500, 600, 630, 700, 800, 1000, 1200, 1250, 1400, 1500, 1600,
};

// The rating texts the rating fields of the dialogs offer.
inline constexpr std::array<std::string_view, 28> kOfferedRatingTexts = {
    "20",  "30",  "40",   "50",   "60",   "75",   "100",  "125",  "150", "175",
    "200", "225", "250",  "300",  "350",  "400",  "500",  "600",  "630", "700",
    "800", "900", "1000", "1200", "1250", "1400", "1500", "1600",
};

// The smallest selection rating not below `current`, as text: 50 -> "50", 50.1 -> "60", any
// current up to 20 (0 and negatives included) -> "20". Above 1600 A no standard breaker fits
// and the result is empty.
std::string selectRating(double current);

// ---- Residential feeder ------------------------------------------------------------------------

// Demand factor in percent for `dwellings` dwellings on a residential feeder: 100 up to five
// dwellings (and for none), 46 from 40 dwellings on. The table stops at 40; beyond it the
// last factor holds, since more dwellings never raise the simultaneity.
int demandFactorPercent(int dwellings);

// The same factor as a fraction (0.91 for six dwellings).
double demandFactor(int dwellings);

struct ResidentialCurrent {
    int dwellings = 0;           // N = N1 (+ N2 with two systems)
    int factorPercent = 100;     // f for N
    double demandCurrent = 0.0;  // I = N × Id × f × 0.01 [A]
    std::string rating;          // breaker selected for I (not for the rounded value)
    std::string designCurrent;   // I + 0.1 rounded to a whole ampere, halves to even
};

// Design current of a residential feeder from the dwellings of system 1 and system 2 (0 with
// one system) and the design current of one dwelling. N = 6, Id = 50 -> I = 273, "300", "273".
ResidentialCurrent residentialDesignCurrent(int dwellingsSystem1, int dwellingsSystem2,
                                            double currentPerDwelling);

// The design current shown and stored for a demand current: (I + 0.1) rounded to a whole
// ampere, halves to even, so 272.35 -> "272" and 272.45 -> "273".
std::string residentialDesignCurrentText(double demandCurrent);

// ---- Impedance and voltage drop ----------------------------------------------------------------

// Impedance of a cable at a power factor: Z = R cos θ + X sin θ [Ω/km]. A power factor outside
// 0..1 has no sine and is refused.
Expected<double> impedance(double resistance, double reactance, double powerFactor);

// Voltage drop of one run, e = K × I × L × Z × 0.001 [V], the factors multiplied in that order
// (current in A, length in m, impedance in Ω/km).
double voltageDrop(double coefficient, double current, double length, double impedance);
double voltageDrop(std::string_view system, double current, double length, double impedance);

// ---- Allowable voltage drop
// ----------------------------------------------------------------------

// How the installation is supplied; it decides the allowable drop.
enum class SupplyKind {
    Transformer,  // "電気使用場所に設けた変圧器から供給" (also a building's own transformer)
    Utility,  // "電気事業者から低圧で電気の供給を受ける"
    Typed,    // "指定した電圧降下(%)で計算する": a percentage the user types
};

inline constexpr std::string_view kSupplyTransformerText = "電気使用場所に設けた変圧器から供給";
inline constexpr std::string_view kSupplyUtilityText = "電気事業者から低圧で電気の供給を受ける";
inline constexpr std::string_view kSupplyTypedText = "指定した電圧降下(%)で計算する";
inline constexpr std::string_view kSupplyTransformerNote = "※マンションなど専用変圧器の場合も含む";
inline constexpr std::string_view kSupplyGroupTitle = "※内線規程に記載されている電圧降下許容値";
inline constexpr std::string_view kDefaultTypedPercent = "3";

// The supply kind together with the percentage of "指定した電圧降下(%)で計算する": one choice,
// shared by both input dialogs and the recalculation of the sheet. `percent` is the dialogs'
// percentage field as it stands; the allowable-drop step of a dialog writes the tabulated
// percentage into it for the first two kinds.
struct SupplyChoice {
    SupplyKind kind = SupplyKind::Transformer;
    std::string percent{kDefaultTypedPercent};

    SupplyChoice() = default;
    SupplyChoice(SupplyKind k, std::string typed = std::string(kDefaultTypedPercent))
        : kind(k), percent(std::move(typed)) {}
    friend bool operator==(const SupplyChoice&, const SupplyChoice&) = default;
};

// The allowable fraction of the base voltage for a run of `length` metres under `supply`: the
// table for the first two kinds, the typed percentage × 0.01 for the third. A typed percentage
// that is not a number is an error naming the field.
Expected<double> allowableDropFraction(const SupplyChoice& supply, double length);

// Allowable drop in percent of the base voltage for a run of `length` metres measured from the
// origin of the supply. Transformer: 3, 5, 6, 7; utility: 2, 4, 5, 6 for L ≤ 60, ≤ 120, ≤ 200
// and beyond. A band includes its upper limit (60 m is in the first band, 60.5 m in the
// second). For SupplyKind::Typed the typed percentage is returned as it is.
double allowableDropPercent(SupplyKind kind, double length, double typedPercent = 0.0);

// The same as a fraction: the table's percentages exactly as decimal fractions (0.03), the
// typed percentage × 0.01.
double allowableDropFraction(SupplyKind kind, double length, double typedPercent = 0.0);

// Allowable drop in whole volts: base voltage × fraction rounded, halves to even
// (230 V × 3 % = 6.9 -> 7; 230 V × 5 % = 11.5 -> 12).
double allowableDrop(double baseVoltage, double fraction);

// ---- Current and power -------------------------------------------------------------------------

enum class Phase {
    Single,  // "単相2線、単相３線"
    Three,   // "３相３線"
};

// P [kW] from I [A], V [V] and the power factor c in percent: I × V × c × 0.01 / 1000, with √3
// in front for three phases.
double powerFromCurrent(Phase phase, double current, double voltage, double powerFactorPercent);

// I [A] from P [kW]: P × 1000 / (V × c × 0.01), with √3 in the divisor for three phases. A
// voltage or power factor of 0 has no current and is refused.
Expected<double> currentFromPower(Phase phase, double power, double voltage,
                                  double powerFactorPercent);

// S [kVA] = P / (c / 100). The calculator passes the power as it shows it (whole kW).
Expected<double> apparentPower(double power, double powerFactorPercent);

// ---- Checks and their messages -----------------------------------------------------------------

// Texts that stand in the dialogs while no cable has been chosen.
inline constexpr std::string_view kResistancePlaceholder = "R";
inline constexpr std::string_view kReactancePlaceholder = "X";
inline constexpr std::string_view kImpedancePlaceholder = "Z";

// The chosen cable carries less than the design current. Equal values pass.
bool cableBelowDesignCurrent(double designCurrent, double allowableCurrent);
std::string cableBelowDesignCurrentMessage(std::string_view cable, std::string_view designCurrent);

// The drop exceeds the allowable drop; the dialog stays open. Equal values pass.
bool dropTooLarge(double drop, double allowable);
inline constexpr std::string_view kDropTooLargeMessage =
    "電圧降下が大き過ぎます再検討してください。";

// The drop is within the allowable drop but uses 95 % of it or more: worth a second look,
// though it does not stop the confirmation.
inline constexpr double kDropMarginShare = 0.95;
bool dropOnlyJustWithin(double drop, double allowable);
inline constexpr std::string_view kDropOnlyJustWithinMessage =
    "電圧降下がギリギリＯＫですが確認してください。";

// The breaker is rated above what the cable carries; both are compared as whole amperes. The
// question offers to go back and correct it.
bool breakerAboveCable(std::int64_t allowableCurrent, std::int64_t breakerRating);
std::string breakerAboveCableQuestion(std::string_view rating);

// What a branch dialog does with its main device M when the design current I is chosen: raise
// M to I silently when it is below, ask whether to keep it when it is above, nothing when equal.
enum class MainDeviceAction { Raise, AskToKeep, Keep };
MainDeviceAction mainDeviceAgainstDesignCurrent(std::int64_t mainDevice,
                                                std::int64_t designCurrent);
std::string mainDeviceQuestion(std::string_view mainDevice);

// Refusals for inputs that are missing.
inline constexpr std::string_view kEnterDesignCurrentMessage = "設計電流値を入力してください";
inline constexpr std::string_view kEnterFeederLengthMessage = "幹線の亘長を入力してください";
inline constexpr std::string_view kEnterBranchLengthMessage = "亘長を入力してください";
inline constexpr std::string_view kEnterPowerFactorMessage = "力率を入力してください";
inline constexpr std::string_view kEnterDesignLoadCurrentMessage = "設計負荷電流を入力してください";
inline constexpr std::string_view kChooseCableMessage = "電線・ケーブルを選択してください";

}  // namespace wirelark
