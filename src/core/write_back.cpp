#include "write_back.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "checks.h"
#include "circuit_rules.h"
#include "message_text.h"
#include "row_kind.h"

namespace wirelark {

namespace {

constexpr std::int64_t kMaxBranches = 1000;

Error notAnIntegerError(int row, std::string_view field, std::string_view text) {
    return Error{std::to_string(row + 1) + " 行目「" + std::string(field) + "」の「" +
                 quotedText(text) + "」は整数ではありません。"};
}

// A branch count of the feeder dialog; a blank box takes `fallback`, as the dialog shows it.
Expected<int> readBranchCount(const std::string& text, std::string_view fallback, int row,
                              std::string_view field) {
    const std::string_view shown = isBlank(text) ? fallback : std::string_view(text);
    const auto count = readInteger(shown);
    if (!count)
        return notAnIntegerError(row, field, shown);
    // The dialog offers 1 to 50; a count far beyond would only add thousands of rows.
    if (*count > kMaxBranches)
        return Error{std::to_string(row + 1) + " 行目「" + std::string(field) + "」の「" +
                     quotedText(shown) + "」が多すぎます。" + std::to_string(kMaxBranches) +
                     " 以下にしてください。"};
    return static_cast<int>(std::max<std::int64_t>(*count, 0));
}

// The last-range check after a single feeder only makes sense while those rows still form the
// block the search found; after a deletion or a paste they may hold another feeder's rows, whose
// verdicts would then be judged against the wrong head row.
bool stillOneBlock(const Sheet& sheet, BlockRange range) {
    if (range.s1 < 0 || range.e1 < range.s1 || range.e1 >= sheet.rowCount())
        return false;
    if (isBlank(sheet.cell(range.s1, col::number)))
        return false;
    return findFeederRange(sheet, range.s1) == range;
}

void writeSingleRowCells(Sheet& sheet, int row, const FeederEntry& e) {
    sheet.setCell(row, col::name, e.name);
    sheet.setCell(row, col::system, e.system);
    sheet.setCell(row, col::voltage, e.voltage);
    sheet.setCell(row, col::breaker, e.breaker);
    sheet.setCell(row, col::length, e.length);
    sheet.setCell(row, col::loadName, e.loadName);
    sheet.setCell(row, col::mainBreaker, e.mainBreaker);
    sheet.setCell(row, col::designCurrent, e.designCurrent);
    sheet.setCell(row, col::powerFactor, e.powerFactor);
    sheet.setCell(row, col::cable, e.cable);
    sheet.setCell(row, col::method, e.method);
    sheet.setCell(row, col::allowableCurrent, e.allowableCurrent);
    sheet.setCell(row, col::impedance, e.impedance);
    sheet.setCell(row, col::singleDrop, e.voltageDrop);
    sheet.setCell(row, col::allowableDrop, e.allowableDrop);
    sheet.setCell(row, col::remarks, e.remarks);
    sheet.setCell(row, col::sizeKey, e.sizeKey);
    sheet.setCell(row, col::glyph, std::string(glyph::single));
}

// The cells a branch-dialog row and a run row share.
void writeBranchRowCells(Sheet& sheet, int row, const BranchEntry& e) {
    sheet.setCell(row, col::length, e.length);
    sheet.setCell(row, col::mainBreaker, e.mainBreaker);
    sheet.setCell(row, col::designCurrent, e.designCurrent);
    sheet.setCell(row, col::powerFactor, e.powerFactor);
    sheet.setCell(row, col::cable, e.cable);
    sheet.setCell(row, col::method, e.method);
    sheet.setCell(row, col::allowableCurrent, e.allowableCurrent);
    sheet.setCell(row, col::impedance, e.impedance);
    sheet.setCell(row, col::singleDrop, e.voltageDrop);
    sheet.setCell(row, col::allowableDrop, e.allowableDrop);
    sheet.setCell(row, col::sizeKey, e.sizeKey);
}

bool isRow(const Sheet& sheet, int row) {
    return row >= 0 && row < sheet.rowCount();
}

Error noSuchRowError(int row) {
    return Error{std::to_string(row + 1) + " 行目はシートにありません。"};
}

void recordBlockRows(Sheet& sheet, BlockRange range) {
    sheet.setCell(range.s1, col::blockRows, std::to_string(range.e1 - range.s1 + 1));
}

}  // namespace

std::string deriveLoadType(std::string_view system, std::string_view powerFactor,
                           std::string current) {
    namespace sys = systemName;
    if (system == sys::singlePhaseTwoWire || system == sys::singlePhaseThreeWire ||
        system == sys::directCurrentTwoWire)
        return std::string(kLoadTypes[0].name);
    if (system == sys::threePhaseFourWire || system == sys::threePhaseThreeWire) {
        // Only the exact texts the load types put into the power-factor field identify a motor.
        for (const LoadType& type : {kLoadTypes[1], kLoadTypes[2]})
            if (powerFactor == type.powerFactor)
                return std::string(type.name);
    }
    return current;
}

std::string baseVoltageForSystem(std::string_view system, std::string current) {
    const ElectricSystem* known = findElectricSystem(system);
    return known ? formatShortest(known->baseVoltage) : current;
}

FeederDialogStart feederDialogStart(const Sheet& sheet, int uy1, int kansenno, FeederEntry shown) {
    FeederDialogStart start{std::move(shown), false};
    FeederEntry& e = start.entry;
    if (!isRow(sheet, uy1))
        return start;
    if (sheet.cell(uy1, col::glyph) == glyph::single) {
        start.existingSingleFeeder = true;
        e.number = sheet.cell(uy1, col::number);
        e.name = sheet.cell(uy1, col::name);
        e.system = sheet.cell(uy1, col::system);
        e.voltage = sheet.cell(uy1, col::voltage);
        e.breaker = sheet.cell(uy1, col::breaker);
        e.length = sheet.cell(uy1, col::length);
        e.loadName = sheet.cell(uy1, col::loadName);
        e.mainBreaker = sheet.cell(uy1, col::mainBreaker);
        e.designCurrent = sheet.cell(uy1, col::designCurrent);
        e.powerFactor = sheet.cell(uy1, col::powerFactor);
        e.cable = sheet.cell(uy1, col::cable);
        e.method = sheet.cell(uy1, col::method);
        e.allowableCurrent = sheet.cell(uy1, col::allowableCurrent);
        e.impedance = sheet.cell(uy1, col::impedance);
        e.voltageDrop = sheet.cell(uy1, col::singleDrop);
        e.allowableDrop = sheet.cell(uy1, col::allowableDrop);
        e.remarks = sheet.cell(uy1, col::remarks);
        e.sizeKey = sheet.cell(uy1, col::sizeKey);
        e.loadType = deriveLoadType(e.system, e.powerFactor, std::move(e.loadType));
    }
    if (sheet.cell(uy1, col::number).empty())
        e.number = std::to_string(kansenno);
    return start;
}

Expected<BranchDialogStart> branchDialogStart(const Sheet& sheet, int uy1, BranchEntry shown) {
    if (!isRow(sheet, uy1))
        return noSuchRowError(uy1);
    if (isBlank(sheet.cell(uy1, col::feederNumber)))
        return Error{std::to_string(uy1 + 1) +
                     " 行目はどの幹線にも属していません。幹線を入力し直してください。"};
    BranchDialogStart start{std::move(shown), findFeederRange(sheet, uy1), false};
    BranchEntry& e = start.entry;
    const int head = start.range.s1;
    e.feederName = sheet.cell(head, col::name);
    e.system = sheet.cell(head, col::system);
    e.voltage = sheet.cell(head, col::voltage);
    e.feederBreaker = sheet.cell(head, col::breaker);

    // Cells that are empty keep what the dialog held (a cable once chosen, the last length).
    const auto takeUnlessEmpty = [&](std::string& field, int column) {
        if (!sheet.cell(uy1, column).empty())
            field = sheet.cell(uy1, column);
    };
    e.glyph = sheet.cell(uy1, col::glyph);
    takeUnlessEmpty(e.length, col::length);
    e.loadName = sheet.cell(uy1, col::loadName);
    e.mainBreaker = sheet.cell(uy1, col::mainBreaker);
    e.designCurrent = sheet.cell(uy1, col::designCurrent);
    e.powerFactor = sheet.cell(uy1, col::powerFactor);
    takeUnlessEmpty(e.cable, col::cable);
    e.method = sheet.cell(uy1, col::method);
    takeUnlessEmpty(e.allowableCurrent, col::allowableCurrent);
    takeUnlessEmpty(e.impedance, col::impedance);
    e.voltageDrop = sheet.cell(uy1, col::singleDrop);
    e.allowableDrop = sheet.cell(uy1, col::allowableDrop);
    e.remarks = sheet.cell(uy1, col::remarks);
    e.lengthBefore = sheet.cell(uy1, col::cumulativeLength);
    takeUnlessEmpty(e.sizeKey, col::sizeKey);

    // The allowable drop of the row counts from where the row starts: its cumulative length
    // without its own length.
    const std::string_view own = sheet.cell(uy1, col::length);
    if (!own.empty() && !e.lengthBefore.empty()) {
        const auto total = readNumber(e.lengthBefore);
        if (!total)
            return cellNumberError(uy1, col::cumulativeLength, total.error());
        const auto length = readNumber(own);
        if (!length)
            return cellNumberError(uy1, col::length, length.error());
        e.lengthBefore = formatShortest(*total - *length);
    }

    e.baseVoltage = baseVoltageForSystem(e.system, std::move(e.baseVoltage));

    // The second system leaves the trunk at "┌┌┘" and at its own first trunk row, the "│　" of
    // system 2 directly below system 1's last row.
    const std::string_view g = sheet.cell(uy1, col::glyph);
    const bool system2Start = g == glyph::trunk && uy1 > 0 &&
                              sheet.cell(uy1 - 1, col::systemNumber) == "1" &&
                              sheet.cell(uy1, col::systemNumber) == "2";
    start.secondSystemStart = g == glyph::firstTrunkTwo || system2Start;

    e.nameNumber.clear();
    e.nameSuffix.clear();
    return start;
}

FeederWriteResult writeSingleFeeder(Sheet& sheet, int uy1, const FeederEntry& entry, int kansenno,
                                    BlockRange lastRange) {
    FeederWriteResult result{lastRange, kansenno};
    if (!isRow(sheet, uy1))
        return {lastRange, kansenno, noSuchRowError(uy1)};
    if (isBlank(sheet.cell(uy1, col::number))) {
        sheet.setCell(uy1, col::number, std::to_string(result.kansenno));
        sheet.setCell(uy1, col::feederNumber, std::to_string(result.kansenno));
        ++result.kansenno;
        sheet.insertRows(sheet.rowCount(), 1);
    }
    writeSingleRowCells(sheet, uy1, entry);
    if (entry.name.empty())
        sheet.setCell(uy1, col::loadName, "L" + std::to_string(result.kansenno));
    sheet.setCell(uy1, col::verdict, "");
    renumberFeeders(sheet);
    sheet.setCell(uy1, col::mark, "1");
    sheet.setCell(uy1, col::blockRows, "1");
    if (stillOneBlock(sheet, lastRange))
        result.status = checkBranchProtection(sheet, lastRange.s1, lastRange.e1);
    return result;
}

FeederWriteResult buildResidentialBlock(Sheet& sheet, int uy1, const FeederEntry& e, int kansenno,
                                        const SupplyChoice& supply) {
    FeederWriteResult result{{}, kansenno};
    if (!isRow(sheet, uy1))
        return {{}, kansenno, noSuchRowError(uy1)};
    const int head = uy1;
    const bool two = e.systems == 2;

    const auto count1 = readBranchCount(e.branchesSystem1, "2", head, "幹線からの分岐数（1系統）");
    if (!count1)
        return {{}, kansenno, count1.error()};
    const auto count2 = readBranchCount(e.branchesSystem2, "0", head, "幹線からの分岐数（2系統）");
    if (two && !count2)
        return {{}, kansenno, count2.error()};
    // A system without branches would leave the tree without its closing branch (and with no
    // branch at all, the last-branch glyph on the head row); every system has one at least.
    const int b1 = std::max(1, *count1);
    const int b2 = two ? std::max(1, *count2) : 0;
    const int m = std::max(2, b1 + b2);

    // Room: 2m rows below the head row, made when any of them is in use.
    bool inUse = false;
    for (int r = head + 1; r <= head + 2 * m && r < sheet.rowCount(); ++r)
        inUse = inUse || !isBlank(sheet.cell(r, col::glyph));
    if (inUse)
        sheet.insertRows(head + 1, 2 * m);
    // The grid grows by a row for the head, two for every branch and one for a new number.
    const bool newNumber = isBlank(sheet.cell(head, col::number));
    sheet.insertRows(sheet.rowCount(), 1 + 2 * (b1 + b2) + (newNumber ? 1 : 0));

    int s = head;
    for (int j = 1; j <= (two ? 2 : 1); ++j) {
        const int branches = j == 1 ? b1 : b2;
        const std::string system = std::to_string(j);
        for (int i = 1; i <= branches; ++i) {
            if (j == 1 && i == 1) {
                sheet.setCell(s, col::name, e.name);
                sheet.setCell(s, col::system, e.trunkSystem);
                sheet.setCell(s, col::voltage, e.trunkVoltage);
                sheet.setCell(s, col::breaker, e.trunkBreaker);
                sheet.setCell(s, col::length, e.trunkLength);
                sheet.setCell(s, col::loadName,
                              e.name.empty() ? "L" + std::to_string(result.kansenno) : e.name);
                sheet.setCell(s, col::mainBreaker, e.dwellingMainBreaker);
                sheet.setCell(s, col::designCurrent, e.trunkDesignCurrent);
                sheet.setCell(s, col::powerFactor, e.powerFactor);
                sheet.setCell(s, col::cable, e.cable);
                sheet.setCell(s, col::method, e.method);
                sheet.setCell(s, col::allowableCurrent, e.allowableCurrent);
                sheet.setCell(s, col::impedance, e.impedance);
                sheet.setCell(s, col::singleDrop, e.voltageDrop);
                sheet.setCell(s, col::allowableDrop, e.allowableDrop);
                sheet.setCell(s, col::sizeKey, e.sizeKey);
                sheet.setCell(s, col::verdict, "");
                sheet.setCell(s, col::glyph, std::string(glyph::head));
                sheet.setCell(s + 1, col::glyph,
                              std::string(two ? glyph::firstTrunkTwo : glyph::firstTrunk));
                sheet.setCell(s + 1, col::loadName, "分岐点");
            }
            if (j == 2 && i == 1) {
                sheet.setCell(s + 1, col::glyph, std::string(glyph::trunk));
                sheet.setCell(s + 1, col::systemNumber, "2");
            }
            // Trunk row up to the branch point; the trunk takes the feeder's cable.
            const int trunk = s + 1;
            sheet.setCell(trunk, col::length, e.lengthBetweenBranches);
            if (i != 1) {
                sheet.setCell(trunk, col::glyph,
                              std::string(two && j == 1 ? glyph::trunkTwo : glyph::trunk));
                sheet.setCell(trunk, col::loadName, "分岐間");
            }
            sheet.setCell(trunk, col::powerFactor, e.powerFactor);
            sheet.setCell(trunk, col::cable, e.cable);
            sheet.setCell(trunk, col::method, e.method);
            sheet.setCell(trunk, col::allowableCurrent, e.allowableCurrent);
            sheet.setCell(trunk, col::impedance, e.impedance);
            sheet.setCell(trunk, col::sizeKey, e.sizeKey);
            sheet.setCell(trunk, col::systemNumber, system);
            sheet.setCell(head, col::verdict, "");
            // Branch row to one dwelling; its length and cable come later from the branch
            // dialog.
            const int branch = s + 2;
            sheet.setCell(branch, col::glyph,
                          std::string(two && j == 1 ? glyph::branchTwo : glyph::branch));
            sheet.setCell(branch, col::mainBreaker, e.dwellingMainBreaker);
            sheet.setCell(branch, col::designCurrent, e.dwellingCurrent);
            sheet.setCell(branch, col::powerFactor, e.powerFactor);
            sheet.setCell(branch, col::systemNumber, system);
            s += 2;
        }
        sheet.setCell(s, col::glyph,
                      std::string(two && j == 1 ? glyph::lastBranchTwo : glyph::lastBranch));
        if (isBlank(sheet.cell(head, col::number))) {
            sheet.setCell(head, col::number, std::to_string(result.kansenno));
            sheet.setCell(head, col::feederNumber, std::to_string(result.kansenno));
            ++result.kansenno;
        }
    }

    renumberFeeders(sheet);
    result.range = findFeederRange(sheet, head);
    // The row count does not depend on the recalculation; the paging needs it even when the
    // recalculation stops.
    recordBlockRows(sheet, result.range);
    result.status = recalculateBlock(sheet, result.range.s1, result.range.e1, supply);
    return result;
}

FeederWriteResult writeFeederDialogResult(Sheet& sheet, int uy1, int patan,
                                          const FeederEntry& entry, int kansenno,
                                          BlockRange lastRange, const SupplyChoice& supply) {
    if (patan == 1)
        return writeSingleFeeder(sheet, uy1, entry, kansenno, lastRange);
    if (patan == 2)
        return buildResidentialBlock(sheet, uy1, entry, kansenno, supply);
    return {lastRange, kansenno};
}

BranchWriteResult writeBranchDialogResult(Sheet& sheet, int uy1, const BranchEntry& e,
                                          const SupplyChoice& supply) {
    if (!isRow(sheet, uy1))
        return {{}, noSuchRowError(uy1)};
    if (isBlank(sheet.cell(uy1, col::feederNumber)))
        return {{}, Error{std::to_string(uy1 + 1) + " 行目はどの幹線にも属していません。"}};
    BranchWriteResult result{findFeederRange(sheet, uy1)};
    const BlockRange range = result.range;
    if (range.s1 < 0 || range.s1 > uy1 || range.e1 < uy1 || range.e1 >= sheet.rowCount()) {
        result.status = Error{std::to_string(uy1 + 1) +
                              " 行目の幹線の先頭行が見つかりません。幹線を入力し直してください。"};
        return result;
    }
    const RowKind kind = rowKind(sheet.cell(uy1, col::glyph));

    // Everything that can refuse is checked before the first cell is written.
    std::int64_t number = 0;
    if (e.sameDataBelow && !e.nameNumber.empty()) {
        const auto start = readInteger(e.nameNumber);
        if (!start) {
            result.status = notAnIntegerError(uy1, "負荷名称に付ける番号", e.nameNumber);
            return result;
        }
        number = *start;
    }
    // The recalculation may still stop at a cell of the block that is not a number; the block
    // then goes back to what it was, so the sheet never holds half an edit.
    std::vector<Row> before;
    for (int r = range.s1; r <= range.e1; ++r)
        before.push_back(sheet.row(r));

    sheet.setCell(range.s1, col::name, e.feederName);
    sheet.setCell(range.s1, col::system, e.system);
    sheet.setCell(range.s1, col::voltage, e.voltage);
    sheet.setCell(range.s1, col::breaker, e.feederBreaker);

    if (kind == RowKind::Head || !e.sameDataBelow) {
        sheet.setCell(uy1, col::glyph, e.glyph);
        if (!e.keepLoadNames)
            sheet.setCell(
                uy1, col::loadName,
                e.nameNumber.empty() ? e.loadName : e.loadName + e.nameNumber + e.nameSuffix);
        writeBranchRowCells(sheet, uy1, e);
        // A row without a chosen cable has no impedance to sum; the placeholder would stop every
        // later recalculation of the block.
        if (e.impedance == kImpedancePlaceholder)
            sheet.setCell(uy1, col::impedance, "0");
        sheet.setCell(uy1, col::remarks, e.remarks);
        sheet.setCell(uy1, col::verdict, "");
    }

    if (e.sameDataBelow) {
        sheet.setCell(uy1, col::glyph, e.glyph);
        const std::string edited = std::string(sheet.cell(uy1, col::glyph));
        for (int r = uy1; r <= range.e1; ++r) {
            const std::string_view g = sheet.cell(r, col::glyph);
            if (g != edited && !(kind == RowKind::Branch && classifyRow(g).isBranch()))
                continue;
            if (!e.keepLoadNames) {
                if (e.nameNumber.empty()) {
                    sheet.setCell(r, col::loadName, e.loadName);
                } else {
                    sheet.setCell(r, col::loadName,
                                  e.loadName + std::to_string(number) + e.nameSuffix);
                    ++number;
                }
            }
            writeBranchRowCells(sheet, r, e);
            if (e.impedance == kImpedancePlaceholder)
                sheet.setCell(r, col::impedance, "0");
        }
        sheet.setCell(uy1, col::verdict, "");
    }

    recordBlockRows(sheet, range);
    result.status = recalculateBlock(sheet, range.s1, range.e1, supply);
    if (!result.status)
        for (int r = range.s1; r <= range.e1; ++r)
            sheet.setRow(r, before[static_cast<std::size_t>(r - range.s1)]);
    return result;
}

}  // namespace wirelark
