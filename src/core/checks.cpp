#include "checks.h"

#include <algorithm>
#include <optional>

#include "number_text.h"
#include "row_kind.h"

namespace wirelark {

namespace {

// Where a tap first enters the 35 % zone, the 8 m it may run are counted from the end of the
// piece before it, provided that piece is the same cable (the same size key). The piece before
// a first trunk row is the feeder itself; before a further trunk row it is the previous trunk
// row, two rows up, past the branch between them.
Expected<std::optional<double>> eightMetreLimit(const Sheet& sheet, int row, RowKind c) {
    const int before = c == RowKind::FirstTrunk ? row - 1 : row - 2;
    if (before < 0 || sheet.cell(before, col::sizeKey) != sheet.cell(row, col::sizeKey))
        return std::optional<double>();
    auto start = cellNumber(sheet, before, col::cumulativeLength);
    if (!start)
        return start.error();
    if (!*start)
        return std::optional<double>();
    return std::optional<double>(**start + 8.0);
}

// a < b for two cells that both hold numbers; nothing when either is blank or not a number, so
// that a check on such a cell is skipped.
std::optional<bool> cellLess(std::string_view a, std::string_view b) {
    if (isBlank(a) || isBlank(b))
        return std::nullopt;
    auto x = readNumber(a);
    if (!x)
        return std::nullopt;
    auto y = readNumber(b);
    if (!y)
        return std::nullopt;
    return *x < *y;
}

std::string nameFrame(std::string_view name) {
    if (isBlank(name))
        return {};
    return "   幹線名【 " + std::string(name) + " 】　";
}

std::string findingTail(std::string_view nameFramed, std::string_view loadName) {
    return std::string(nameFramed) + "   負荷名称【 " + std::string(loadName) + " 】" +
           "　※確認してください。";
}

}  // namespace

Status checkBranchProtection(Sheet& sheet, int s1, int e1) {
    const int first = std::max(s1, 0);
    const int last = std::min(e1, sheet.rowCount() - 1);
    if (last < first)
        return success();

    auto breaker = cellNumber(sheet, first, col::breaker);
    if (!breaker)
        return breaker.error();
    auto feederCable = cellNumber(sheet, first, col::allowableCurrent);
    if (!feederCable)
        return feederCable.error();
    double protection = breaker->value_or(0.0);
    const double feederAllowable = feederCable->value_or(0.0);

    std::optional<double> limit8m;
    double length = 0.0;
    double allowable = 0.0;
    for (int q = first; q <= last; ++q) {
        const std::string& g = sheet.cell(q, col::glyph);
        const RowClass rc = classifyRow(g);
        const RowKind c = rc.kind;
        auto ownLength = cellNumber(sheet, q, col::length);
        if (!ownLength)
            return ownLength.error();
        if (*ownLength)
            length = **ownLength;
        auto ownAllowable = cellNumber(sheet, q, col::allowableCurrent);
        if (!ownAllowable)
            return ownAllowable.error();
        if (*ownAllowable)
            allowable = **ownAllowable;

        const double reference = std::min(protection, feederAllowable);
        const double a55 = roundHalfEven(reference * 0.55);
        const double a35 = roundHalfEven(reference * 0.35);

        // A breaker where the trunk is tapped protects what follows it.
        if ((c == RowKind::FirstTrunk && rc.twoSystemForm) ||
            (c == RowKind::Trunk && !rc.twoSystemForm)) {
            auto tap = cellNumber(sheet, q, col::mainBreaker);
            if (!tap)
                return tap.error();
            if (*tap)
                protection = **tap;
        }

        if (!*ownLength)
            continue;  // a row without a length keeps its verdict
        std::string_view v;
        bool zone35 = false;
        if (allowable < a35)
            v = verdict::below35;
        if (a35 <= allowable && allowable < a55) {
            zone35 = true;
            v = length <= 8.0 ? verdict::from35Within8m : verdict::from35Beyond8m;
        }
        if (allowable >= a55)
            v = verdict::from55;
        if ((c == RowKind::Branch || c == RowKind::LastBranch) && length <= 3.0)
            v = verdict::branchWithin3m;
        if ((c == RowKind::FirstTrunk || c == RowKind::Trunk) && zone35) {
            if (!limit8m) {
                auto l = eightMetreLimit(sheet, q, c);
                if (!l)
                    return l.error();
                limit8m = *l;
            }
            if (limit8m) {
                auto reach = cellNumber(sheet, q, col::cumulativeLength);
                if (!reach)
                    return reach.error();
                if (*reach && **reach > *limit8m)
                    v = verdict::trunkBeyond8m;
            }
        }
        sheet.setCell(q, col::verdict, std::string(v));
    }
    return success();
}

CellMarks::Columns CellMarks::redColumns(int row) const {
    const int i = row - m_firstRow;
    if (i < 0 || i >= rowCount())
        return {};
    return m_rows[static_cast<std::size_t>(i)];
}

bool CellMarks::isRed(int row, int column) const {
    if (column < 0 || column >= kColumnCount)
        return false;
    return redColumns(row).test(static_cast<std::size_t>(column));
}

CellMarks applyCellChecks(Sheet& sheet, int firstRow, int lastRow) {
    const int first = std::max(firstRow, 0);
    const int last = std::min(lastRow, sheet.rowCount() - 1);
    if (last < first)
        return CellMarks(first, {});
    std::vector<CellMarks::Columns> marks(static_cast<std::size_t>(last - first + 1));

    for (int r = first; r <= last; ++r) {
        Row& row = sheet.row(r);
        CellMarks::Columns& red = marks[static_cast<std::size_t>(r - first)];
        // The verdict as it stands while the row is drawn from left to right; it points into
        // the cell or at a constant and is written back once at the end.
        std::string_view current = row[col::verdict];

        if (cellLess(row[col::breaker], row[col::mainBreaker]).value_or(false)) {
            red.set(col::breaker);
            current = verdict::breakerBelowMain;
        }
        if (current == verdict::bareFailure || current == verdict::from35Beyond8m ||
            current == verdict::trunkBeyond8m)
            red.set(col::length);
        if (cellLess(row[col::mainBreaker], row[col::designCurrent]).value_or(false)) {
            red.set(col::mainBreaker);
            current = verdict::mainBelowDesign;
        }
        if (current == verdict::bareFailure || current == verdict::below35)
            red.set(col::cable);
        if (cellLess(row[col::allowableDrop], row[col::singleDrop]).value_or(false)) {
            red.set(col::singleDrop);
            current = verdict::dropTooLarge;
        }
        if (cellLess(row[col::allowableDrop], row[col::summedDrop]).value_or(false)) {
            red.set(col::summedDrop);
            current = verdict::dropTooLarge;
        }
        if (isFailingVerdict(current))
            red.set(col::verdict);
        if (current != row[col::verdict])
            row[col::verdict] = std::string(current);
    }
    return CellMarks(first, std::move(marks));
}

Expected<std::vector<VerdictFinding>> verdictSummary(const Sheet& sheet) {
    std::vector<VerdictFinding> findings;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        const Row& row = sheet.row(r);
        const std::string name = nameFrame(row[col::name]);
        if (isFailingVerdict(row[col::verdict]))
            findings.push_back(
                {r, VerdictFinding::Kind::Verdict,
                 "エラー:　" + row[col::verdict] + findingTail(name, row[col::loadName])});

        auto allowed = cellNumber(sheet, r, col::allowableDrop);
        if (!allowed)
            return allowed.error();
        if (!*allowed)
            continue;
        // The drop summed from the origin where the row has one, else the row's own drop.
        const int dropColumn = isBlank(row[col::summedDrop]) ? col::singleDrop : col::summedDrop;
        auto drop = cellNumber(sheet, r, dropColumn);
        if (!drop)
            return drop.error();
        if (*drop && **drop > **allowed)
            findings.push_back(
                {r, VerdictFinding::Kind::VoltageDrop,
                 "電圧降下:　" + row[dropColumn] + " V " + findingTail(name, row[col::loadName])});
    }
    return findings;
}

}  // namespace wirelark
