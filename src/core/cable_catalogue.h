#pragma once
// The cable catalogue: every wire and cable construction the program offers, with its AC
// resistance and reactance per kilometre at 50 Hz and 60 Hz, and the allowable-current tables
// with the factors that correct them for the way the cable is laid.
//
// Every value is text exactly as the manufacturers' tables print it ("0.1" stays "0.1"): it
// is shown and handed on as text and converted only by the calculation that uses it.

#include <optional>
#include <span>
#include <string_view>

#include "sheet.h"

namespace wirelark {

// The allowable-current table that belongs to a cable group.
enum class AllowableFamily { IV, CV, CVT, FP, VVFVV };

// The correction panel a cable group shows beside its impedance table: the number of wires in
// one conduit with the ambient temperature (IV wires, `Panel3`), or the installation method
// with the ambient or ground temperature (all cables, `Panel5`).
enum class CorrectionPanel { ConductorCount, InstallationTemperature };

// One conductor size of a cable group, in ohm per kilometre.
struct ImpedanceRow {
    // "38゜" (square millimetres, U+309C), "1.6mm" (solid wire), "2゜-2C" (with cores),
    // "2ﾟx2" (flat cable, U+FF9F). Its last character is dropped for the size key.
    std::string_view size;
    std::string_view r50;
    std::string_view x50;
    std::string_view r60;
    std::string_view x60;
};

struct CableGroup {
    // The exact text of the group in the group selector; full-width characters included.
    std::string_view description;
    // Codes offered in the family selector; the first one is preselected.
    std::span<const std::string_view> familyCodes;
    // Conductor temperature of the resistance values: "(90℃)", "(60℃)", "(75℃)" or empty.
    std::string_view temperatureLabel;
    AllowableFamily allowableFamily;
    CorrectionPanel panel;
    // False for the flat EM-FP group: reachable only by typing its exact description.
    bool offeredInSelector;
    std::span<const ImpedanceRow> rows;
};

// The 18 groups, in the order in which a description is matched.
std::span<const CableGroup> cableGroups();
// The group with exactly this description, compared character for character; null if none.
const CableGroup* findCableGroup(std::string_view description);
// The descriptions listed in the group selector: every group but the flat EM-FP one.
std::span<const std::string_view> selectorDescriptions();

// R and X of a row at a frequency (50 Hz: columns 1 and 2; 60 Hz: columns 3 and 4).
std::string_view resistance(const ImpedanceRow& row, Frequency frequency);
std::string_view reactance(const ImpedanceRow& row, Frequency frequency);

// One row of an allowable-current table, in the columns of the allowable-current grid.
// IV, FP and VVF/VV carry their allowable current in `current` and nothing in the three
// installation columns; CV and CVT have an empty `current`, which the installation and
// temperature correction fills from one of the installation columns.
struct AllowableRow {
    std::string_view key;            // "CV 38 -1C": family, size and core count
    std::string_view outerDiameter;  // [mm]; VVF: flat dimensions "6.2x9.4"
    std::string_view crossSection;   // [mm²]
    std::string_view current;        // [A]
    std::string_view weight;         // [kg/km]
    std::string_view inAir;          // laid in air or culvert, at 40 ℃ [A]
    std::string_view inConduit;      // in conduit in air or culvert, at 40 ℃ [A]
    std::string_view buried;         // in buried conduit, at 25 ℃ [A]
};

std::span<const AllowableRow> allowableTable(AllowableFamily family);

// Number of wires in one conduit, the radio buttons "３本以下" (1) to "６０本以上" (7).
inline constexpr int kConductorCountOptions = 7;
std::string_view conductorCountCaption(int option);
// Reduction for that many wires in one conduit. Held in single precision, as the values have
// always been computed with (0.7 is 0.699999988).
float conductorCountFactor(int option);

// The three ways a CV or CVT cable may be laid, each with the temperature its table values
// hold at.
enum class Installation { None, InAirOrCulvert, ConduitInAir, BuriedConduit };
struct InstallationBase {
    std::string_view caption;  // "基本温度40℃"
    int temperature;           // [℃]
    int radio;                 // value of `Radio` after this method reset the temperature
};
// The base of a method; None has no base.
std::optional<InstallationBase> installationBase(Installation installation);

// Items of the selectors of the correction and grouping panels.
std::span<const std::string_view> ambientItems();                  // IV: "30" … "60"
std::span<const std::string_view> installationTemperatureItems();  // "20" … "90"
std::span<const std::string_view> tierItems();                     // "1", "2", "3"
std::span<const std::string_view> spacingItems();                  // "S=d", "S=2d", "S=3d"
// Cables per tier for a number of tiers and a spacing; empty for an unknown combination.
std::span<const std::string_view> cablesPerTierItems(std::string_view tiers,
                                                     std::string_view spacing);
// Reduction for cables laid side by side, by the key tiers + cables per tier + spacing
// ("39～10S=d"); 1.0 for a key the table does not hold.
double groupingFactor(std::string_view key);

}  // namespace wirelark
