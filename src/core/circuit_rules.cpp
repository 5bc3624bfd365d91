#include "circuit_rules.h"

#include <cmath>

#include "message_text.h"

namespace wirelark {

// ---- Electric systems ------------------------------------------------------------------------

const std::array<ElectricSystem, 5>& electricSystems() {
    // Single-phase two-wire and DC two-wire drop on both conductors (K = 2); a balanced
    // three-wire or four-wire system drops on one conductor to the neutral (K = 1); three-phase
    // three-wire drops line to line (K = √3).
    static const std::array<ElectricSystem, 5> kSystems = {{
        {systemName::singlePhaseTwoWire, "100", 100.0, 2.0},
        {systemName::singlePhaseThreeWire, "100/200", 100.0, 1.0},
        {systemName::threePhaseFourWire, "230/400", 230.0, 1.0},
        {systemName::threePhaseThreeWire, "200", 200.0, std::sqrt(3.0)},
        {systemName::directCurrentTwoWire, "400", 400.0, 2.0},
    }};
    return kSystems;
}

const ElectricSystem* findElectricSystem(std::string_view name) {
    for (const ElectricSystem& s : electricSystems())
        if (s.name == name)
            return &s;
    return nullptr;
}

double dropCoefficient(std::string_view system) {
    const ElectricSystem* s = findElectricSystem(system);
    return s ? s->coefficient : 0.0;
}

double systemBaseVoltage(std::string_view system) {
    const ElectricSystem* s = findElectricSystem(system);
    return s ? s->baseVoltage : 100.0;
}

std::string_view defaultVoltageText(std::string_view system) {
    const ElectricSystem* s = findElectricSystem(system);
    return s ? s->defaultVoltage : std::string_view();
}

Expected<double, NumberError> baseVoltageFromText(std::string_view voltage) {
    // A three-wire or four-wire supply is named by both of its voltages; the drop is taken
    // against the lower one, line to neutral.
    if (voltage == "100/200")
        return 100.0;
    if (voltage == "230/400")
        return 230.0;
    return readNumber(voltage);
}

// ---- Load types --------------------------------------------------------------------------------

std::string_view powerFactorText(std::string_view loadType) {
    for (const LoadType& t : kLoadTypes)
        if (t.name == loadType)
            return t.powerFactor;
    return {};
}

// ---- Standard ratings --------------------------------------------------------------------------

std::string selectRating(double current) {
    for (int rating : kSelectionRatings)
        if (current <= rating)
            return std::to_string(rating);
    return {};
}

// ---- Residential feeder ------------------------------------------------------------------------

int demandFactorPercent(int dwellings) {
    struct Band {
        int upTo;
        int percent;
    };
    static constexpr Band kBands[] = {
        {5, 100}, {6, 91},  {7, 83},  {8, 78},  {9, 73},  {10, 70}, {11, 67}, {12, 64},
        {13, 62}, {14, 61}, {15, 59}, {16, 58}, {17, 57}, {18, 56}, {19, 55}, {20, 54},
        {22, 53}, {23, 52}, {25, 51}, {28, 50}, {31, 49}, {34, 48}, {39, 47}, {40, 46},
    };
    for (const Band& b : kBands)
        if (dwellings <= b.upTo)
            return b.percent;
    return kBands[std::size(kBands) - 1].percent;
}

double demandFactor(int dwellings) {
    return demandFactorPercent(dwellings) / 100.0;
}

ResidentialCurrent residentialDesignCurrent(int dwellingsSystem1, int dwellingsSystem2,
                                            double currentPerDwelling) {
    ResidentialCurrent r;
    r.dwellings = dwellingsSystem1 + dwellingsSystem2;
    r.factorPercent = demandFactorPercent(r.dwellings);
    const double connected = r.dwellings * currentPerDwelling;
    r.demandCurrent = connected * r.factorPercent * 0.01;
    r.rating = selectRating(r.demandCurrent);
    r.designCurrent = residentialDesignCurrentText(r.demandCurrent);
    return r;
}

std::string residentialDesignCurrentText(double demandCurrent) {
    // The added 0.1 A moves the rounding point to about .4, so a demand current a little under
    // a half ampere is not rounded down below what the dwellings draw.
    return formatShortest(roundHalfEven(demandCurrent + 0.1));
}

// ---- Impedance and voltage drop ----------------------------------------------------------------

Expected<double> impedance(double resistance, double reactance, double powerFactor) {
    if (!(powerFactor >= 0.0 && powerFactor <= 1.0))
        return Error{"力率は 0 から 1 までの数値を入力してください。"};
    const double sine = std::sqrt(1.0 - powerFactor * powerFactor);
    return resistance * powerFactor + reactance * sine;
}

double voltageDrop(double coefficient, double current, double length, double impedance) {
    return coefficient * current * length * impedance * 0.001;
}

double voltageDrop(std::string_view system, double current, double length, double impedance) {
    return voltageDrop(dropCoefficient(system), current, length, impedance);
}

// ---- Allowable voltage drop
// ----------------------------------------------------------------------

namespace {

// Percentages by length band: up to 60 m, up to 120 m, up to 200 m, beyond. Supplied at low
// voltage by the utility, the service drop has already used part of the allowance, so each
// band allows one point less than from a transformer on site.
int tabulatedPercent(SupplyKind kind, double length) {
    static constexpr int kTransformer[4] = {3, 5, 6, 7};
    static constexpr int kUtility[4] = {2, 4, 5, 6};
    const int* table = kind == SupplyKind::Utility ? kUtility : kTransformer;
    if (length <= 60.0)
        return table[0];
    if (length <= 120.0)
        return table[1];
    if (length <= 200.0)
        return table[2];
    return table[3];
}

}  // namespace

double allowableDropPercent(SupplyKind kind, double length, double typedPercent) {
    if (kind == SupplyKind::Typed)
        return typedPercent;
    return tabulatedPercent(kind, length);
}

double allowableDropFraction(SupplyKind kind, double length, double typedPercent) {
    if (kind == SupplyKind::Typed)
        return typedPercent * 0.01;
    return tabulatedPercent(kind, length) / 100.0;
}

Expected<double> allowableDropFraction(const SupplyChoice& supply, double length) {
    if (supply.kind != SupplyKind::Typed)
        return allowableDropFraction(supply.kind, length);
    const auto typed = readNumber(supply.percent);
    if (!typed)
        return Error{"「" + std::string(kSupplyTypedText) + "」の「" + quotedText(supply.percent) +
                     "」は正しい数値ではありません。"};
    return allowableDropFraction(SupplyKind::Typed, length, *typed);
}

double allowableDrop(double baseVoltage, double fraction) {
    return roundHalfEven(baseVoltage * fraction);
}

// ---- Current and power -------------------------------------------------------------------------

double powerFromCurrent(Phase phase, double current, double voltage, double powerFactorPercent) {
    if (phase == Phase::Three)
        return std::sqrt(3.0) * current * voltage * powerFactorPercent * 0.01 / 1000.0;
    return current * voltage * powerFactorPercent * 0.01 / 1000.0;
}

Expected<double> currentFromPower(Phase phase, double power, double voltage,
                                  double powerFactorPercent) {
    if (voltage == 0.0)
        return Error{"電圧に 0 以外の数値を入力してください。"};
    if (powerFactorPercent == 0.0)
        return Error{"力率に 0 以外の数値を入力してください。"};
    if (phase == Phase::Three)
        return (power * 1000.0) / (std::sqrt(3.0) * voltage * powerFactorPercent * 0.01);
    return (power * 1000.0) / (voltage * powerFactorPercent * 0.01);
}

Expected<double> apparentPower(double power, double powerFactorPercent) {
    if (powerFactorPercent == 0.0)
        return Error{"力率に 0 以外の数値を入力してください。"};
    return power / (powerFactorPercent / 100.0);
}

// ---- Checks and their messages -----------------------------------------------------------------

bool cableBelowDesignCurrent(double designCurrent, double allowableCurrent) {
    return designCurrent > allowableCurrent;
}

std::string cableBelowDesignCurrentMessage(std::string_view cable, std::string_view designCurrent) {
    return "ケーブル(" + std::string(cable) + ")の許容電流が設計電流値(" +
           std::string(designCurrent) + "A" + ")より小さいので変更してください。";
}

bool dropTooLarge(double drop, double allowable) {
    return drop > allowable;
}

bool dropOnlyJustWithin(double drop, double allowable) {
    return allowable > 0.0 && drop <= allowable && drop >= allowable * kDropMarginShare;
}

bool breakerAboveCable(std::int64_t allowableCurrent, std::int64_t breakerRating) {
    return allowableCurrent < breakerRating;
}

std::string breakerAboveCableQuestion(std::string_view rating) {
    return "遮断機定格電流 " + std::string(rating) +
           "Ａ が電線許容電流値より大きいですが、修正しますか？。";
}

MainDeviceAction mainDeviceAgainstDesignCurrent(std::int64_t mainDevice,
                                                std::int64_t designCurrent) {
    if (mainDevice < designCurrent)
        return MainDeviceAction::Raise;
    if (mainDevice > designCurrent)
        return MainDeviceAction::AskToKeep;
    return MainDeviceAction::Keep;
}

std::string mainDeviceQuestion(std::string_view mainDevice) {
    return "主幹器具定格電流は " + std::string(mainDevice) + "Ａ です。このまままで良いですか？。";
}

}  // namespace wirelark
