#include "apartment_example.h"

#include <algorithm>
#include <string>

#include "cable_selection.h"
#include "checks.h"
#include "circuit_rules.h"
#include "number_text.h"
#include "tree_editing.h"
#include "write_back.h"

namespace wirelark::examples {

namespace {

constexpr std::string_view kCvt = "600V CVD、600V CVT及びEM 600V CED/F、EM 600V CET/F";
constexpr std::string_view kCv3 = "600V CV及びEM 600V CE/F 2心、3心一括シース";
constexpr std::string_view kVvf = "VVF";
// Design current of one dwelling [A].
constexpr double kDwellingCurrent = 30.0;

// The cable as the selection dialog hands it back after the engineer clicked its size.
CableChoice chooseCable(std::string_view group, std::string_view size, std::string_view method,
                        std::string_view system) {
    CableSelection dialog;
    dialog.preselectFirstGroup();
    dialog.activate(
        {Caller::FeederDialog, std::string(method), "H=600", std::string(system), Frequency::Hz60});
    dialog.selectGroup(group);
    const auto& grid = dialog.impedanceGrid();
    for (int r = kImpedanceHeaderRows; r < kImpedanceGridRows; ++r) {
        if (grid[static_cast<std::size_t>(r)][0] != size)
            continue;
        dialog.clickRow(r);
        if (auto choice = dialog.doubleClickRow(r))
            return *choice;
    }
    return {};
}

// What the dialogs compute for a circuit once its cable is chosen: impedance, voltage drop and
// allowable drop over `dropLength` (the length from the feeder's origin).
struct Circuit {
    std::string impedance, drop, allowableDrop;
};
Circuit computeCircuit(std::string_view system, double current, double length, double dropLength,
                       const CableChoice& cable, double powerFactor) {
    const double z =
        impedance(*readNumber(cable.resistance), *readNumber(cable.reactance), powerFactor)
            .valueOr(0.0);
    const std::string zText = formatThreeDecimals(z);
    const double e = voltageDrop(system, current, length, *readNumber(zText));
    const double fraction = allowableDropFraction(SupplyKind::Transformer, dropLength);
    return {zText, formatTwoDecimals(e),
            formatShortest(allowableDrop(systemBaseVoltage(system), fraction))};
}

int nextFreeRow(const Sheet& sheet) {
    int r = sheet.lastUsedRow();
    return isBlank(sheet.cell(r, col::glyph)) ? r : r + 2;
}

// A residential feeder of `dwellings` dwellings per system, then its branch rows entered in
// the branch dialog with "same data below" and numbered load names.
void addResidentialFeeder(Sheet& sheet, int& kansenno, BlockRange& last, std::string name,
                          int systems, int dwellings, double trunkLength) {
    const int row = nextFreeRow(sheet);
    const std::string system = "単相3線";
    const auto demand =
        residentialDesignCurrent(dwellings, systems == 2 ? dwellings : 0, kDwellingCurrent);
    const double current = *readNumber(demand.designCurrent);
    const CableChoice trunkCable = chooseCable(kCvt, "100゜", "保護管配線", system);
    const Circuit trunk =
        computeCircuit(system, current, trunkLength, trunkLength, trunkCable, 0.95);

    FeederEntry e;
    e.name = std::move(name);
    e.powerFactor = "0.95";
    e.cable = trunkCable.cableName;
    e.method = "保護管配線";
    e.allowableCurrent = trunkCable.allowableCurrent;
    e.impedance = trunk.impedance;
    e.voltageDrop = trunk.drop;
    e.allowableDrop = trunk.allowableDrop;
    e.sizeKey = trunkCable.sizeKey;
    e.trunkSystem = system;
    e.trunkVoltage = "100/200";
    e.trunkBreaker = demand.rating;
    e.trunkLength = formatShortest(trunkLength);
    e.trunkDesignCurrent = demand.designCurrent;
    e.branchesSystem1 = std::to_string(dwellings);
    e.branchesSystem2 = std::to_string(dwellings);
    e.dwellingMainBreaker = "40";
    e.dwellingCurrent = formatShortest(kDwellingCurrent);
    e.lengthBetweenBranches = "3";
    e.systems = systems;
    const FeederWriteResult written =
        writeFeederDialogResult(sheet, row, 2, e, kansenno, last, SupplyKind::Transformer);
    kansenno = written.kansenno;
    last = written.range;

    // Every dwelling's branch: 8 m of CV 3-core from the trunk to the dwelling panel, 14 mm²
    // under a 150 A breaker and 22 mm² under a bigger one (the 35 % rule of tapped conductors),
    // entered once per system on its first branch row with "same data below". On a branch row
    // the run covers every branch row below, so system 2 is entered after system 1.
    const CableChoice branchCable =
        chooseCable(kCv3, *readNumber(demand.rating) > 150 ? "22゜" : "14゜", "保護管配線", system);
    for (const std::string_view first : {glyph::branchTwo, glyph::branch}) {
        int r = last.s1;
        while (r <= last.e1 && sheet.cell(r, col::glyph) != first)
            ++r;
        if (r > last.e1)
            continue;
        auto start = branchDialogStart(sheet, r, BranchEntry{});
        if (!start)
            return;
        BranchEntry b = start->entry;
        const double before = readNumber(b.lengthBefore).valueOr(0.0);
        const Circuit c =
            computeCircuit(system, kDwellingCurrent, 8.0, before + 8.0, branchCable, 0.95);
        b.length = "8";
        b.loadName = first == glyph::branchTwo ? "住戸A-" : "住戸B-";
        b.nameNumber = "1";
        b.nameSuffix = "F";
        b.cable = branchCable.cableName;
        b.method = "保護管配線";
        b.allowableCurrent = branchCable.allowableCurrent;
        b.impedance = c.impedance;
        b.voltageDrop = c.drop;
        b.allowableDrop = c.allowableDrop;
        b.sizeKey = branchCable.sizeKey;
        b.sameDataBelow = true;
        last = writeBranchDialogResult(sheet, r, b, SupplyKind::Transformer).range;
    }
}

struct CommonLoad {
    const char* name;
    const char* system;
    const char* voltage;
    const char* loadName;
    double current;
    double powerFactor;
    double length;
    std::string_view group;
    const char* size;
    const char* method;
};

void addSingleFeeder(Sheet& sheet, int& kansenno, BlockRange& last, const CommonLoad& load) {
    const int row = nextFreeRow(sheet);
    const CableChoice cable = chooseCable(load.group, load.size, load.method, load.system);
    const Circuit c = computeCircuit(load.system, load.current, load.length, load.length, cable,
                                     load.powerFactor);
    FeederEntry e;
    e.name = load.name;
    e.system = load.system;
    e.voltage = load.voltage;
    e.breaker = selectRating(load.current * 1.25);
    e.length = formatShortest(load.length);
    e.loadName = load.loadName;
    e.mainBreaker = selectRating(load.current);
    e.designCurrent = formatShortest(load.current);
    e.powerFactor = formatShortest(load.powerFactor);
    e.cable = cable.cableName;
    e.method = load.method;
    e.allowableCurrent = cable.allowableCurrent;
    e.impedance = c.impedance;
    e.voltageDrop = c.drop;
    e.allowableDrop = c.allowableDrop;
    e.sizeKey = cable.sizeKey;
    const FeederWriteResult written =
        writeFeederDialogResult(sheet, row, 1, e, kansenno, last, SupplyKind::Transformer);
    kansenno = written.kansenno;
    last = written.range;
}

}  // namespace

Sheet buildApartmentSheet(int copies) {
    Sheet sheet;
    sheet.heading.buildingName = "サンプルマンション新築工事";
    sheet.heading.eraLabel = "令和";
    sheet.heading.eraName = "令和";
    sheet.heading.eraYear = "6";
    sheet.heading.westernYear = "2024";
    sheet.heading.month = "4";
    sheet.heading.day = "1";

    const CommonLoad commonLoads[] = {
        {"L-1", "単相3線", "100/200", "共用灯", 18, 0.95, 25, kVvf, "2.6-3C", "保護管配線"},
        {"P-1", "三相3線", "200", "給水ポンプ", 22, 0.8, 40, kCv3, "8゜", "保護管配線"},
        {"EV-1", "三相3線", "200", "エレベーター", 45, 0.9, 55, kCv3, "22゜", "気中暗渠配線"},
        {"L-2", "単相2線", "100", "外灯", 8, 0.95, 50, kCv3, "8゜", "地中保護管配線"},
    };

    int kansenno = 1;
    BlockRange last;
    for (int copy = 0; copy < copies; ++copy) {
        addResidentialFeeder(sheet, kansenno, last, "住棟A", 1, 5, 30);
        addResidentialFeeder(sheet, kansenno, last, "住棟B", 2, 4, 30);
        for (const CommonLoad& load : commonLoads)
            addSingleFeeder(sheet, kansenno, last, load);
    }
    applyCellChecks(sheet, 0, sheet.rowCount() - 1);
    return sheet;
}

Sheet buildLargeSheet(int rows) {
    const Sheet one = buildApartmentSheet();
    const int used = one.lastUsedRow() + 2;  // rows of one copy, with its blank separator
    const int copies = std::max(1, rows / used);
    Sheet big(copies * used + 20);
    for (int c = 0; c < copies; ++c) {
        for (int r = 0; r < used; ++r) {
            Row cells = one.row(r);
            const int stretch = c % 7;
            if (auto length = readInteger(cells[col::length]); length && stretch != 0)
                cells[col::length] = std::to_string(*length + stretch);
            big.setRow(c * used + r, std::move(cells));
        }
    }
    big.heading = one.heading;
    big.settings = one.settings;
    renumberFeeders(big);
    return big;
}

}  // namespace wirelark::examples
